#pragma once

#include <QDialog>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vokari {
class QcPlane;
}

namespace vokari::ui {

// "航空機編集": shows one quick-combat entry and lets the user make it a fighter or a bomber.
// Confirming changes the entry itself, shared by every group that holds its folder.
class QcPlaneEditDialog : public QDialog {
    Q_OBJECT

public:
    explicit QcPlaneEditDialog(QWidget* parent = nullptr);
    ~QcPlaneEditDialog() override;

    // Before showing: the entry to show.
    void loadQCPlane(QcPlane& entry);
    bool isPlaneSet() const { return isPlaneSet_; }

    void done(int result) override;

private:
    void showType();
    int16_t selectedType() const;
    void setPlane();

    QcPlane* entry_ = nullptr;
    bool isPlaneSet_ = false;

    QLabel* aircraftPathCaption_ = nullptr;
    QLabel* pathLabel_ = nullptr;
    QLabel* defineName1Label_ = nullptr;
    QLabel* defineName1Edit_ = nullptr;
    QLabel* defineName2Label_ = nullptr;
    QLabel* defineName2Edit_ = nullptr;
    QGroupBox* typeFrame_ = nullptr;
    QRadioButton* typeFighterOption_ = nullptr;
    QRadioButton* typeBomberOption_ = nullptr;
    QPushButton* setButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace vokari::ui
