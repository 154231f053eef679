#pragma once

#include <QColor>
#include <QDialog>
#include <QFrame>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QWidget;

namespace vokari {
class ClsCfsIni;
}

namespace vokari::ui {

// One of the sixteen player colour boxes: a patch of colour, framed when it is the player's.
class PlayerColorBox : public QFrame {
public:
    PlayerColorBox(int index, std::function<void(int)> onClick, QWidget* parent);
    int index() const { return index_; }
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    bool hasBorder() const { return border_; }
    void setBorder(bool border);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int index_;
    std::function<void(int)> onClick_;
    QColor color_;
    bool border_ = false;
};

// "CFS設定": the game's settings that the game offers no screen for. Edits go to the model at
// once and reach the game's file only through cmdApply or CmdOk, which write just the changed
// settings.
class frmCfsSetting : public QDialog {
    Q_OBJECT

public:
    // pVer: the game chosen in the launcher.
    explicit frmCfsSetting(int16_t pVer, QWidget* parent = nullptr);
    ~frmCfsSetting() override;

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setApplyEnabled(bool flag);
    void showPage(int index);
    void showValues();
    void selectColor(int index);
    void setPalette();

    void editSetting(const char* section, const char* key, const std::string& value);
    void takePlayerName();
    void showUnsavableCharacters();
    bool takeCollisionSec();
    void askForNumber();
    bool takeFocusedText();
    bool save();

    std::unique_ptr<ClsCfsIni> ini_;
    int16_t version_;
    bool applyEnabled_ = false;
    bool loaded_ = false;
    bool numberMessagePending_ = false;

    QTabBar* tbsOptions_ = nullptr;
    QWidget* PctMain_ = nullptr;
    QWidget* PctMulti_ = nullptr;
    QCheckBox* ChkShowLogo_ = nullptr;
    QCheckBox* ChkShowMovie_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLineEdit* TxtPlayerName_ = nullptr;
    QLabel* LblPlayerNameChars_ = nullptr;
    QLabel* Label2_ = nullptr;
    PlayerColorBox* Pct_MC_[16] = {};
    QLabel* Label3_ = nullptr;
    QLineEdit* TxtCollisionSec_ = nullptr;
    QLabel* Label4_ = nullptr;
    QCheckBox* ChkDspCheatWarn_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
    QPushButton* CmdOk_ = nullptr;
    QPushButton* CmdCancel_ = nullptr;
};

} // namespace vokari::ui
