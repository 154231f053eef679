#include "gui/launcher/vokari_window.h"

#include "common/prompt.h"
#include "frame/installation.h"
#include "frame/launcher_state.h"
#include "gui/kit/about_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "installer/archiver_availability.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace vokari::ui {
namespace {

const QString kName = QStringLiteral("FrmVokari");

// Where a prefix was found, as players know the programs.
QString sourceName(const std::string& source) {
    static const std::map<std::string, const char*> names = {
        {"lutris", "Lutris"},        {"bottles", "Bottles"}, {"playonlinux", "PlayOnLinux"},
        {"steam", "Steam Proton"},   {"wine", "Wine"},       {"wineprefixes", "Wine"},
        {"WINEPREFIX", "WINEPREFIX"}};
    const auto it = names.find(source);
    return it == names.end() ? QString::fromStdString(source) : QString::fromLatin1(it->second);
}

} // namespace

VokariWindow::VokariWindow(ToolWindowFactory toolWindows, QWidget* parent)
    : QWidget(parent), toolWindows_(std::move(toolWindows)) {
    setObjectName(kName);
    setWindowTitle(tr("Vokari Menu"));
    ensureUiResources();
    setWindowIcon(QIcon(QStringLiteral(":/vokari/vokari.png")));

    cfsVersionFrame_ = new QGroupBox(tr("CFS Version"), this);
    cfsVersionFrame_->setObjectName(QStringLiteral("FrameCFSVersion"));
    cfs1Option_ =
        new QRadioButton(tr("Combat Flight Simulator 1 ヨーロッパ戦線"), cfsVersionFrame_);
    cfs1Option_->setObjectName(QStringLiteral("OptCFS1"));
    cfs2Option_ = new QRadioButton(tr("Combat Flight Simulator 2 太平洋戦線"), cfsVersionFrame_);
    cfs2Option_->setObjectName(QStringLiteral("OptCFS2"));
    cfs1Option_->setChecked(true);
    auto* frameLayout = new QVBoxLayout(cfsVersionFrame_);
    frameLayout->addWidget(cfs1Option_);
    frameLayout->addWidget(cfs2Option_);

    // Shown only when more than one Wine prefix holds a game.
    winePrefixLabel_ = new QLabel(tr("Wine プレフィックス"), this);
    winePrefixLabel_->setObjectName(QStringLiteral("LblWinePrefix"));
    winePrefixCombo_ = new QComboBox(this);
    winePrefixCombo_->setObjectName(QStringLiteral("CboWinePrefix"));
    winePrefixLabel_->setBuddy(winePrefixCombo_);
    winePrefixLabel_->hide();
    winePrefixCombo_->hide();
    connect(winePrefixCombo_, &QComboBox::activated, this, &VokariWindow::choosePrefix);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(winePrefixLabel_);
    layout->addWidget(winePrefixCombo_);
    layout->addWidget(cfsVersionFrame_);
    for (const LauncherToolEntry& entry : kLauncherToolTable) {
        auto* button = new QPushButton(tr(entry.caption), this);
        button->setObjectName(QString::fromLatin1(entry.buttonName));
        if (*entry.toolTip)
            button->setToolTip(tr(entry.toolTip));
        button->setMinimumHeight(32);
        const LauncherTool tool = entry.tool;
        connect(button, &QPushButton::clicked, this, [this, tool] { openTool(tool); });
        toolButtons_[tool] = button;
        layout->addWidget(button);
    }
    exitButton_ = new QPushButton(tr("終　了"), this);
    exitButton_->setObjectName(QStringLiteral("CmdExit"));
    exitButton_->setMinimumHeight(32);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    layout->addSpacing(6);
    layout->addWidget(exitButton_);

    programNameLabel_ =
        new QLabel(QString::fromLatin1(kProgramName.data(), kProgramName.size()), this);
    programNameLabel_->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = programNameLabel_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    programNameLabel_->setFont(titleFont);
    versionLabel_ = new QLabel(tr("Prototype R.0.0.6"), this);
    versionLabel_->setObjectName(QStringLiteral("Label2"));
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(programNameLabel_);
    titleRow->addStretch();
    titleRow->addWidget(versionLabel_, 0, Qt::AlignBottom);
    layout->addLayout(titleRow);

    aboutLabel_ = new QLabel(tr("CFS1・CFS2 プレイヤーのためのツール集"), this);
    aboutLabel_->setObjectName(QStringLiteral("LblAbout"));
    aboutLabel_->installEventFilter(this);
    layout->addWidget(aboutLabel_);

    // The launcher's size is its design; only its position is kept.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
}

void VokariWindow::setGamePrefixes(const std::vector<GamePrefix>& found) {
    prefixes_.clear();
    for (const GamePrefix& entry : found) {
        if (!entry.games.empty())
            prefixes_.push_back(entry);
    }
    winePrefixCombo_->clear();
    const bool offer = prefixes_.size() > 1;
    winePrefixLabel_->setVisible(offer);
    winePrefixCombo_->setVisible(offer);
    if (!offer)
        return;
    const std::filesystem::path current = platform::winePrefix();
    for (size_t i = 0; i < prefixes_.size(); ++i) {
        const platform::WinePrefixFound& prefix = prefixes_[i].prefix;
        winePrefixCombo_->addItem(tr("%1 (%2)").arg(qs(prefix.name), sourceName(prefix.source)));
        winePrefixCombo_->setItemData(static_cast<int>(i), qs(platform::utf8Of(prefix.path)),
                                      Qt::ToolTipRole);
        if (prefix.path == current)
            winePrefixCombo_->setCurrentIndex(static_cast<int>(i));
    }
}

void VokariWindow::choosePrefix(int index) {
    if (index < 0 || static_cast<size_t>(index) >= prefixes_.size())
        return;
    const std::filesystem::path& path = prefixes_[static_cast<size_t>(index)].prefix.path;
    platform::setWinePrefixOverride(path);
    writeSavedWinePrefix(path);
    winePrefixCombo_->setCurrentIndex(index);
    const int16_t selected = selectedCfsVersion();
    showInstalledGames();
    // Keep the game the user had chosen when the new prefix holds it too.
    if (selected == kGameCfs2 && cfs2Option_->isEnabled())
        cfs2Option_->setChecked(true);
    else if (selected == kGameCfs1 && cfs1Option_->isEnabled())
        cfs1Option_->setChecked(true);
}

bool VokariWindow::load() {
    restorePlacement(this, kName, false);
    if (showInstalledGames())
        return true;
    showMessage(us(windowTitle()), us(tr("Combat Flight Simulator がインストールされていません")),
                PromptIcon::Error);
    unload();
    return false;
}

bool VokariWindow::showInstalledGames() {
    const bool cfs1 = !gameFolder(kGameCfs1).empty();
    const bool cfs2 = !gameFolder(kGameCfs2).empty();
    const LauncherChoice choice = launcherChoice(cfs1, cfs2, readSavedVersion());
    if (!choice.anyInstalled)
        return false;
    cfs1Option_->setEnabled(choice.cfs1Enabled);
    cfs2Option_->setEnabled(choice.cfs2Enabled);
    toolButton(LauncherTool::Copy)->setEnabled(choice.copyEnabled);
    (choice.selected == 2 ? cfs2Option_ : cfs1Option_)->setChecked(true);
    return true;
}

int16_t VokariWindow::selectedCfsVersion() const {
    if (cfs1Option_->isChecked())
        return kGameCfs1;
    if (cfs2Option_->isChecked())
        return kGameCfs2;
    return kGameNone;
}

QPushButton* VokariWindow::toolButton(LauncherTool tool) const {
    return toolButtons_.at(tool);
}

void VokariWindow::openTool(LauncherTool tool) {
    // Handed to this opening only, whether or not the window comes up.
    const QStringList files = std::exchange(startupFiles_, {});
    if (tool == LauncherTool::Install && !archiversFound())
        return;
    std::unique_ptr<QDialog> window = toolWindows_(tool, selectedCfsVersion(), this);
    if (auto* opener = dynamic_cast<FileOpeningWindow*>(window.get()); opener && !files.empty())
        // Once the window is shown, as if the files had been dropped on it.
        QTimer::singleShot(0, window.get(), [opener, files] { opener->openFiles(files); });
    if (window)
        showModal(*window);
    // Leaving scope unloads the window: the next opening starts afresh.
}

void VokariWindow::openPackage(const QString& package) {
    if (auto* opener = dynamic_cast<FileOpeningWindow*>(openWindow_.data())) {
        // The window comes to the front itself when it opens the package: raising it, or the
        // launcher, now could cover a question it is asking.
        opener->openHandedOver(package);
        return;
    }
    raise();
    activateWindow();
    if (openWindow_) {
        showMessage(
            us(windowTitle()),
            us(tr("ほかのツールが開いています。閉じてから、もう一度ファイルを開いてください。")),
            PromptIcon::Information);
        return;
    }
    QPushButton* install = toolButton(LauncherTool::Install);
    if (!install->isEnabled())
        return;
    setStartupFiles({package});
    install->click();
}

void VokariWindow::openAbout() {
    AboutDialog about(this);
    showModal(about);
}

void VokariWindow::showModal(QDialog& window) {
    window.setWindowModality(Qt::ApplicationModal);
    openWindow_ = &window;
    window.exec();
    openWindow_ = nullptr;
}

bool VokariWindow::archiversFound() {
    const bool lha = isLhaAvailable();
    const bool zip = isZipAvailable();
    if (lha || zip)
        return true;
    showMessage(us(windowTitle()),
                joinLines({us(tr("UNZIP32.DLLおよびUNLHA.DLLが見つかりません。")),
                           us(tr("この機能を使用するには UNZIP32.DLL あるいは")),
                           us(tr("UNLHA32.DLLをインストールしてください｡ "))}),
                PromptIcon::Error);
    return false;
}

bool VokariWindow::otherWindowLoaded() const {
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible())
            continue;
        const Qt::WindowType type = w->windowType();
        if (type != Qt::Window && type != Qt::Dialog)
            continue; // tool tips, menus
        if (w->windowTitle() != windowTitle())
            return true;
    }
    return false;
}

void VokariWindow::closeEvent(QCloseEvent* event) {
    if (!unloaded_ && otherWindowLoaded()) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void VokariWindow::unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    savePlacement(this, kName);
    writeSavedVersion(selectedCfsVersion());
    if (removeWorkDirectory() > 0) {
        showMessage(us(windowTitle()),
                    joinLines({us(tr("作業ディレクトリの削除に失敗しました。")),
                               us(tr("作業ディレクトリを手動で削除してください。")),
                               us(tr("作業ディレクトリは[%1]です。")
                                      .arg(qs(platform::displayPath(workDirectory()))))}),
                    PromptIcon::Error);
    }
}

bool VokariWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == aboutLabel_ && event->type() == QEvent::MouseButtonDblClick) {
        openAbout();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vokari::ui
