#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vokari::ui {

// The file finder: every file of one name in a folder tree, searched once when the dialog is
// first shown; gives the chosen hit relative to the root.
class FrmFindFiles : public QDialog {
    Q_OBJECT
public:
    explicit FrmFindFiles(QWidget* parent = nullptr);

    // pSrcPath: the root, a Windows folder path ending in a backslash.
    void initFindFiles(const QString& pFrmCaption, bool pBoolMultiSelect,
                       const std::string& pSrcPath, const std::string& pSrcFile);
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
    QTreeWidget* LstSrcFiles;
    QLabel* LblSrcDir;
    QPushButton* CmdSet;
    QPushButton* CmdCancel;
};

} // namespace vokari::ui
