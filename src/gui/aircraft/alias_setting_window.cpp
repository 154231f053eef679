#include "gui/aircraft/alias_setting_window.h"

#include "common/prompt.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
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
#include <QTreeWidget>
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
class RowList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        QTreeWidget::scrollTo(index.siblingAtColumn(0), hint);
    }
};

QTreeWidget* newList(QWidget* parent, const char* name, bool severalRows) {
    auto* list = new RowList(parent);
    setUpRowList(list, name,
                 severalRows ? QAbstractItemView::ExtendedSelection
                             : QAbstractItemView::SingleSelection);
    return list;
}

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

    targetSoundList_ = newList(client(), "LstTargetSound", true);
    targetPanelList_ = newList(client(), "LstTargetPanel", true);
    aircraftSoundList_ = newList(client(), "LstAircraftSound", false);
    aircraftPanelList_ = newList(client(), "LstAircraftPanel", false);
    for (QTreeWidget* targets : {targetSoundList_, targetPanelList_})
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

void AliasSettingWindow::setAircrafts() {
    const QString title = tr("表示名");
    setColumns(aircraftSoundList_, {title}, {200});
    setColumns(targetSoundList_, {tr("音声"), title}, {100, 200});
    setColumns(aircraftPanelList_, {title}, {200});
    setColumns(targetPanelList_, {tr("パネル"), title}, {100, 200});
    soundRows_.clear();
    panelRows_.clear();

    for (const auto& entry : aircrafts_->aircraftList) {
        const Aircraft& aircraft = entry.value;
        for (AliasKind kind : {AliasKind::Sound, AliasKind::Panel}) {
            QTreeWidgetItem* row = nullptr;
            if (canLendAlias(aircraft, kind)) {
                row = new QTreeWidgetItem(lenderList(kind), {qs(aircraft.title())});
            } else {
                row = new QTreeWidgetItem(targetList(kind),
                                          {qs(aliasOf(aircraft, kind)), qs(aircraft.title())});
                (kind == AliasKind::Sound ? soundRows_ : panelRows_).add(entry.key, row);
            }
            row->setData(0, Qt::UserRole, qs(entry.key));
        }
    }
}

QTreeWidget* AliasSettingWindow::targetList(AliasKind kind) const {
    return kind == AliasKind::Sound ? targetSoundList_ : targetPanelList_;
}

QTreeWidget* AliasSettingWindow::lenderList(AliasKind kind) const {
    return kind == AliasKind::Sound ? aircraftSoundList_ : aircraftPanelList_;
}

Aircraft& AliasSettingWindow::aircraftOf(const QTreeWidgetItem* row) {
    return aircrafts_->aircraftList.item(us(rowKey(row->treeWidget()->indexFromItem(row))));
}

void AliasSettingWindow::showAlias(const Aircraft& aircraft, AliasKind kind) {
    const auto& rows = kind == AliasKind::Sound ? soundRows_ : panelRows_;
    if (rows.keyExists(aircraft.directory()))
        rows.item(aircraft.directory())->setText(0, qs(aliasOf(aircraft, kind)));
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
    QTreeWidget* targets = targetList(kind);
    QTreeWidget* lenders = lenderList(kind);
    if (targets->topLevelItemCount() == 0 || lenders->topLevelItemCount() == 0)
        return;
    const QList<QTreeWidgetItem*> lender = lenders->selectedItems();
    if (lender.isEmpty()) {
        showMessage(us(caption()), us(tr("データを持っている航空機を選択してください。")),
                    PromptIcon::Information);
        return;
    }
    const Aircraft& from = aircraftOf(lender.front());

    // An alias is written into the receiver's panel (sound) folder: one without it is refused
    // now rather than passed over by the save.
    QList<QTreeWidgetItem*> receivers;
    QStringList refused;
    for (int i = 0; i < targets->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = targets->topLevelItem(i);
        if (!row->isSelected())
            continue;
        if (hasAliasFolder(*aircrafts_, aircraftOf(row), kind))
            receivers.append(row);
        else
            refused.append(nameOf(aircraftOf(row)));
    }
    if (!receivers.isEmpty()) {
        undoKind_ = kind == AliasKind::Sound ? 1 : 2;
        wasChangedBefore_ = isChanged_;
        undoInfo_.emplace();
        for (QTreeWidgetItem* row : receivers) {
            Aircraft& receiver = aircraftOf(row);
            addUndoInfo(receiver);
            lendAlias(receiver, from, kind);
            row->setText(0, qs(aliasOf(receiver, kind)));
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
    for (QTreeWidget* targets : {targetSoundList_, targetPanelList_})
        targets->setGeometry(kListLeft, kListTop, targetWidth, listHeight);
    for (QTreeWidget* lenders : {aircraftSoundList_, aircraftPanelList_})
        lenders->setGeometry(lenderLeft, kListTop, lenderWidth, listHeight);
    targetLabel_->setGeometry(kListLeft, kLabelTop, targetWidth, targetLabel_->sizeHint().height());
    aircraftLabel_->setGeometry(lenderLeft, kLabelTop, lenderWidth,
                                aircraftLabel_->sizeHint().height());
}

} // namespace vokari::ui
