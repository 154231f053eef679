#include "gui/installer/find_files_dialog.h"

#include "gui/kit/message_box_dialog.h"
#include "installer/folder_search.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vokari::ui {

FrmFindFiles::FrmFindFiles(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmFindFiles"));
    setWindowTitle(tr("ファイル検索"));
    LblSrcDir = new QLabel(this);
    LblSrcDir->setObjectName(QStringLiteral("LblSrcDir"));
    LstSrcFiles = new QTreeWidget(this);
    LstSrcFiles->setObjectName(QStringLiteral("LstSrcFiles"));
    LstSrcFiles->setRootIsDecorated(false);
    LstSrcFiles->setColumnCount(1);
    LstSrcFiles->setHeaderLabels({tr("ファイル名")});
    LstSrcFiles->setColumnWidth(0, 400);
    CmdSet = new QPushButton(tr("設 定"), this);
    CmdSet->setObjectName(QStringLiteral("CmdSet"));
    CmdSet->setDefault(true);
    CmdCancel = new QPushButton(tr("キャンセル"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    connect(CmdSet, &QPushButton::clicked, this, &FrmFindFiles::setResult);
    connect(LstSrcFiles, &QTreeWidget::itemDoubleClicked, this, &FrmFindFiles::setResult);
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        result_.clear();
        reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdSet);
    buttons->addWidget(CmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblSrcDir);
    layout->addWidget(LstSrcFiles);
    layout->addLayout(buttons);
    resize(440, 320);
}

void FrmFindFiles::initFindFiles(const QString& pFrmCaption, bool pBoolMultiSelect,
                                 const std::string& pSrcPath, const std::string& pSrcFile) {
    searched_ = false;
    setWindowTitle(pFrmCaption);
    LstSrcFiles->setSelectionMode(pBoolMultiSelect ? QAbstractItemView::ExtendedSelection
                                                   : QAbstractItemView::SingleSelection);
    result_.clear();
    srcPath_ = pSrcPath;
    srcFile_ = pSrcFile;
    LstSrcFiles->clear();
}

void FrmFindFiles::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once the dialog is on screen, so the folders searched can be shown.
    if (!searched_) {
        searched_ = true;
        QTimer::singleShot(0, this, &FrmFindFiles::searchOnce);
    }
}

void FrmFindFiles::searchOnce() {
    const std::vector<std::string> hits =
        findFilesByName(srcPath_, srcFile_, [this](const std::string& folder) {
            LblSrcDir->setText(qs(folder));
            LblSrcDir->repaint();
        });
    for (const std::string& hit : hits) {
        auto* row = new QTreeWidgetItem(LstSrcFiles, QStringList{qs(hit)});
        row->setData(0, Qt::UserRole, qs(hit));
    }
    LblSrcDir->setText(tr("検索結果"));
}

void FrmFindFiles::setResult() {
    const QTreeWidgetItem* row = LstSrcFiles->currentItem();
    if (LstSrcFiles->topLevelItemCount() == 0)
        result_.clear();
    else if (row)
        result_ = us(row->data(0, Qt::UserRole).toString());
    accept();
}

} // namespace vokari::ui
