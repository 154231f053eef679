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
class FrmDirDialog : public QDialog {
    Q_OBJECT
public:
    explicit FrmDirDialog(QWidget* parent = nullptr);

    // pRootPath: a Windows folder path ending in a backslash; pRootText: the root node's text.
    void LoadFrmDirDialog(const std::string& pRootPath, const QString& pRootText,
                          const QString& pCaption);
    // True unless the dialog was closed with OK.
    bool BoolCancel() const { return cancel_; }
    // The selected folder relative to the root, names joined by backslashes without a trailing
    // one; empty for the root itself.
    std::string SelectedPath() const;

private:
    void fillFolderNode(QTreeWidgetItem* node, const std::vector<FolderNode>& children);

    QString rootText_;
    bool cancel_ = true;
    QTreeWidget* TViewDir;
    QPushButton* CmdOk;
    QPushButton* CmdCancel;
};

} // namespace vokari::ui
