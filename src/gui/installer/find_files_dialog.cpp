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

FindFilesDialog::FindFilesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmFindFiles"));
    setWindowTitle(tr("ファイル検索"));
    srcDirLabel_ = new QLabel(this);
    srcDirLabel_->setObjectName(QStringLiteral("LblSrcDir"));
    srcFileList_ = new QTreeWidget(this);
    srcFileList_->setObjectName(QStringLiteral("LstSrcFiles"));
    srcFileList_->setRootIsDecorated(false);
    srcFileList_->setColumnCount(1);
    srcFileList_->setHeaderLabels({tr("ファイル名")});
    srcFileList_->setColumnWidth(0, 400);
    setButton_ = new QPushButton(tr("設 定"), this);
    setButton_->setObjectName(QStringLiteral("CmdSet"));
    setButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("キャンセル"), this);
    cancelButton_->setObjectName(QStringLiteral("CmdCancel"));
    connect(setButton_, &QPushButton::clicked, this, &FindFilesDialog::setResult);
    connect(srcFileList_, &QTreeWidget::itemDoubleClicked, this, &FindFilesDialog::setResult);
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        result_.clear();
        reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(setButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(srcDirLabel_);
    layout->addWidget(srcFileList_);
    layout->addLayout(buttons);
    resize(440, 320);
}

void FindFilesDialog::initFindFiles(const QString& windowCaption, bool multiSelect,
                                    const std::string& srcPath, const std::string& srcFile) {
    searched_ = false;
    setWindowTitle(windowCaption);
    srcFileList_->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                               : QAbstractItemView::SingleSelection);
    result_.clear();
    srcPath_ = srcPath;
    srcFile_ = srcFile;
    srcFileList_->clear();
}

void FindFilesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once the dialog is on screen, so the folders searched can be shown.
    if (!searched_) {
        searched_ = true;
        QTimer::singleShot(0, this, &FindFilesDialog::searchOnce);
    }
}

void FindFilesDialog::searchOnce() {
    const std::vector<std::string> hits =
        findFilesByName(srcPath_, srcFile_, [this](const std::string& folder) {
            srcDirLabel_->setText(qs(folder));
            srcDirLabel_->repaint();
        });
    for (const std::string& hit : hits) {
        auto* row = new QTreeWidgetItem(srcFileList_, QStringList{qs(hit)});
        row->setData(0, Qt::UserRole, qs(hit));
    }
    srcDirLabel_->setText(tr("検索結果"));
}

void FindFilesDialog::setResult() {
    const QTreeWidgetItem* row = srcFileList_->currentItem();
    if (srcFileList_->topLevelItemCount() == 0)
        result_.clear();
    else if (row)
        result_ = us(row->data(0, Qt::UserRole).toString());
    accept();
}

} // namespace vokari::ui
