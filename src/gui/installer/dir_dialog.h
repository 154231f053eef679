#pragma once

#include <QDialog>
#include <string>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vokari {
struct FolderNode;
}

namespace vokari::ui {

// The directory picker: the folder tree below a root folder, read whole before it shows; gives
// the chosen folder relative to the root.
class DirDialog : public QDialog {
    Q_OBJECT
public:
    explicit DirDialog(QWidget* parent = nullptr);

    // rootPath: a Windows folder path ending in a backslash; rootText: the root node's text.
    void load(const std::string& rootPath, const QString& rootText, const QString& caption);
    // True unless the dialog was closed with OK.
    bool isCancelled() const { return cancel_; }
    // The selected folder relative to the root, names joined by backslashes without a trailing
    // one; empty for the root itself.
    std::string selectedPath() const;

private:
    void fillFolderNode(QTreeWidgetItem* node, const std::vector<FolderNode>& children);

    QString rootText_;
    bool cancel_ = true;
    QTreeWidget* dirTree_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace vokari::ui
