#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vokari {
class QcGroup;
}

namespace vokari::ui {

// "グループ編集": names one quick-combat group. Confirming changes the group itself; the editor
// reads isGroupSet afterwards.
class QcGroupEditDialog : public QDialog {
    Q_OBJECT

public:
    explicit QcGroupEditDialog(QWidget* parent = nullptr);
    ~QcGroupEditDialog() override;

    // Before showing: the group to name, shown by the text it stands for.
    void loadQCGroup(QcGroup& group);
    bool isGroupSet() const { return isGroupSet_; }

    void done(int result) override;

private:
    void setGroup();

    QcGroup* group_ = nullptr;
    bool isGroupSet_ = false;
    bool isAlias_ = false;

    QLabel* optionName2Label_ = nullptr;
    QLineEdit* optionName2Edit_ = nullptr;
    QPushButton* setButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace vokari::ui
