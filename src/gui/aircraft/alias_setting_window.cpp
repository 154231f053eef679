#include "gui/aircraft/alias_setting_window.h"

#include "common/prompt.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/row_table_model.h"
#include "gui/kit/tool_window.h"
#include "platform/text.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStringList>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <string>

namespace vokari::ui {
namespace {

// Where the form puts the lists and their labels, in pixels of the window's inside.
constexpr int kLabelTop = 40;
constexpr int kListLeft = 8;
constexpr int kListTop = 56;
constexpr int kListGap = 10;
constexpr int kStatusBarHeight = 22;

// Rows are picked whole: a click on a column cut off at the right does not scroll the row's
// first column out of sight.
class RowList : public QTreeView {
public:
    using QTreeView::QTreeView;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        QTreeView::scrollTo(index.siblingAtColumn(0), hint);
    }
};

QString nameOf(const Aircraft& aircraft) {
    return qs(aircraft.directory() + " (" + aircraft.title() + ")");
}

std::string lines(const QStringList& parts) {
    return us(parts.join(QStringLiteral("\r\n")));
}

} // namespace

AliasSettingWindow::AliasSettingWindow(int16_t version, QWidget* parent)
    : EditingToolWindow(QStringLiteral("FrmAliasSetting"), tr("音声・パネルファイル設定"),
                        Undo::OneStep, parent),
      aircrafts_(std::make_unique<AircraftList>()) {
    buildControls();
    buildMenus();

    try {
        aircrafts_->setVersion(version);
        readAliasAircrafts(*aircrafts_);
    } catch (const std::exception& e) {
        // What was read so far is listed; every edit works on single aircraft.
        showMessage(us(caption()),
                    lines({tr("航空機の一覧を読み込めませんでした。"), failureText(e)}),
                    PromptIcon::Error);
    }
    setAircrafts();
    viewSound();
    isChanged_ = false;
    undoKind_ = 0;
    updateSaveAndUndo();
}

AliasSettingWindow::~AliasSettingWindow() = default;

void AliasSettingWindow::buildControls() {
    addToolBarWithSave("TBar");
    addToolButton("TBarSet", QStyle::SP_DialogApplyButton, tr("変更"),
                  [this] { setCurrentAlias(); });
    toolBar()->addSeparator();

    // Images 4 and 5: the button shows which view is on.
    soundImage_ = style()->standardIcon(QStyle::SP_MediaVolume);
    panelImage_ = style()->standardIcon(QStyle::SP_ComputerIcon);
    auto* views = new QMenu(this);
    views->setObjectName(QStringLiteral("TBarViewMenu"));
    QAction* toSound = views->addAction(tr("音声"), this, [this] { viewSound(); });
    toSound->setObjectName(QStringLiteral("TBarView_Sound"));
    QAction* toPanel = views->addAction(tr("パネル"), this, [this] { viewPanel(); });
    toPanel->setObjectName(QStringLiteral("TBarView_Panel"));
    viewButton_ = new QToolButton(toolBar());
    viewButton_->setObjectName(QStringLiteral("TBarView"));
    viewButton_->setToolTip(tr("表示"));
    viewButton_->setPopupMode(QToolButton::MenuButtonPopup); // the button itself does nothing
    viewButton_->setMenu(views);
    toolBar()->addWidget(viewButton_);

    targetLabel_ = new QLabel(tr("Aliasを使用している航空機"), client());
    targetLabel_->setObjectName(QStringLiteral("LblTargert"));
    aircraftLabel_ = new QLabel(tr("データを持っている航空機"), client());
    aircraftLabel_->setObjectName(QStringLiteral("LblAircraft"));

    targetSoundList_ = newList("LstTargetSound", AliasKind::Sound, true);
    targetPanelList_ = newList("LstTargetPanel", AliasKind::Panel, true);
    aircraftSoundList_ = newList("LstAircraftSound", AliasKind::Sound, false);
    aircraftPanelList_ = newList("LstAircraftPanel", AliasKind::Panel, false);
    for (QTreeView* targets : {targetSoundList_, targetPanelList_})
        popUpOnRightClick(targets, [this](const QPoint& at) { popUpEditMenu(setAction_, at); });

    statusBar_ = new QStatusBar(client());
    statusBar_->setObjectName(QStringLiteral("StBar"));
    statusBar_->setSizeGripEnabled(false); // the window has its own
    stBarText_ = new QLabel(statusBar_);
    stBarText_->setObjectName(QStringLiteral("StBarText"));
    statusBar_->addWidget(stBarText_, 1);
}

void AliasSettingWindow::buildMenus() {
    QMenu* editMenu = addFileAndEditMenus();
    setAction_ = addMenuEntry(this, editMenu, "mnuEdit_Set", tr("変更(&C)"), QKeySequence(),
                              [this] { setCurrentAlias(); });

    QMenu* viewMenu = addMenu("mnuView", tr("表示(&V)"));
    viewSoundAction_ = addMenuEntry(this, viewMenu, "mnuView_Sound", tr("サウンド(&S)"),
                                    QKeySequence(), [this] { viewSound(); });
    viewSoundAction_->setCheckable(true);
    viewPanelAction_ = addMenuEntry(this, viewMenu, "mnuView_Panel", tr("パネル(&P)"),
                                    QKeySequence(), [this] { viewPanel(); });
    viewPanelAction_->setCheckable(true);

    addHelpMenu();
}

QTreeView* AliasSettingWindow::newList(const char* name, AliasKind kind, bool isTarget) {
    Rows& rows = rowsOf(kind);
    std::vector<std::string>* keys = isTarget ? &rows.targets : &rows.lenders;
    const QString title = tr("表示名");
    QStringList captions{title};
    if (isTarget)
        captions.prepend(kind == AliasKind::Sound ? tr("音声") : tr("パネル"));
    // Read from the catalogue as drawn: only a receiver's alias changes, and it says so.
    auto* model = new RowTableModel(
        captions, [keys] { return static_cast<int>(keys->size()); },
        [this, keys, kind, isTarget](int row, int column, int role) -> QVariant {
            const std::string& key = (*keys)[static_cast<size_t>(row)];
            if (role == Qt::UserRole && column == 0)
                return qs(key);
            if (role != Qt::DisplayRole)
                return {};
            const Aircraft& aircraft = aircraftOf(key);
            if (isTarget && column == 0)
                return qs(aliasOf(aircraft, kind));
            return qs(aircraft.title());
        },
        this);
    (isTarget ? rows.targetModel : rows.lenderModel) = model;
    auto* list = new RowList(client());
    list->setModel(model);
    setUpRowList(list, name,
                 isTarget ? QAbstractItemView::ExtendedSelection
                          : QAbstractItemView::SingleSelection);
    return list;
}

void AliasSettingWindow::setAircrafts() {
    for (AliasKind kind : {AliasKind::Sound, AliasKind::Panel}) {
        Rows& rows = rowsOf(kind);
        rows.targets.clear();
        rows.lenders.clear();
        rows.targetIndex.clear();
    }
    for (const auto& entry : aircrafts_->aircraftList) {
        const Aircraft& aircraft = entry.value;
        for (AliasKind kind : {AliasKind::Sound, AliasKind::Panel}) {
            Rows& rows = rowsOf(kind);
            if (canLendAlias(aircraft, kind)) {
                rows.lenders.push_back(entry.key);
            } else {
                rows.targetIndex.add(entry.key, static_cast<int>(rows.targets.size()));
                rows.targets.push_back(entry.key);
            }
        }
    }
    for (AliasKind kind : {AliasKind::Sound, AliasKind::Panel}) {
        rowsOf(kind).targetModel->reset();
        rowsOf(kind).lenderModel->reset();
        setColumnWidths(targetList(kind), {100, 200});
        setColumnWidths(lenderList(kind), {200});
    }
}

QTreeView* AliasSettingWindow::targetList(AliasKind kind) const {
    return kind == AliasKind::Sound ? targetSoundList_ : targetPanelList_;
}

QTreeView* AliasSettingWindow::lenderList(AliasKind kind) const {
    return kind == AliasKind::Sound ? aircraftSoundList_ : aircraftPanelList_;
}

Aircraft& AliasSettingWindow::aircraftOf(const std::string& key) {
    return aircrafts_->aircraftList.item(key);
}

void AliasSettingWindow::showAlias(const Aircraft& aircraft, AliasKind kind) {
    Rows& rows = rowsOf(kind);
    if (const int* row = rows.targetIndex.find(aircraft.directory()))
        rows.targetModel->refreshRow(*row);
}

void AliasSettingWindow::setCurrentAlias() {
    if (viewSoundAction_->isChecked())
        setSoundAlias();
    else
        setPanelAlias();
}

void AliasSettingWindow::setSoundAlias() {
    setAlias(AliasKind::Sound);
}

void AliasSettingWindow::setPanelAlias() {
    setAlias(AliasKind::Panel);
}

void AliasSettingWindow::setAlias(AliasKind kind) {
    Rows& rows = rowsOf(kind);
    if (rows.targets.empty() || rows.lenders.empty())
        return;
    const QModelIndex lender = selectedRow(lenderList(kind));
    if (!lender.isValid()) {
        showMessage(us(caption()), us(tr("データを持っている航空機を選択してください。")),
                    PromptIcon::Information);
        return;
    }
    const Aircraft& from = aircraftOf(rows.lenders[static_cast<size_t>(lender.row())]);

    // An alias is written into the receiver's panel (sound) folder: one without it is refused
    // now rather than passed over by the save.
    std::vector<int> selected;
    for (const QModelIndex& index : targetList(kind)->selectionModel()->selectedRows())
        selected.push_back(index.row());
    std::sort(selected.begin(), selected.end());
    std::vector<int> receivers;
    QStringList refused;
    for (const int row : selected) {
        const Aircraft& receiver = aircraftOf(rows.targets[static_cast<size_t>(row)]);
        if (hasAliasFolder(*aircrafts_, receiver, kind))
            receivers.push_back(row);
        else
            refused.append(nameOf(receiver));
    }
    if (!receivers.empty()) {
        undoKind_ = kind == AliasKind::Sound ? 1 : 2;
        wasChangedBefore_ = isChanged_;
        undoInfo_.emplace();
        for (const int row : receivers) {
            Aircraft& receiver = aircraftOf(rows.targets[static_cast<size_t>(row)]);
            addUndoInfo(receiver);
            lendAlias(receiver, from, kind);
            rows.targetModel->refreshRow(row);
            isChanged_ = true;
        }
        updateSaveAndUndo();
    }
    if (!refused.isEmpty()) {
        refused.prepend(tr("次の航空機には「%1」フォルダがないため、Aliasを設定できません。")
                            .arg(QString::fromLatin1(aliasFolderName(kind))));
        showMessage(us(caption()), lines(refused), PromptIcon::Warning);
    }
}

void AliasSettingWindow::addUndoInfo(const Aircraft& aircraft) {
    if (!undoInfo_)
        undoInfo_.emplace();
    if (undoInfo_->keyExists(aircraft.directory()))
        return; // the first snapshot is the state before the edit
    Aircraft snapshot;
    snapshot.setDirectory(aircraft.directory());
    snapshot.setSoundAlias(aircraft.soundAlias());
    snapshot.isSoundChanged = aircraft.isSoundChanged;
    snapshot.setPanelAlias(aircraft.panelAlias());
    snapshot.isPanelChanged = aircraft.isPanelChanged;
    undoInfo_->add(aircraft.directory(), std::move(snapshot));
}

void AliasSettingWindow::undo() {
    if (undoKind_ == 0 || !undoInfo_ || undoInfo_->empty())
        return;
    const AliasKind kind = undoKind_ == 1 ? AliasKind::Sound : AliasKind::Panel;
    for (const auto& entry : *undoInfo_) {
        const Aircraft& snapshot = entry.value;
        if (!aircrafts_->aircraftList.keyExists(snapshot.directory()))
            continue;
        Aircraft& aircraft = aircrafts_->aircraftList.item(snapshot.directory());
        if (kind == AliasKind::Sound) {
            aircraft.setSoundAlias(snapshot.soundAlias());
            aircraft.isSoundChanged = snapshot.isSoundChanged;
        } else {
            aircraft.setPanelAlias(snapshot.panelAlias());
            aircraft.isPanelChanged = snapshot.isPanelChanged;
        }
        showAlias(aircraft, kind);
    }
    isChanged_ = wasChangedBefore_;
    undoKind_ = 0;
    undoInfo_.reset();
    updateSaveAndUndo();
}

bool AliasSettingWindow::undoRecordWritten(const std::string& failedDir) const {
    if (!undoInfo_)
        return false;
    // The pass goes in catalogue order: those before the failing aircraft are written, and of
    // that one the panel may be (its sound comes last and is what failed, or was not reached).
    for (const auto& entry : aircrafts_->aircraftList) {
        if (equalsNoCase(entry.key, failedDir))
            return undoKind_ == 2 && undoInfo_->keyExists(entry.key);
        if (undoInfo_->keyExists(entry.key))
            return true;
    }
    return false;
}

bool AliasSettingWindow::saveAircrafts() {
    try {
        aircrafts_->panelAndSoundWrite();
    } catch (const std::exception& e) {
        QStringList message{tr("音声・パネルファイルを保存できませんでした。")};
        if (const auto* failed = dynamic_cast<const AircraftWriteError*>(&e)) {
            if (aircrafts_->aircraftList.keyExists(failed->directory()))
                message =
                    QStringList{tr("次の航空機の音声・パネルファイルを保存できませんでした。"),
                                nameOf(aircrafts_->aircraftList.item(failed->directory()))};
            // Part of the edit is on disk now, and undo cannot take it back there.
            if (undoRecordWritten(failed->directory())) {
                undoKind_ = 0;
                undoInfo_.reset();
                updateSaveAndUndo();
            }
        }
        message.append(failureText(e));
        showMessage(us(caption()), lines(message), PromptIcon::Error);
        return false;
    }
    // The changed flags stay set: every later save writes those aircraft again.
    isChanged_ = false;
    undoKind_ = 0;
    undoInfo_.reset();
    updateSaveAndUndo();
    return true;
}

void AliasSettingWindow::viewSound() {
    viewSoundAction_->setChecked(true);
    viewPanelAction_->setChecked(false);
    viewButton_->setIcon(soundImage_);
    stBarText_->setText(tr("音声編集"));
    targetSoundList_->show();
    aircraftSoundList_->show();
    targetPanelList_->hide();
    aircraftPanelList_->hide();
}

void AliasSettingWindow::viewPanel() {
    viewPanelAction_->setChecked(true);
    viewSoundAction_->setChecked(false);
    viewButton_->setIcon(panelImage_);
    stBarText_->setText(tr("パネル編集"));
    targetPanelList_->show();
    aircraftPanelList_->show();
    targetSoundList_->hide();
    aircraftSoundList_->hide();
}

void AliasSettingWindow::layoutControls() {
    const int width = client()->width();
    const int height = client()->height();
    statusBar_->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);

    const int w = width - 3 * kListGap;
    const int h = height - kStatusBarHeight;
    const int listHeight = std::max(0, h - kListTop + 1);
    const int targetWidth = std::max(0, static_cast<int>(std::lround(w * 0.47)));
    const int lenderLeft = kListLeft + targetWidth + kListGap - 1;
    const int lenderWidth = std::max(0, static_cast<int>(std::lround(w * 0.53)));
    for (QTreeView* targets : {targetSoundList_, targetPanelList_})
        targets->setGeometry(kListLeft, kListTop, targetWidth, listHeight);
    for (QTreeView* lenders : {aircraftSoundList_, aircraftPanelList_})
        lenders->setGeometry(lenderLeft, kListTop, lenderWidth, listHeight);
    targetLabel_->setGeometry(kListLeft, kLabelTop, targetWidth, targetLabel_->sizeHint().height());
    aircraftLabel_->setGeometry(lenderLeft, kLabelTop, lenderWidth,
                                aircraftLabel_->sizeHint().height());
}

} // namespace vokari::ui
