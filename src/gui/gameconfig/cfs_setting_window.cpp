#include "gui/gameconfig/cfs_setting_window.h"

#include "common/prompt.h"
#include "gameconfig/cfs_ini.h"
#include "gameconfig/number_text.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "platform/codepage.h"
#include "platform/error.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

namespace vokari::ui {
namespace {

const char* const kCaption = QT_TRANSLATE_NOOP("vokari::ui::CfsSettingWindow", "CFS設定");
const QString kPlacementName = QStringLiteral("frmCfsSetting");

constexpr const char* kMain = "MAIN";
constexpr const char* kMulti = "MULTIPLAYER";

// Colours as "&HBBGGRR" texts: blue in the high byte, red in the low one.
const char* const kPaletteCfs1[16] = {
    "&HFF0000", "&H0000FF", "&H00FF00", "&HFFFF00", "&H734D31", "&H7B007B", "&H7B7D7B", "&H943021",
    "&H528239", "&H2945A5", "&H9CAA63", "&HBD9E52", "&H84A2BD", "&H293010", "&HCE9284", "&H007D7B"};
const char* const kPaletteCfs2[16] = {
    "&HE70008", "&H0030FF", "&H7BFFF7", "&HFFFF00", "&HFF00FF", "&H7300FF", "&HFF7D00", "&HA50029",
    "&H00FF00", "&HFF007B", "&H00FFA5", "&HFFCF00", "&HA57DFF", "&HC6FF00", "&HFFAE7B", "&H00FFFF"};

QColor colorFromText(const char* text) {
    const unsigned long value = std::stoul(std::string(text + 2), nullptr, 16);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

} // namespace

PlayerColorBox::PlayerColorBox(int index, std::function<void(int)> onClick, QWidget* parent)
    : QFrame(parent), index_(index), onClick_(std::move(onClick)),
      color_(palette().color(QPalette::Button)) {
    setObjectName(QStringLiteral("Pct_MC_%1").arg(index));
    setFixedSize(22, 22);
}

void PlayerColorBox::setColor(const QColor& color) {
    color_ = color;
    update();
}

void PlayerColorBox::setBorder(bool border) {
    border_ = border;
    update();
}

void PlayerColorBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The colour keeps a gap to the border, so the border shows on dark colours too.
    painter.fillRect(rect().adjusted(2, 2, -2, -2), color_);
    if (border_) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PlayerColorBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onClick_)
        onClick_(index_);
    QFrame::mousePressEvent(event);
}

CfsSettingWindow::CfsSettingWindow(int16_t version, QWidget* parent)
    : ToolWindow(kPlacementName, tr(kCaption), Frame::DialogBox, parent),
      ini_(std::make_unique<CfsIni>()), version_(version) {
    buildControls();

    WidgetPlacement designed(this, kPlacementName);
    designed.setWidthTwips(6240);
    designed.setHeightTwips(5295);
    restorePlacement(false);
    setFixedSize(size().expandedTo(minimumSizeHint()));

    try {
        ini_->setVersion(version_);
        // Taken first: a write while the settings are read shows as a change.
        if (!ini_->filePath().empty())
            fileRead_ = platform::fileFingerprint(ini_->filePath());
        ini_->readFile();
        loaded_ = true;
    } catch (const std::exception& e) {
        // Nothing to edit: a model that did not load must not be written back.
        showMessage(us(caption()),
                    joinLines({us(tr("設定ファイルを読み込めませんでした。")), us(failureText(e))}),
                    PromptIcon::Error);
        mainPicture_->setEnabled(false);
        multiPicture_->setEnabled(false);
        okButton_->setEnabled(false);
    }
    if (loaded_)
        showValues();
    setApplyEnabled(false);
    showPage(1);
    setPalette();
}

CfsSettingWindow::~CfsSettingWindow() = default;

void CfsSettingWindow::buildControls() {
    tbsOptions_ = new QTabBar(this);
    tbsOptions_->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions_->addTab(tr("基本設定"));
    tbsOptions_->setTabData(0, QStringLiteral("tabSetting"));
    tbsOptions_->addTab(tr("マルチプレーヤー"));
    tbsOptions_->setTabData(1, QStringLiteral("tabMulti"));
    tbsOptions_->setDrawBase(false);
    tbsOptions_->setExpanding(false);

    // Both pages sit in the same cell of the tab body; showPage shows one and hides the other.
    auto* body = new QFrame(this);
    body->setObjectName(QStringLiteral("tabBody"));
    body->setFrameShape(QFrame::StyledPanel);
    auto* bodyLayout = new QGridLayout(body);
    mainPicture_ = new QWidget(body);
    mainPicture_->setObjectName(QStringLiteral("PctMain"));
    multiPicture_ = new QWidget(body);
    multiPicture_->setObjectName(QStringLiteral("PctMulti"));
    bodyLayout->addWidget(mainPicture_, 0, 0);
    bodyLayout->addWidget(multiPicture_, 0, 0);

    showLogoCheck_ = new QCheckBox(tr("オープニングロゴを表示する"), mainPicture_);
    showLogoCheck_->setObjectName(QStringLiteral("ChkShowLogo"));
    showLogoCheck_->setToolTip(tr("CFS起動時に表示されるMicrosoft ロゴを有効／無効を設定します"));
    showMovieCheck_ = new QCheckBox(tr("オープニングムービーを表示する"), mainPicture_);
    showMovieCheck_->setObjectName(QStringLiteral("ChkShowMovie"));
    showMovieCheck_->setToolTip(tr("CFS起動時に表示されるムービーを有効／無効を設定します"));
    auto* mainLayout = new QVBoxLayout(mainPicture_);
    mainLayout->addWidget(showLogoCheck_);
    mainLayout->addWidget(showMovieCheck_);
    mainLayout->addStretch();

    playerNameLabel_ = new QLabel(tr("プレーヤー名"), multiPicture_);
    playerNameLabel_->setObjectName(QStringLiteral("Label1"));
    playerNameEdit_ = new QLineEdit(multiPicture_);
    playerNameEdit_->setObjectName(QStringLiteral("TxtPlayerName"));
    // A line break would split the key's line in the game's file.
    playerNameEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\r\\n]*")), playerNameEdit_));
    const QString nameTip = tr("プレーヤー名を設定します（CFS2でも初期表示されます）");
    playerNameLabel_->setToolTip(nameTip);
    playerNameEdit_->setToolTip(nameTip);
    // Says at once which typed characters the game's file cannot hold.
    playerNameCharsLabel_ = new QLabel(multiPicture_);
    playerNameCharsLabel_->setObjectName(QStringLiteral("LblPlayerNameChars"));
    playerNameCharsLabel_->setWordWrap(true);
    playerNameCharsLabel_->setVisible(false);
    connect(playerNameEdit_, &QLineEdit::textChanged, this, [this] { showUnsavableCharacters(); });

    playerColorLabel_ = new QLabel(tr("プレーヤー表示色"), multiPicture_);
    playerColorLabel_->setObjectName(QStringLiteral("Label2"));
    auto* colors = new QGridLayout();
    colors->setSpacing(2);
    for (int i = 0; i < 16; ++i) {
        mcPicture_[i] = new PlayerColorBox(
            i, [this](int index) { selectColor(index); }, multiPicture_);
        colors->addWidget(mcPicture_[i], i / 8, i % 8);
    }
    colors->setColumnStretch(8, 1);

    collisionSecLabel_ = new QLabel(tr("衝突時の停止時間(秒)"), multiPicture_);
    collisionSecLabel_->setObjectName(QStringLiteral("Label3"));
    collisionSecEdit_ = new QLineEdit(multiPicture_);
    collisionSecEdit_->setObjectName(QStringLiteral("TxtCollisionSec"));
    collisionSecEdit_->setMaximumWidth(60);
    const QString collisionTip = tr("衝突時に何回も爆発する場合は０に設定してください");
    collisionSecLabel_->setToolTip(collisionTip);
    collisionSecEdit_->setToolTip(collisionTip);
    collisionDefaultLabel_ = new QLabel(tr("初期値：2"), multiPicture_);
    collisionDefaultLabel_->setObjectName(QStringLiteral("Label4"));
    auto* collision = new QHBoxLayout();
    collision->addWidget(collisionSecEdit_);
    collision->addWidget(collisionDefaultLabel_);
    collision->addStretch();

    dspCheatWarnCheck_ = new QCheckBox(tr("チートの警告を表示する"), multiPicture_);
    dspCheatWarnCheck_->setObjectName(QStringLiteral("ChkDspCheatWarn"));
    dspCheatWarnCheck_->setToolTip(
        tr("CFSに組み込まれているチート機能を使用している場合に警告を表示します"));

    auto* multiLayout = new QGridLayout(multiPicture_);
    multiLayout->addWidget(playerNameLabel_, 0, 0);
    multiLayout->addWidget(playerNameEdit_, 0, 1);
    multiLayout->addWidget(playerNameCharsLabel_, 1, 1);
    multiLayout->addWidget(playerColorLabel_, 2, 0, Qt::AlignTop);
    multiLayout->addLayout(colors, 2, 1);
    multiLayout->addWidget(collisionSecLabel_, 3, 0);
    multiLayout->addLayout(collision, 3, 1);
    multiLayout->addWidget(dspCheatWarnCheck_, 4, 0, 1, 2);
    multiLayout->setRowStretch(5, 1);

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("CmdOk"));
    cancelButton_ = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    cancelButton_->setObjectName(QStringLiteral("CmdCancel"));
    cmdApply_ = new QPushButton(tr("更新"), this);
    cmdApply_->setObjectName(QStringLiteral("cmdApply"));
    // Enter presses OK, which takes the field being edited first; no other button is pressed
    // by Enter for having had the focus.
    for (QPushButton* b : {okButton_, cancelButton_, cmdApply_})
        b->setAutoDefault(false);
    okButton_->setDefault(true);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(cmdApply_);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(tbsOptions_);
    layout->addWidget(body, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(tbsOptions_, &QTabBar::currentChanged, this, [this](int i) { showPage(i + 1); });
    auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(nextTab, &QShortcut::activated, this, [this] {
        tbsOptions_->setCurrentIndex((tbsOptions_->currentIndex() + 1) % tbsOptions_->count());
    });

    const auto onCheck = [this](QCheckBox* box, const char* section, const char* key) {
        connect(box, &QCheckBox::clicked, this, [this, box, section, key] {
            // A value shown as unset takes a real state at the first click.
            box->setTristate(false);
            editSetting(section, key, box->isChecked() ? "1" : "0");
        });
    };
    onCheck(showLogoCheck_, kMain, "ShowLogo");
    onCheck(showMovieCheck_, kMain, "ShowMovie");
    onCheck(dspCheatWarnCheck_, kMulti, "SP_DISPLAY_CHEAT_WARNINGS");
    playerNameEdit_->installEventFilter(this);
    collisionSecEdit_->installEventFilter(this);
    // Typing is a change the player can apply at once, not only once the field is left; a
    // collision pause that is no number yet waits for the leaving, which says so.
    connect(playerNameEdit_, &QLineEdit::textEdited, this, [this] { takePlayerName(); });
    connect(collisionSecEdit_, &QLineEdit::textEdited, this, [this] {
        if (formatWholeNumber(us(collisionSecEdit_->text())))
            takeCollisionSec();
    });

    connect(cmdApply_, &QPushButton::clicked, this, [this] {
        if (takeFocusedText() && save())
            setApplyEnabled(false);
    });
    connect(okButton_, &QPushButton::clicked, this, [this] {
        if (takeFocusedText() && save())
            accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

// Settings not written yet enable cmdApply and mark the title.
void CfsSettingWindow::setApplyEnabled(bool flag) {
    applyEnabled_ = flag;
    cmdApply_->setEnabled(flag);
    setUnsaved(flag);
}

void CfsSettingWindow::showPage(int index) {
    mainPicture_->setVisible(index == 1);
    multiPicture_->setVisible(index == 2);
    const QSignalBlocker block(tbsOptions_);
    tbsOptions_->setCurrentIndex(index - 1);
}

void CfsSettingWindow::showValues() {
    // Values the controls cannot show appear unset and stay in the file until edited.
    const auto showCheck = [this](QCheckBox* box, const char* section, const char* key) {
        const auto value = parseWholeNumber(ini_->getKeyValue(section, key));
        if (value == 0 || value == 1) {
            box->setTristate(false);
            box->setCheckState(*value == 1 ? Qt::Checked : Qt::Unchecked);
        } else {
            box->setTristate(true);
            box->setCheckState(Qt::PartiallyChecked);
        }
    };
    showCheck(showLogoCheck_, kMain, "ShowLogo");
    showCheck(showMovieCheck_, kMain, "ShowMovie");
    showCheck(dspCheatWarnCheck_, kMulti, "SP_DISPLAY_CHEAT_WARNINGS");

    playerNameEdit_->setText(qs(ini_->getKeyValue(kMulti, "SP_PLAYER_NAME")));
    const std::string seconds = ini_->getKeyValue(kMulti, "COLLISION_SECS");
    collisionSecEdit_->setText(parseNumber(seconds) ? qs(seconds) : QString());

    const auto color = parseWholeNumber(ini_->getKeyValue(kMulti, "SP_PLAYER_COLOR_INDEX"));
    if (color && *color >= 0 && *color < 16)
        selectColor(*color);
}

void CfsSettingWindow::selectColor(int index) {
    if (!loaded_)
        return;
    const auto current = parseWholeNumber(ini_->getKeyValue(kMulti, "SP_PLAYER_COLOR_INDEX"));
    if (current != index)
        editSetting(kMulti, "SP_PLAYER_COLOR_INDEX", std::to_string(index));
    if (current && *current >= 0 && *current < 16)
        mcPicture_[*current]->setBorder(false);
    mcPicture_[index]->setBorder(true);
}

void CfsSettingWindow::setPalette() {
    const char* const* palette = version_ == 1   ? kPaletteCfs1
                                 : version_ == 2 ? kPaletteCfs2
                                                 : nullptr;
    if (!palette)
        return;
    for (int i = 0; i < 16; ++i)
        mcPicture_[i]->setColor(colorFromText(palette[i]));
}

void CfsSettingWindow::editSetting(const char* section, const char* key, const std::string& value) {
    ini_->setKeyValue(section, key, value);
    if (ini_->isKeyChanged(section, key))
        setApplyEnabled(true);
}

// Only what the user typed is taken, as for the collision pause.
void CfsSettingWindow::takePlayerName() {
    if (loaded_ && playerNameEdit_->isModified())
        editSetting(kMulti, "SP_PLAYER_NAME", us(playerNameEdit_->text()));
}

void CfsSettingWindow::showUnsavableCharacters() {
    const std::string bad = platform::unencodableCharacters(us(playerNameEdit_->text()));
    playerNameCharsLabel_->setText(bad.empty() ? QString()
                                               : tr("次の文字は保存できません：%1").arg(qs(bad)));
    playerNameCharsLabel_->setVisible(!bad.empty());
}

// False when typed text is not a number; the setting is then left alone. A number shown as
// the file has it is taken whole ("2.5" becomes 3); text the box shows empty because the file
// holds no number is left alone, and asks nothing, until the player types.
bool CfsSettingWindow::takeCollisionSec() {
    if (!loaded_)
        return true;
    const auto seconds = formatWholeNumber(us(collisionSecEdit_->text()));
    if (!seconds)
        return !collisionSecEdit_->isModified();
    editSetting(kMulti, "COLLISION_SECS", *seconds);
    return true;
}

void CfsSettingWindow::askForNumber() {
    numberMessagePending_ = false;
    showMessage(us(caption()), us(tr("数字を入れてください")), PromptIcon::None);
    collisionSecEdit_->setFocus(Qt::OtherFocusReason);
}

bool CfsSettingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Focus leaving the window (another program, a message box) is not leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == playerNameEdit_) {
                takePlayerName();
            } else if (watched == collisionSecEdit_ && !takeCollisionSec() &&
                       !numberMessagePending_) {
                // Asked once the focus change is over, so a button being clicked sees it too.
                numberMessagePending_ = true;
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (numberMessagePending_ && isVisible())
                            askForNumber();
                        numberMessagePending_ = false;
                    },
                    Qt::QueuedConnection);
            }
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

// A text box being edited may not have handed its value over yet: the focus leaves it only
// when the window is the active one, which it need not be when a button is clicked.
bool CfsSettingWindow::takeFocusedText() {
    if (numberMessagePending_)
        return false;
    takePlayerName();
    if (!takeCollisionSec()) {
        askForNumber();
        return false;
    }
    return true;
}

bool CfsSettingWindow::save() {
    try {
        if (!mayWrite())
            return false;
        const bool writes = ini_->hasChanges();
        ini_->saveFile();
        if (writes) {
            try {
                fileRead_ = platform::fileFingerprint(ini_->filePath());
            } catch (const Error&) {
                fileRead_ = {}; // unknown: the next save asks
            }
        }
        return true;
    } catch (const std::exception& e) {
        showMessage(us(caption()),
                    joinLines({us(tr("設定を保存できませんでした。")), us(failureText(e))}),
                    PromptIcon::Error);
        return false;
    }
}

bool CfsSettingWindow::mayWrite() {
    const std::string& file = ini_->filePath();
    if (!ini_->hasChanges() || file.empty() || !platform::fileChangedSince(fileRead_, file))
        return true;
    return askQuestion(us(caption()),
                       joinLines({us(tr("設定ファイルは、読み込んだ後に変更されています。")),
                                  us(tr("変更した設定を書き込みますか？"))}),
                       PromptButtons::YesNo, PromptAnswer::No,
                       PromptIcon::Warning) == PromptAnswer::Yes;
}

} // namespace vokari::ui
