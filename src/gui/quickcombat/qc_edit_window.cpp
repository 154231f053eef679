#include "gui/quickcombat/qc_edit_window.h"

#include "aircraft/aircraft_list.h"
#include "common/prompt.h"
#include "frame/installation.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/row_table_model.h"
#include "gui/kit/tool_window.h"
#include "gui/quickcombat/qc_aircraft_drag.h"
#include "gui/quickcombat/qc_group_edit_dialog.h"
#include "gui/quickcombat/qc_plane_edit_dialog.h"
#include "platform/error.h"
#include "quickcombat/qc_file.h"
#include "quickcombat/qc_groups.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace vokari::ui {
namespace {

// Where the form puts the lists and their labels, in pixels of the window's inside.
constexpr int kLabelTop = 40;
constexpr int kListLeft = 8;
constexpr int kListTop = 56;
// Edits Undo takes back, the oldest first forgotten: each step holds a copy of the document.
constexpr size_t kUndoSteps = 100;
// The removing buttons: the style may draw them in greys, as if they were disabled.
const QColor kRemoveColor(200, 30, 30);

// The keys come back to the editor afterwards, with or without a window manager.
void showModal(QDialog& dialog, QWidget* owner) {
    dialog.exec();
    owner->activateWindow();
}

} // namespace

QcEditWindow::QcEditWindow(int16_t version, QWidget* parent)
    : EditingToolWindow(QStringLiteral("FrmQCEdit"), tr("クイックコンバット編集"), Undo::Steps,
                        parent),
      document_(std::make_unique<QcGroups>()), aircrafts_(std::make_unique<AircraftList>()),
      gameFolder_(gameFolder(version)) {
    buildControls();
    buildMenus();

    try {
        aircrafts_->setVersion(version);
        aircrafts_->readAircrafts(false, false);
    } catch (const std::exception& e) {
        showFailure(tr("航空機の一覧を読み込めませんでした。"), e);
    }
    try {
        if (gameFolder_.empty())
            throw IoError(quickCombatFileName() + ": the game is not installed");
        // Taken first: a write while the document is read shows as a change.
        fileRead_ = platform::fileFingerprint(gameFolder_ + quickCombatFileName());
        readQCFile(document_, gameFolder_, quickCombatFileName());
    } catch (const std::exception& e) {
        // What was read stays to work on; the file is only written when the user saves.
        if (!document_)
            document_ = std::make_unique<QcGroups>();
        showFailure(tr("クイックコンバットファイルを読み込めませんでした。"), e);
    }
    setGroupList();
    setAircrafts();
    if (const int16_t id = selectedGroupId())
        setGrpPlanes(id);
    isChanged_ = false;
    updateSaveAndUndo();

    updateEditItems();
    connect(qApp, &QApplication::focusChanged, this, [this] { updateEditItems(); });
}

QcEditWindow::~QcEditWindow() = default;

void QcEditWindow::buildControls() {
    // Undo is in the Edit menu: the toolbar keeps its places.
    addToolBarWithSave("Toolbar1", false);
    for (int i = 0; i < 3; ++i)
        toolBar()->addSeparator();
    addToolButton("TBarAddGroup", QStyle::SP_FileDialogNewFolder, tr("敵の航空機の種類を追加"),
                  [this] { addQCGroup(); });
    addToolButton("TBarEditGroup", QStyle::SP_FileDialogDetailedView, tr("敵の航空機の種類を編集"),
                  [this] { editQCGroup(); });
    // Both removing buttons say which they remove: the group, or an entry of it.
    addToolButton("TBarRemoveGroup", coloredIcon(style(), QStyle::SP_TrashIcon, kRemoveColor),
                  tr("敵の航空機の種類を削除"), [this] { removeGroup(); })
        ->setToolTip(tr("敵の航空機の種類を削除") + QLatin1Char('\n') +
                     tr("選択しているグループを、登録されている航空機ごと削除します。"));
    toolBar()->addSeparator();
    addToolButton("TBarAddPlane", QStyle::SP_ArrowRight,
                  tr("インストールされた航空機を敵の航空機の種類に登録"), [this] { addQCPlane(); });
    addToolButton("TBarEditPlane", QStyle::SP_FileDialogInfoView, tr("航空機の種別を編集"),
                  [this] { editQCPlane(); });
    addToolButton("TBarRemovePlane",
                  coloredIcon(style(), QStyle::SP_DialogDiscardButton, kRemoveColor),
                  tr("敵の航空機の種類から航空機を削除"), [this] { removeQCPlane(); })
        ->setToolTip(tr("敵の航空機の種類から航空機を削除") + QLatin1Char('\n') +
                     tr("「グループに所属する航空機」で選択している航空機を、グループから外します。"
                        "グループは残ります。"));

    aircraftModel_ = new RowTableModel(
        {tr("表示名")}, [this] { return static_cast<int>(aircraftRows_.size()); },
        [this](int row, int, int role) -> QVariant {
            const AircraftRow& shown = aircraftRows_[static_cast<size_t>(row)];
            return role == Qt::DisplayRole ? QVariant(shown.title)
                   : role == Qt::UserRole  ? QVariant(shown.directory)
                                           : QVariant();
        },
        this);
    aircraftModel_->setDrag(QcAircraftDrag::mimeTypes(), &QcAircraftDrag::mimeData);
    // The list numbers the groups by place, from 1, as they will read once the file is saved
    // and opened again (the writer numbers the sections by place); the row keeps the group's id.
    groupModel_ = new RowTableModel(
        {tr("ID"), tr("表示名")}, [this] { return static_cast<int>(groupRows_.size()); },
        [this](int row, int column, int role) -> QVariant {
            const GroupRow& shown = groupRows_[static_cast<size_t>(row)];
            if (role == Qt::DisplayRole)
                return column == 0 ? QString::number(row + 1) : shown.name;
            if (role == Qt::UserRole && column == 0)
                return static_cast<int>(shown.id);
            return {};
        },
        this);
    planeModel_ = new RowTableModel(
        {tr("タイプ"), tr("表示名")}, [this] { return static_cast<int>(planeRows_.size()); },
        [this](int row, int column, int role) -> QVariant {
            const PlaneRow& shown = planeRows_[static_cast<size_t>(row)];
            if (role == Qt::DisplayRole)
                return column == 0 ? shown.type : shown.name;
            if (role == Qt::UserRole && column == 0)
                return shown.path;
            return {};
        },
        this);

    const auto addList = [this](QTreeView* list, RowTableModel* model, const char* name,
                                const QString& caption, QLabel*& label, const char* labelName,
                                QAbstractItemView::SelectionMode selection) {
        list->setModel(model);
        setUpRowList(list, name, selection);
        popUpOnRightClick(list, [this, list](const QPoint& at) { popUpListMenu(list, at); });
        label = new QLabel(caption, client());
        label->setObjectName(QString::fromLatin1(labelName));
    };
    aircraftList_ = new QTreeView(client());
    addList(aircraftList_, aircraftModel_, "LstAircraft", tr("インストール済航空機"),
            aircraftLabel_, "LblAircraft", QAbstractItemView::ExtendedSelection);
    aircraftList_->setDragEnabled(true);
    aircraftList_->setDragDropMode(QAbstractItemView::DragOnly);
    aircraftList_->setDefaultDropAction(Qt::CopyAction);
    groupList_ = new QTreeView(client());
    addList(groupList_, groupModel_, "LstGroup", tr("敵の航空機の種類（グループ）"), groupLabel_,
            "LblGroup", QAbstractItemView::SingleSelection);
    qcPlaneList_ = new QTreeView(client());
    addList(qcPlaneList_, planeModel_, "LstQCPlane", tr("グループに所属する航空機"), qcPlaneLabel_,
            "LblQCPlane", QAbstractItemView::SingleSelection);
    qcPlaneList_->setAcceptDrops(true);
    qcPlaneList_->viewport()->setAcceptDrops(true);
    qcPlaneList_->viewport()->installEventFilter(this);

    // A click beside the rows keeps the row that was selected: the commands act on it.
    // The selection models speak for the lists: a list whose signals are blocked is quiet.
    for (QTreeView* list : {groupList_, qcPlaneList_}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [list] {
            QItemSelectionModel* selection = list->selectionModel();
            if (!list->signalsBlocked() && !selection->hasSelection() &&
                list->currentIndex().isValid())
                selection->select(list->currentIndex(),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        });
    }
    connect(aircraftList_, &QTreeView::doubleClicked, this, [this] { addQCPlane(); });
    connect(groupList_, &QTreeView::doubleClicked, this, [this] { editQCGroup(); });
    connect(qcPlaneList_, &QTreeView::doubleClicked, this, [this] { editQCPlane(); });
    // Rows the window selects itself block this: it shows the entries it means to.
    connect(groupList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& row) {
                if (row.isValid() && !groupList_->signalsBlocked())
                    setGrpPlanes(
                        static_cast<int16_t>(row.siblingAtColumn(0).data(Qt::UserRole).toInt()));
            });
}

void QcEditWindow::buildMenus() {
    QMenu* editMenu = addFileAndEditMenus();
    addMenuSeparator(editMenu, "mnuEdit_sepUndo");
    addEnemyGroupAction_ =
        addMenuEntry(this, editMenu, "mnuEdit_Add_EnemyGroup", tr("敵の航空機の種類を追加(&E)"),
                     QKeySequence(Qt::SHIFT | Qt::Key_Insert), [this] { addQCGroup(); });
    addEnemyAircraftAction_ = addMenuEntry(
        this, editMenu, "mnuEdit_Add_EnemyAircraft", tr("敵の航空機の種類に航空機を追加(&A)"),
        QKeySequence(Qt::CTRL | Qt::Key_Insert), [this] { addQCPlane(); });
    editAction_ = addMenuEntry(this, editMenu, "mnuEdit_Edit", tr("編集(&E)"), QKeySequence(),
                               [this] { editByFocus(); });
    addMenuSeparator(editMenu, "mnuEdit_sep1");
    deleteAction_ = addMenuEntry(this, editMenu, "mnuEdit_Delete", tr("削除(&D)"),
                                 QKeySequence(Qt::Key_Delete), [this] { deleteByFocus(); });
    connect(editMenu, &QMenu::aboutToShow, this, [this] { updateEditItems(); });

    // The lists' pop-up menu, not on the menu bar.
    edit2Menu_ = new QMenu(tr("編集２"), this);
    edit2Menu_->setObjectName(QStringLiteral("mnuEdit2"));
    edit2AddAction_ = addMenuEntry(this, edit2Menu_, "mnuEdit2_Add", tr("追加(&A)"), QKeySequence(),
                                   [this] { addByFocus(); });
    edit2EditAction_ = addMenuEntry(this, edit2Menu_, "mnuEdit2_Edit", tr("編集(&E)"),
                                    QKeySequence(), [this] { editByFocus(); });
    addMenuSeparator(edit2Menu_, "mnuEdit2_sep1");
    edit2DeleteAction_ = addMenuEntry(this, edit2Menu_, "mnuEdit2_Delete", tr("削除(&D)"),
                                      QKeySequence(), [this] { deleteByFocus(); });
    connect(edit2Menu_, &QMenu::aboutToShow, this, [this] { updateEditItems(); });

    addHelpMenu();
}

void QcEditWindow::setAircrafts() {
    std::vector<AircraftRow> rows;
    rows.reserve(aircrafts_->aircraftList.count());
    for (const auto& entry : aircrafts_->aircraftList)
        rows.push_back({qs(entry.value.directory()), qs(entry.value.title())});
    aircraftRows_ = std::move(rows);
    aircraftModel_->reset();
    setColumnWidths(aircraftList_, {200});
}

void QcEditWindow::setGroupList() {
    const QSignalBlocker block(groupList_);
    std::vector<GroupRow> rows;
    for (const auto& entry : document_->groups())
        rows.push_back({entry.value->groupId(), qs(entry.value->viewName())});
    groupRows_ = std::move(rows);
    groupModel_->reset();
    setColumnWidths(groupList_, {50, 200});
    selectRow(groupList_, 0);
}

int16_t QcEditWindow::selectedGroupId() const {
    const QModelIndex row = selectedRow(groupList_);
    return row.isValid() ? static_cast<int16_t>(row.data(Qt::UserRole).toInt()) : 0;
}

QcGroup* QcEditWindow::selectedQCGroup() {
    const int16_t id = selectedGroupId();
    if (!id || !document_->groups().keyExists(groupKey(id)))
        return nullptr;
    return &document_->group(id);
}

void QcEditWindow::setGrpPlanes(int16_t groupId) {
    std::vector<PlaneRow> rows;
    if (document_->groups().keyExists(groupKey(groupId))) {
        for (const auto& entry : document_->group(groupId).planes()) {
            const QcPlane& plane = *entry.value;
            // An installed aircraft goes by its own title, any other by its name from the file.
            const std::string& path = plane.aircraftPath();
            const std::string name = aircrafts_->aircraftList.keyExists(path)
                                         ? aircrafts_->aircraftList.item(path).title()
                                         : plane.viewName();
            rows.push_back(
                {qs(path),
                 plane.aircraftType() == kQCBomber ? QStringLiteral("B") : QStringLiteral("F"),
                 qs(name)});
        }
    }
    planeRows_ = std::move(rows);
    planeModel_->reset();
    setColumnWidths(qcPlaneList_, {50, 200});
    selectRow(qcPlaneList_, 0);
}

void QcEditWindow::showNoPlanes() {
    planeRows_.clear();
    planeModel_->reset();
}

QcPlane* QcEditWindow::selectedQCPlane() {
    const QModelIndex row = selectedRow(qcPlaneList_);
    const std::string key = row.isValid() ? us(rowKey(row)) : std::string();
    return key.empty() ? nullptr : document_->findPlane(key);
}

void QcEditWindow::addQCGroup() {
    // The group is made only once the user names it: a cancelled one leaves no trace.
    std::string name;
    {
        QcGroupEditDialog dialog(this);
        dialog.loadNewQCGroup();
        showModal(dialog, this);
        if (!dialog.isGroupSet())
            return;
        name = dialog.name();
    }
    UndoStep before = undoStep();
    int16_t id = 0;
    try {
        const QcGroup& group = document_->addGroup();
        id = group.groupId();
        // Its generated alias may name a string left from the file: the new name replaces it.
        document_->addString(aliasKey(group.defineName()), name);
    } catch (const std::exception& e) {
        showFailure(tr("敵の航空機の種類を追加できませんでした。"), e);
        return;
    }
    setGroupList();
    {
        const QSignalBlocker block(groupList_);
        selectRow(groupList_, static_cast<int>(groupRows_.size()) - 1);
    }
    setGrpPlanes(id);
    edited(std::move(before));
}

void QcEditWindow::editQCGroup() {
    QcGroup* group = selectedQCGroup();
    if (!group)
        return;
    const int index = selectedRow(groupList_).row();
    // The dialog names the group itself.
    UndoStep before = undoStep();
    QcGroupEditDialog dialog(this);
    dialog.loadQCGroup(*group);
    showModal(dialog, this);
    if (!dialog.isGroupSet())
        return;
    setGroupList();
    {
        const QSignalBlocker block(groupList_);
        selectRow(groupList_, index);
    }
    edited(std::move(before));
}

void QcEditWindow::removeGroup() {
    const QcGroup* group = selectedQCGroup();
    if (!group || (!group->planes().empty() && !mayRemoveGroup(*group)))
        return;
    const int index = selectedRow(groupList_).row();
    UndoStep before = undoStep();
    document_->removeGroup(group->groupId());
    // The groups after it move up a number, as the file will number them.
    setGroupList();
    {
        const QSignalBlocker block(groupList_);
        const int count = static_cast<int>(groupRows_.size());
        if (count > 0)
            selectRow(groupList_, index < count ? index : index - 1);
    }
    if (const int16_t shown = selectedGroupId())
        setGrpPlanes(shown);
    else
        showNoPlanes();
    edited(std::move(before));
}

bool QcEditWindow::mayRemoveGroup(const QcGroup& group) {
    // A group without a string of its own yet goes by its name in the file.
    const std::string name = group.viewName().empty() ? group.defineName() : group.viewName();
    const int count = static_cast<int>(group.planes().count());
    return askQuestion(
               us(caption()),
               joinLines({us(tr("敵の航空機の種類「%1」には、航空機が %n 機登録されています。",
                                nullptr, count)
                                 .arg(qs(name))),
                          us(tr("このグループを削除しますか？"))}),
               PromptButtons::YesNo, PromptAnswer::No, PromptIcon::Question) == PromptAnswer::Yes;
}

void QcEditWindow::addQCPlane() {
    QStringList folders;
    QModelIndexList selected = aircraftList_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : selected)
        folders << rowKey(row);
    addPlanes(folders);
}

void QcEditWindow::addPlanes(const QStringList& folders) {
    const int16_t g = selectedGroupId();
    if (!g || !document_->groups().keyExists(groupKey(g)))
        return;
    UndoStep before = undoStep();
    bool isAdded = false;
    for (const QString& folder : folders) {
        const std::string key = us(folder);
        if (!aircrafts_->aircraftList.keyExists(key))
            continue; // only installed aircraft join a group from here
        const Aircraft& aircraft = aircrafts_->aircraftList.item(key);
        // An aircraft already in the document keeps its entry, name and type.
        document_->addPlane(g, aircraft.directory(), aircraft.title());
        isAdded = true;
    }
    setGrpPlanes(g);
    if (isAdded)
        edited(std::move(before));
}

void QcEditWindow::removeQCPlane() {
    const QModelIndex row = selectedRow(qcPlaneList_);
    const int16_t g = selectedGroupId();
    if (!row.isValid() || !g || !document_->groups().keyExists(groupKey(g)))
        return;
    const std::string key = us(rowKey(row));
    const int index = row.row();
    UndoStep before = undoStep();
    planeModel_->removeRow(index, [this, index] { planeRows_.erase(planeRows_.begin() + index); });
    if (document_->group(g).planes().keyExists(key))
        document_->removePlane(g, key);
    // Unlike removing a group: taking the second-to-last of three or more selects the row
    // before it.
    const int count = static_cast<int>(planeRows_.size());
    if (count > 0)
        selectRow(qcPlaneList_, (index + 1 < count || index == 0) ? index : index - 1);
    edited(std::move(before));
}

void QcEditWindow::editQCPlane() {
    QcPlane* plane = selectedQCPlane();
    if (!plane)
        return;
    const int index = selectedRow(qcPlaneList_).row();
    // The dialog sets the entry's type itself.
    UndoStep before = undoStep();
    QcPlaneEditDialog dialog(this);
    dialog.loadQCPlane(*plane);
    showModal(dialog, this);
    if (!dialog.isPlaneSet())
        return;
    setGrpPlanes(selectedGroupId());
    selectRow(qcPlaneList_, index);
    edited(std::move(before));
}

QcEditWindow::UndoStep QcEditWindow::undoStep() const {
    return UndoStep{document_->clone(), selectedRow(groupList_).row(),
                    selectedRow(qcPlaneList_).row()};
}

void QcEditWindow::edited(UndoStep before) {
    // A new edit after undoing past the save: no step leads back to what the file holds.
    if (savedStep_ && *savedStep_ > undoSteps_.size())
        savedStep_.reset();
    undoSteps_.push_back(std::move(before));
    if (undoSteps_.size() > kUndoSteps) {
        undoSteps_.pop_front();
        if (savedStep_)
            savedStep_ = *savedStep_ > 0 ? std::optional<size_t>(*savedStep_ - 1) : std::nullopt;
    }
    isChanged_ = true;
    updateSaveAndUndo();
}

void QcEditWindow::undo() {
    if (undoSteps_.empty())
        return;
    UndoStep step = std::move(undoSteps_.back());
    undoSteps_.pop_back();
    document_ = std::move(step.document);
    isChanged_ = savedStep_ != undoSteps_.size();
    showDocument(step.groupRow, step.planeRow);
    updateSaveAndUndo();
}

void QcEditWindow::showDocument(int groupRow, int planeRow) {
    setGroupList();
    const int groups = static_cast<int>(groupRows_.size());
    if (groups > 0) {
        const QSignalBlocker block(groupList_);
        selectRow(groupList_, std::clamp(groupRow, 0, groups - 1));
    }
    if (const int16_t shown = selectedGroupId())
        setGrpPlanes(shown);
    else
        showNoPlanes();
    const int planes = static_cast<int>(planeRows_.size());
    if (planes > 0)
        selectRow(qcPlaneList_, std::clamp(planeRow, 0, planes - 1));
}

bool QcEditWindow::save() {
    const std::string file = gameFolder_ + quickCombatFileName();
    try {
        if (gameFolder_.empty())
            throw IoError(quickCombatFileName() + ": the game is not installed");
        if (!mayLoseUnreadLines() || !mayOverwrite(file))
            return false;
        writeQCFile(*document_, gameFolder_, quickCombatFileName(), PartialDocument::Write);
    } catch (const std::exception& e) {
        showFailure(tr("クイックコンバットファイルを保存できませんでした。"), e);
        return false;
    }
    isChanged_ = false;
    savedStep_ = undoSteps_.size();
    // The file holds what the document does now: no line of it is left unread, for the
    // documents Undo brings back either.
    document_->setUnreadFromLine(std::nullopt);
    for (const UndoStep& step : undoSteps_)
        step.document->setUnreadFromLine(std::nullopt);
    try {
        fileRead_ = platform::fileFingerprint(file);
    } catch (const Error&) {
        fileRead_ = {}; // unknown: the next save asks
    }
    updateSaveAndUndo();
    return true;
}

bool QcEditWindow::mayLoseUnreadLines() {
    const auto line = document_->unreadFromLine();
    if (!line)
        return true;
    const QString n = QString::number(*line);
    return askQuestion(
               us(caption()),
               joinLines(
                   {us(tr("クイックコンバットファイルは %1 行目から先を読み込めませんでした。")
                           .arg(n)),
                    us(tr("保存すると、%1 行目とそれより後のグループや行は失われます。").arg(n)),
                    us(tr("このまま保存しますか？"))}),
               PromptButtons::YesNo, PromptAnswer::No, PromptIcon::Warning) == PromptAnswer::Yes;
}

bool QcEditWindow::mayOverwrite(const std::string& file) {
    if (!platform::fileChangedSince(fileRead_, file))
        return true;
    return askQuestion(
               us(caption()),
               joinLines({us(tr("クイックコンバットファイルは、読み込んだ後に変更されています。")),
                          us(tr("上書きして保存しますか？"))}),
               PromptButtons::YesNo, PromptAnswer::No, PromptIcon::Warning) == PromptAnswer::Yes;
}

QcEditWindow::Focused QcEditWindow::focusedList() const {
    const QWidget* focused = focusWidget();
    if (!focused)
        return Focused::Other;
    for (auto [list, kind] :
         {std::pair{aircraftList_, Focused::Aircraft}, std::pair{groupList_, Focused::Group},
          std::pair{qcPlaneList_, Focused::QCPlane}}) {
        if (focused == list || focused == list->viewport())
            return kind;
    }
    return Focused::Other;
}

// The Edit items follow the focused list, so their shortcuts (Del) do too.
void QcEditWindow::updateEditItems() {
    const Focused focused = focusedList();
    const bool entries = focused == Focused::Group || focused == Focused::QCPlane;
    addEnemyGroupAction_->setEnabled(true);
    addEnemyAircraftAction_->setEnabled(true);
    editAction_->setEnabled(entries);
    deleteAction_->setEnabled(entries);
    edit2AddAction_->setEnabled(focused == Focused::Aircraft || focused == Focused::Group);
    edit2EditAction_->setEnabled(entries);
    edit2DeleteAction_->setEnabled(entries);
}

void QcEditWindow::addByFocus() {
    if (focusedList() == Focused::Aircraft)
        addQCPlane();
    else if (focusedList() == Focused::Group)
        addQCGroup();
}

void QcEditWindow::editByFocus() {
    if (focusedList() == Focused::Group)
        editQCGroup();
    else if (focusedList() == Focused::QCPlane)
        editQCPlane();
}

void QcEditWindow::deleteByFocus() {
    if (focusedList() == Focused::Group)
        removeGroup();
    else if (focusedList() == Focused::QCPlane)
        removeQCPlane();
}

void QcEditWindow::popUpListMenu(QTreeView* list, const QPoint& globalPos) {
    list->setFocus(Qt::MouseFocusReason);
    edit2Menu_->setDefaultAction(list == qcPlaneList_ ? edit2DeleteAction_ : edit2AddAction_);
    edit2Menu_->exec(globalPos);
}

// Only a drag from the installed aircraft adds: it carries their folder names.
bool QcEditWindow::dropOnEntries(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const auto folders = QcAircraftDrag::draggedFolders(drop->mimeData());
    if (!folders) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction); // a move would take the rows out of the left list
    drop->accept();
    if (event->type() == QEvent::Drop)
        addPlanes(*folders);
    return true;
}

void QcEditWindow::showFailure(const QString& lead, const std::exception& error) {
    showMessage(us(caption()), us(lead + QStringLiteral("\r\n") + failureText(error)),
                PromptIcon::Error);
}

void QcEditWindow::layoutControls() {
    const int width = client()->width();
    const int height = client()->height();
    const double w = width - 30; // three margins of 10
    const double h = height - 10;
    const double h2 = height - 35 - kListTop + 1;
    const auto px = [](double value) { return std::max(0, static_cast<int>(std::lround(value))); };

    const int aircraftWidth = px(0.44 * w);
    aircraftList_->setGeometry(kListLeft, kListTop, aircraftWidth, px(h - kListTop + 1));
    aircraftLabel_->setGeometry(kListLeft, kLabelTop, aircraftWidth,
                                aircraftLabel_->sizeHint().height());

    const int left = kListLeft + aircraftWidth - 1 + 10;
    const int groupWidth = px(0.56 * w);
    const int groupHeight = px(0.44 * h2);
    groupList_->setGeometry(left, kListTop, groupWidth, groupHeight);
    groupLabel_->setGeometry(left, kLabelTop, groupWidth, groupLabel_->sizeHint().height());

    const int planeTop = kListTop + groupHeight - 1 + 25;
    qcPlaneList_->setGeometry(left, planeTop, groupWidth, px(0.56 * h2));
    const int labelHeight = qcPlaneLabel_->sizeHint().height();
    qcPlaneLabel_->setGeometry(left, planeTop - labelHeight, groupWidth, labelHeight);
}

bool QcEditWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qcPlaneList_->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop)) {
        return dropOnEntries(event);
    }
    return EditingToolWindow::eventFilter(watched, event);
}

} // namespace vokari::ui
