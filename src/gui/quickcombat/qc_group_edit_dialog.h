#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vokari {
class ClsQCGrp;
}

namespace vokari::ui {

// "グループ編集": names one quick-combat group. Confirming changes the group itself; the editor
// reads boolSetGroup afterwards.
class FrmQCGroupEdit : public QDialog {
    Q_OBJECT

public:
    explicit FrmQCGroupEdit(QWidget* parent = nullptr);
    ~FrmQCGroupEdit() override;

    // Before showing: the group to name, shown by the text it stands for.
    void loadQCGroup(ClsQCGrp& group);
    bool boolSetGroup() const { return boolSetGroup_; }

    void done(int result) override;

private:
    void setGroup();

    ClsQCGrp* group_ = nullptr;
    bool boolSetGroup_ = false;
    bool isAlias_ = false;

    QLabel* LblOptionName2 = nullptr;
    QLineEdit* TxtOptionName2 = nullptr;
    QPushButton* CmdSet = nullptr;
    QPushButton* CmdCancel = nullptr;
};

} // namespace vokari::ui
