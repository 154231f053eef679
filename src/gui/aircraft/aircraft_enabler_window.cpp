#include "gui/aircraft/aircraft_enabler_window.h"

#include "gui/kit/about_dialog.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "frame/settings_file.h"
#include "gui/kit/tool_window.h"
#include "common/prompt.h"
#include "platform/text.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace vokari::ui {
namespace {

const char* const kCaption =
    QT_TRANSLATE_NOOP("vokari::ui::FrmAircraftEnabler", "航空機ファイル設定");
const QString kPlacementName = QStringLiteral("FrmAircraftEnabler");

// The smallest window, in twips.
constexpr double kMinWidthTwips = 9720;
constexpr double kMinHeightTwips = 7890;

// Where the form puts the list and its label, in pixels of the window's inside.
constexpr int kLabelTop = 40;
constexpr int kListLeft = 8;
constexpr int kListTop = 56;
constexpr int kListWidthMargin = 20;
constexpr int kListHeightMargin = 85;

QString activateText(bool activate) {
    return activate ? FrmAircraftEnabler::tr("ON") : QStringLiteral("  ");
}

QString defaultText(bool isDefault) {
    return isDefault ? FrmAircraftEnabler::tr("DEF") : QStringLiteral(" ");
}

void warnStockSwitchOff() {
    showMessage(us(FrmAircraftEnabler::tr(kCaption)),
                joinLines({us(FrmAircraftEnabler::tr("デフォルト航空機は無効化できません。")),
                           us(FrmAircraftEnabler::tr("編集する場合は[オプション]メニューから")),
                           us(FrmAircraftEnabler::tr(
                               "[デフォルト航空機の編集を許可]を選択してください。"))}),
                PromptIcon::Warning);
}

std::string joinLineList(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += kCrLf;
        text += line;
    }
    return text;
}

} // namespace

FrmAircraftEnabler::FrmAircraftEnabler(int16_t pVer, QWidget* parent)
    : EditingToolWindow(kPlacementName, parent), aircrafts(std::make_unique<ClsAircraftList>()) {
    setObjectName(kPlacementName);
    setWindowTitle(tr(kCaption));
    setSizeGripEnabled(true);
    buildControls();
    buildMenus();

    setMinimumSizeInTwips(this, kMinWidthTwips, kMinHeightTwips);
    restorePlacement(this, kPlacementName, true);

    try {
        aircrafts->setVersion(pVer);
        aircrafts->readAircrafts(true, true);
    } catch (const std::exception& e) {
        // What was read so far is listed; every operation works on single aircraft.
        showMessage(us(windowTitle()),
                    joinLines({us(tr("航空機の一覧を読み込めませんでした。")), us(failureText(e))}),
                    PromptIcon::Error);
    }
    setAircrafts();
    permitEditDefAircraft(false);
    permitDeleteGauges(false);
    boolChanged = false;
    boolUndo = false;
    updateToolbar();
}

FrmAircraftEnabler::~FrmAircraftEnabler() = default;

void FrmAircraftEnabler::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));

    TBar = makeToolBar("TBar", client_);
    const auto addButton = [this](const char* name, QStyle::StandardPixmap icon, const QString& tip,
                                  auto action) {
        QAction* button = addToolButton(TBar, name, icon, tip);
        connect(button, &QAction::triggered, this, action);
        return button;
    };
    addButton("TBarSave", QStyle::SP_DialogSaveButton, tr("保存"), [this] { saveAircrafts(); });
    TBar->addSeparator();
    addButton("TBarUndo", QStyle::SP_ArrowBack, tr("元に戻す"), [this] { undo(); });
    addButton("TBarActive", QStyle::SP_DialogApplyButton, tr("航空機を有効にする"),
              [this] { setEnableFlgs(true); });
    addButton("TBarInactive", QStyle::SP_DialogCancelButton, tr("航空機を無効にする"),
              [this] { setEnableFlgs(false); });
    TBar->addSeparator();
    addButton("TBarDelete", QStyle::SP_TrashIcon, tr("航空機ファイルを削除する"),
              [this] { deleteAircraftFiles(); });

    Label1 = new QLabel(tr("インストール済航空機"), client_);
    Label1->setObjectName(QStringLiteral("Label1"));

    LstAircraft = new QTreeWidget(client_);
    setUpRowList(LstAircraft, "LstAircraft", QAbstractItemView::ExtendedSelection);
    LstAircraft->viewport()->installEventFilter(this);
    client_->installEventFilter(this);
    connect(LstAircraft, &QTreeWidget::itemDoubleClicked, this, [this] { reverseEnableFlg(); });

    fillWithClient(this, client_);
}

void FrmAircraftEnabler::buildMenus() {
    menuBar_ = addMenuBar(this);

    mnuFile = addMenu(menuBar_, "mnuFile", tr("ファイル(&F)"));
    mnuFile_Save = addMenuEntry(this, mnuFile, "mnuFile_Save", tr("保存(&S)"),
                                QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveAircrafts(); });
    addMenuSeparator(mnuFile, "mnuFile_sep1");
    mnuFile_Exit = addExitEntry(this, mnuFile, tr("終了(&X)"));
    connect(mnuFile, &QMenu::aboutToShow, this, [this] { mnuFile_Save->setEnabled(boolChanged); });

    mnuEdit = addMenu(menuBar_, "mnuEdit", tr("編集(&E)"));
    mnuEdit_Undo = addMenuEntry(this, mnuEdit, "mnuEdit_Undo", tr("元に戻す(&U)"),
                                QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo(); });
    addMenuSeparator(mnuEdit, "mnuEdit_sep1");
    MnuEdit_Active = addMenuEntry(this, mnuEdit, "MnuEdit_Active", tr("有効(&A)"), QKeySequence(),
                                  [this] { setEnableFlgs(true); });
    MnuEdit_Inactive = addMenuEntry(this, mnuEdit, "MnuEdit_Inactive", tr("無効(&I)"),
                                    QKeySequence(), [this] { setEnableFlgs(false); });
    addMenuSeparator(mnuEdit, "mnuEdit_sep2");
    mnuEdit_DeleteAircraft =
        addMenuEntry(this, mnuEdit, "mnuEdit_DeleteAircraft", tr("航空機ファイルを削除(&D)"),
                     QKeySequence(Qt::Key_Delete), [this] { deleteAircraftFiles(); });
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { mnuEdit_Undo->setEnabled(boolUndo); });

    mnuOpt = addMenu(menuBar_, "mnuOpt", tr("オプション(&O)"));
    MnuOpt_EditDefAircraft =
        addMenuEntry(this, mnuOpt, "MnuOpt_EditDefAircraft", tr("デフォルト航空機の編集を許可(&P)"),
                     QKeySequence(), [this] { permitEditDefAircraft(!boolPermitEditDef); });
    MnuOpt_EditDefAircraft->setCheckable(true);
    // The gauge option is kept but not offered: deleting never removes gauge files.
    mnuOpt_sep1 = addMenuSeparator(mnuOpt, "mnuOpt_sep1");
    mnuOpt_sep1->setVisible(false);
    mnuOpt_DeleteGauges =
        addMenuEntry(this, mnuOpt, "mnuOpt_DeleteGauges", tr("削除時に計器ファイルも削除する(&G)"),
                     QKeySequence(), [this] { permitDeleteGauges(!boolPermitDeleteGauges); });
    mnuOpt_DeleteGauges->setCheckable(true);
    mnuOpt_DeleteGauges->setVisible(false);

    mnuHelp = addMenu(menuBar_, "mnuHelp", tr("ヘルプ(&H)"));
    addMenuSeparator(mnuHelp, "mnuHelp_sep1");
    mnuHelp_Ver = addMenuEntry(this, mnuHelp, "mnuHelp_Ver", tr("バージョン情報(&A)"),
                               QKeySequence(), [this] { showAbout(); });
}

void FrmAircraftEnabler::setAircrafts() {
    LstAircraft->clear();
    rows_.clear();
    LstAircraft->setColumnCount(4);
    LstAircraft->setHeaderLabels({tr("状態"), tr("デフォルト"), tr("フォルダ"), tr("表示名")});
    const int widths[] = {30, 40, 200, 300};
    for (int column = 0; column < 4; ++column)
        // Never narrower than the caption, in whichever language it is.
        LstAircraft->setColumnWidth(
            column, std::max(widths[column], LstAircraft->header()->sectionSizeHint(column)));

    QList<QTreeWidgetItem*> items;
    for (const auto& entry : aircrafts->aircraftList) {
        const ClsAirCraft& aircraft = entry.value;
        auto* row = new QTreeWidgetItem(
            QStringList{activateText(aircraft.activate), defaultText(aircraft.isDefault()),
                        qs(aircraft.directory()), qs(aircraft.title())});
        row->setData(0, Qt::UserRole, qs(entry.key));
        // The panel and sound it borrows, for a player checking the alias window's work.
        if (!aircraft.soundAlias().empty() || !aircraft.panelAlias().empty()) {
            const QString none = tr("なし");
            const auto orNone = [&none](const std::string& alias) {
                return alias.empty() ? none : qs(alias);
            };
            row->setToolTip(3,
                            tr("音声: %1\nパネル: %2")
                                .arg(orNone(aircraft.soundAlias()), orNone(aircraft.panelAlias())));
        }
        rows_.add(entry.key, row);
        items.append(row);
    }
    LstAircraft->addTopLevelItems(items);
}

ClsAirCraft& FrmAircraftEnabler::aircraftOf(const QTreeWidgetItem* row) {
    return aircrafts->aircraftList.item(us(rowKey(row)));
}

void FrmAircraftEnabler::showActivate(const ClsAirCraft& aircraft) {
    if (rows_.keyExists(aircraft.directory()))
        rows_.item(aircraft.directory())->setText(0, activateText(aircraft.activate));
}

void FrmAircraftEnabler::reverseEnableFlg() {
    QTreeWidgetItem* row = LstAircraft->currentItem();
    if (!row || !row->isSelected())
        return; // nothing to toggle, as in an empty list
    ClsAirCraft& aircraft = aircraftOf(row);
    if (aircraft.activate && aircraft.isDefault() && !boolPermitEditDef) {
        warnStockSwitchOff();
        return;
    }
    boolChangedBefore = boolChanged;
    undoInfo.emplace();
    boolUndo = true;
    addUndoInfo(aircraft);

    aircraft.activateChanged = !aircraft.activateChanged;
    aircraft.activate = !aircraft.activate;
    row->setText(0, activateText(aircraft.activate));
    boolChanged = true;
    updateToolbar();
}

void FrmAircraftEnabler::setEnableFlgs(bool pBoolActive) {
    boolChangedBefore = boolChanged;
    undoInfo.emplace();
    bool warned = false;
    for (int i = 0; i < LstAircraft->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = LstAircraft->topLevelItem(i);
        if (!row->isSelected())
            continue;
        ClsAirCraft& aircraft = aircraftOf(row);
        addUndoInfo(aircraft);
        if (aircraft.activate == pBoolActive)
            continue;
        if (!aircraft.isDefault() || pBoolActive || boolPermitEditDef) {
            aircraft.activate = pBoolActive;
            aircraft.activateChanged = !aircraft.activateChanged;
            row->setText(0, activateText(aircraft.activate));
            boolChanged = true;
        } else if (!warned) {
            warnStockSwitchOff();
            warned = true;
        }
    }
    if (!undoInfo->empty()) {
        boolUndo = true;
    } else {
        undoInfo.reset();
        boolUndo = false;
    }
    updateToolbar();
}

void FrmAircraftEnabler::addUndoInfo(const ClsAirCraft& tgAircraft) {
    if (!undoInfo)
        undoInfo.emplace();
    if (undoInfo->keyExists(tgAircraft.directory()))
        return; // the first snapshot is the state before the edit
    ClsAirCraft snapshot;
    snapshot.setDirectory(tgAircraft.directory());
    snapshot.activate = tgAircraft.activate;
    snapshot.activateChanged = tgAircraft.activateChanged;
    undoInfo->add(tgAircraft.directory(), std::move(snapshot));
}

void FrmAircraftEnabler::undo() {
    if (!boolUndo || !undoInfo || undoInfo->empty())
        return;
    for (const auto& entry : *undoInfo) {
        const ClsAirCraft& snapshot = entry.value;
        if (!aircrafts->aircraftList.keyExists(snapshot.directory()))
            continue;
        ClsAirCraft& aircraft = aircrafts->aircraftList.item(snapshot.directory());
        aircraft.activate = snapshot.activate;
        aircraft.activateChanged = snapshot.activateChanged;
        showActivate(aircraft);
    }
    boolChanged = boolChangedBefore;
    boolUndo = false;
    undoInfo.reset();
    updateToolbar();
}

void FrmAircraftEnabler::deleteAircraftFiles() {
    std::vector<QTreeWidgetItem*> selected;
    for (int i = 0; i < LstAircraft->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = LstAircraft->topLevelItem(i);
        if (row->isSelected())
            selected.push_back(row);
    }
    for (const QTreeWidgetItem* row : selected) {
        if (aircraftOf(row).isDefault()) {
            showMessage(us(windowTitle()),
                        joinLines({us(tr("選択した航空機の中にデフォルト航空機が含まれています。")),
                                   us(tr("デフォルト航空機は削除できません。"))}),
                        PromptIcon::Warning);
            return;
        }
    }
    if (askQuestion(us(windowTitle()),
                    joinLines({us(tr("この操作は取消ができません。")),
                               us(tr("選択した航空機のファイルを削除しますか？"))}),
                    PromptButtons::YesNo, PromptAnswer::No,
                    PromptIcon::Warning) != PromptAnswer::Yes)
        return;

    std::vector<std::string> keys;
    std::vector<std::string> leftOnDisk;
    std::string failure;
    for (const QTreeWidgetItem* row : selected) {
        const std::string key = us(rowKey(row));
        keys.push_back(key);
        try {
            if (aircrafts->deleteAircraftFile(key, boolPermitDeleteGauges) > 0)
                leftOnDisk.push_back(key);
        } catch (const std::exception& e) {
            failure = joinLines(
                {us(tr("航空機ファイルを削除できませんでした。")), key, us(failureText(e))});
            break;
        }
    }
    // Rows go with their aircraft: one that could not be deleted at all stays listed.
    for (const std::string& key : keys) {
        if (!aircrafts->aircraftList.keyExists(key) && rows_.keyExists(key)) {
            delete rows_.item(key);
            rows_.remove(key);
        }
    }
    // Switches made before the deletion are still to be saved; the undo record may name
    // aircraft that are gone.
    boolChanged = anySwitchPending();
    boolUndo = false;
    undoInfo.reset();
    updateToolbar();

    if (!failure.empty()) {
        showMessage(us(windowTitle()), failure, PromptIcon::Error);
    } else if (!leftOnDisk.empty()) {
        // The folder stays with what could not be deleted (read-only or in use).
        std::vector<std::string> lines{us(tr("削除できなかったファイルがあります。"))};
        lines.insert(lines.end(), leftOnDisk.begin(), leftOnDisk.end());
        showMessage(us(windowTitle()), joinLineList(lines), PromptIcon::Warning);
    }
}

bool FrmAircraftEnabler::anySwitchPending() const {
    return std::any_of(aircrafts->aircraftList.begin(), aircrafts->aircraftList.end(),
                       [](const auto& entry) { return entry.value.activateChanged; });
}

bool FrmAircraftEnabler::saveAircrafts() {
    if (!boolChanged)
        return true;
    const bool saved = writeSwitches();
    // Even a save that failed part-way has switched some aircraft on disk: the undo record
    // would take them back in memory only. What is still unsaved stays asked about.
    boolChanged = anySwitchPending();
    boolUndo = false;
    undoInfo.reset();
    updateToolbar();
    return saved;
}

bool FrmAircraftEnabler::writeSwitches() {
    try {
        aircrafts->setActivate();
    } catch (const AircraftSwitchError& e) {
        std::string name = e.directory();
        if (aircrafts->aircraftList.keyExists(e.directory()))
            name += " (" + aircrafts->aircraftList.item(e.directory()).title() + ")";
        showMessage(us(windowTitle()),
                    joinLines({us(tr("次の航空機の有効・無効を保存できませんでした。")), name,
                               us(failureText(e))}),
                    PromptIcon::Error);
        return false;
    } catch (const std::exception& e) {
        showMessage(
            us(windowTitle()),
            joinLines({us(tr("航空機の有効・無効を保存できませんでした。")), us(failureText(e))}),
            PromptIcon::Error);
        return false;
    }
    return true;
}

void FrmAircraftEnabler::permitEditDefAircraft(bool pBoolPermit) {
    MnuOpt_EditDefAircraft->setChecked(pBoolPermit);
    boolPermitEditDef = pBoolPermit;
}

void FrmAircraftEnabler::permitDeleteGauges(bool pBoolPermit) {
    mnuOpt_DeleteGauges->setChecked(pBoolPermit);
    boolPermitDeleteGauges = pBoolPermit;
}

void FrmAircraftEnabler::updateToolbar() {
    const QList<QAction*> buttons = TBar->actions();
    buttons.at(0)->setEnabled(boolChanged);
    buttons.at(2)->setEnabled(boolUndo);
    // The menu entries follow too, so their shortcuts do.
    mnuFile_Save->setEnabled(boolChanged);
    mnuEdit_Undo->setEnabled(boolUndo);
}

void FrmAircraftEnabler::popUpEditMenu(const QPoint& globalPos) {
    mnuEdit->setDefaultAction(MnuEdit_Active);
    mnuEdit->exec(globalPos);
    mnuEdit->setDefaultAction(nullptr);
}

void FrmAircraftEnabler::showAbout() {
    FrmAbout about(this);
    about.exec();
}

void FrmAircraftEnabler::layoutControls() {
    const int width = client_->width();
    const int height = client_->height();
    TBar->setGeometry(0, 0, width, TBar->sizeHint().height());
    Label1->setGeometry(kListLeft, kLabelTop, width - kListWidthMargin,
                        Label1->sizeHint().height());
    LstAircraft->setGeometry(kListLeft, kListTop, std::max(0, width - kListWidthMargin),
                             std::max(0, height - kListHeightMargin));
}

bool FrmAircraftEnabler::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        layoutControls();
    } else if (watched == LstAircraft->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            popUpEditMenu(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vokari::ui
