#include "gui/installer/dir_dialog.h"

#include "gui/kit/message_box_dialog.h"
#include "installer/folder_search.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vokari::ui {

DirDialog::DirDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmDirDialog"));
    dirTree_ = new QTreeWidget(this);
    dirTree_->setObjectName(QStringLiteral("TViewDir"));
    dirTree_->setHeaderHidden(true);
    dirTree_->setColumnCount(1);
    dirTree_->setSelectionMode(QAbstractItemView::SingleSelection);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("CmdOk"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    cancelButton_->setObjectName(QStringLiteral("CmdCancel"));
    connect(okButton_, &QPushButton::clicked, this, [this] {
        cancel_ = false;
        accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        cancel_ = true;
        reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dirTree_);
    layout->addLayout(buttons);
    resize(360, 420);
}

void DirDialog::load(const std::string& rootPath, const QString& rootText, const QString& caption) {
    rootText_ = rootText;
    setWindowTitle(caption);
    dirTree_->clear();
    auto* root = new QTreeWidgetItem(dirTree_, QStringList{rootText});
    root->setData(0, Qt::UserRole, qs(rootPath));
    QIcon icon(style()->standardIcon(QStyle::SP_DirClosedIcon));
    icon.addPixmap(style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16), QIcon::Selected);
    root->setIcon(0, icon);
    fillFolderNode(root, readFolderTree(rootPath));
    root->setExpanded(true);
    dirTree_->setCurrentItem(root);
}

void DirDialog::fillFolderNode(QTreeWidgetItem* node, const std::vector<FolderNode>& children) {
    const std::string key = us(node->data(0, Qt::UserRole).toString());
    for (const FolderNode& folder : children) {
        auto* child = new QTreeWidgetItem(node, QStringList{qs(folder.name)});
        child->setData(0, Qt::UserRole, qs(key + folder.name + "\\"));
        child->setIcon(0, node->icon(0));
        fillFolderNode(child, folder.children);
    }
}

std::string DirDialog::selectedPath() const {
    const QTreeWidgetItem* node = dirTree_->currentItem();
    QStringList names;
    for (; node && node->parent(); node = node->parent())
        names.prepend(node->text(0));
    return us(names.join(QLatin1Char('\\')));
}

} // namespace vokari::ui
