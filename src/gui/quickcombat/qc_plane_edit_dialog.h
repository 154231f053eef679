#pragma once

#include <QDialog>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vokari {
class ClsQCPlane;
}

namespace vokari::ui {

// "航空機編集": shows one quick-combat entry and lets the user make it a fighter or a bomber.
// Confirming changes the entry itself, shared by every group that holds its folder.
class FrmQCPlaneEdit : public QDialog {
    Q_OBJECT

public:
    explicit FrmQCPlaneEdit(QWidget* parent = nullptr);
    ~FrmQCPlaneEdit() override;

    // Before showing: the entry to show.
    void loadQCPlane(ClsQCPlane& entry);
    bool boolSetPlane() const { return boolSetPlane_; }

    void done(int result) override;

private:
    void showType();
    int16_t selectedType() const;
    void setPlane();

    ClsQCPlane* entry_ = nullptr;
    bool boolSetPlane_ = false;

    QLabel* Label1 = nullptr;
    QLabel* LblPath = nullptr;
    QLabel* LblDefineName1 = nullptr;
    QLabel* TxtDefineName1 = nullptr;
    QLabel* LblDefineName2 = nullptr;
    QLabel* TxtDefineName2 = nullptr;
    QGroupBox* FrameType = nullptr;
    QRadioButton* OptTypeFighter = nullptr;
    QRadioButton* OptTypeBomber = nullptr;
    QPushButton* CmdSet = nullptr;
    QPushButton* CmdCancel = nullptr;
};

} // namespace vokari::ui
