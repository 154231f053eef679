#pragma once

#include "gui/kit/tool_window.h"
#include "platform/file_fingerprint.h"

#include <QColor>
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
class CfsIni;
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
// once and reach the game's file only through cmdApply or okButton_, which write just the changed
// settings.
class CfsSettingWindow : public ToolWindow {
    Q_OBJECT

public:
    // version: the game chosen in the launcher.
    explicit CfsSettingWindow(int16_t version, QWidget* parent = nullptr);
    ~CfsSettingWindow() override;

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
    // False when the file changed since it was read and the user keeps it.
    bool mayWrite();

    std::unique_ptr<CfsIni> ini_;
    // The file as read or last saved: someone else's write since is asked about at saving.
    platform::FileFingerprint fileRead_;
    int16_t version_;
    bool applyEnabled_ = false;
    bool loaded_ = false;
    bool numberMessagePending_ = false;

    QTabBar* tbsOptions_ = nullptr;
    QWidget* mainPicture_ = nullptr;
    QWidget* multiPicture_ = nullptr;
    QCheckBox* showLogoCheck_ = nullptr;
    QCheckBox* showMovieCheck_ = nullptr;
    QLabel* playerNameLabel_ = nullptr;
    QLineEdit* playerNameEdit_ = nullptr;
    QLabel* playerNameCharsLabel_ = nullptr;
    QLabel* playerColorLabel_ = nullptr;
    PlayerColorBox* mcPicture_[16] = {};
    QLabel* collisionSecLabel_ = nullptr;
    QLineEdit* collisionSecEdit_ = nullptr;
    QLabel* collisionDefaultLabel_ = nullptr;
    QCheckBox* dspCheatWarnCheck_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace vokari::ui
