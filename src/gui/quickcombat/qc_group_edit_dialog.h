#pragma once

#include <QDialog>
#include <string>

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
    // Before showing, instead: a name for a group not made yet. The box starts empty, and
    // confirming changes nothing but name().
    void loadNewQCGroup();
    bool isGroupSet() const { return isGroupSet_; }
    // The text confirmed.
    const std::string& name() const { return name_; }

    void done(int result) override;

private:
    void setGroup();

    QcGroup* group_ = nullptr;
    bool isGroupSet_ = false;
    bool isAlias_ = false;
    std::string name_;

    QLabel* optionName2Label_ = nullptr;
    QLineEdit* optionName2Edit_ = nullptr;
    QPushButton* setButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace vokari::ui
