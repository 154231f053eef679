#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vokari::ui {

// The file finder: every file of one name in a folder tree, searched once when the dialog is
// first shown; gives the chosen hit relative to the root.
class FindFilesDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindFilesDialog(QWidget* parent = nullptr);

    // srcPath: the root, a Windows folder path ending in a backslash.
    void initFindFiles(const QString& windowCaption, bool multiSelect, const std::string& srcPath,
                       const std::string& srcFile);
    // The chosen hit relative to the root, or empty.
    const std::string& resultFindFile() const { return result_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void searchOnce();
    void setResult();

    bool searched_ = false;
    std::string srcPath_;
    std::string srcFile_;
    std::string result_;
    QTreeWidget* srcFileList_;
    QLabel* srcDirLabel_;
    QPushButton* setButton_;
    QPushButton* cancelButton_;
};

} // namespace vokari::ui
