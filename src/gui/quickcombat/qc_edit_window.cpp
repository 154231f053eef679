#include "gui/quickcombat/qc_edit_window.h"

#include "aircraft/aircraft_list.h"
#include "gui/kit/about_dialog.h"
#include "gui/kit/failure_dialog.h"
#include "frame/installation.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "gui/kit/tool_window.h"
#include "platform/error.h"
#include "common/prompt.h"
#include "gui/quickcombat/qc_aircraft_drag_window.h"
#include "quickcombat/qc_file.h"
#include "gui/quickcombat/qc_group_edit_dialog.h"
#include "quickcombat/qc_groups.h"
#include "gui/quickcombat/qc_plane_edit_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace vokari::ui {
namespace {

const QString kPlacementName = QStringLiteral("FrmQCEdit");

// The smallest window, in twips.
constexpr double kMinWidthTwips = 9720;
constexpr double kMinHeightTwips = 7890;

// Where the form puts the lists and their labels, in pixels of the window's inside.
constexpr int kLabelTop = 40;
constexpr int kListLeft = 8;
constexpr int kListTop = 56;

// The keys come back to the editor afterwards, with or without a window manager.
void showModal(QDialog& dialog, QWidget* owner) {
    dialog.exec();
    owner->activateWindow();
}

} // namespace

FrmQCEdit::FrmQCEdit(int16_t pVer, QWidget* parent)
    : EditingToolWindow(kPlacementName, parent), document(std::make_unique<ClsQCGroups>()),
      aircrafts(std::make_unique<ClsAircraftList>()), gameFolder_(gameFolder(pVer)) {
    setObjectName(kPlacementName);
    setWindowTitle(tr("クイックコンバット編集"));
    setSizeGripEnabled(true);
    buildControls();
    buildMenus();

    setMinimumSizeInTwips(this, kMinWidthTwips, kMinHeightTwips);
    restorePlacement(this, kPlacementName, true);

    try {
        aircrafts->setVersion(pVer);
        aircrafts->readAircrafts(false, false);
    } catch (const std::exception& e) {
        showFailure(tr("航空機の一覧を読み込めませんでした。"), e);
    }
    try {
        if (gameFolder_.empty())
            throw IoError(quickCombatFileName() + ": the game is not installed");
        readQCFile(document, gameFolder_, quickCombatFileName());
    } catch (const std::exception& e) {
        // What was read stays to work on; the file is only written when the user saves.
        if (!document)
            document = std::make_unique<ClsQCGroups>();
        showFailure(tr("クイックコンバットファイルを読み込めませんでした。"), e);
    }
    setGroupList();
    setAircrafts();
    if (const int16_t id = selectedGroupId())
        setGrpPlanes(id);
    boolChanged = false;

    updateEditItems();
    connect(qApp, &QApplication::focusChanged, this, [this] { updateEditItems(); });
}

FrmQCEdit::~FrmQCEdit() = default;

void FrmQCEdit::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));

    Toolbar1 = makeToolBar("Toolbar1", client_);
    const auto addButton = [this](const char* name, QStyle::StandardPixmap icon, const QString& tip,
                                  auto action) {
        QAction* button = addToolButton(Toolbar1, name, icon, tip);
        connect(button, &QAction::triggered, this, action);
    };
    addButton("TBarSave", QStyle::SP_DialogSaveButton, tr("保存"), [this] { save(); });
    for (int i = 0; i < 3; ++i)
        Toolbar1->addSeparator();
    addButton("TBarAddGroup", QStyle::SP_FileDialogNewFolder, tr("敵の航空機の種類を追加"),
              [this] { addQCGroup(); });
    addButton("TBarEditGroup", QStyle::SP_FileDialogDetailedView, tr("敵の航空機の種類を編集"),
              [this] { editQCGroup(); });
    addButton("TBarRemoveGroup", QStyle::SP_TrashIcon, tr("敵の航空機の種類を削除"),
              [this] { removeGroup(); });
    Toolbar1->addSeparator();
    addButton("TBarAddPlane", QStyle::SP_ArrowRight,
              tr("インストールされた航空機を敵の航空機の種類に登録"), [this] { addQCPlane(); });
    addButton("TBarEditPlane", QStyle::SP_FileDialogInfoView, tr("航空機の種別を編集"),
              [this] { editQCPlane(); });
    addButton("TBarRemovePlane", QStyle::SP_DialogDiscardButton,
              tr("敵の航空機の種類から航空機を削除"), [this] { removeQCPlane(); });

    const auto addList = [this](QTreeWidget* list, const char* name, const QString& caption,
                                QLabel*& label, const char* labelName,
                                QAbstractItemView::SelectionMode selection) {
        setUpRowList(list, name, selection);
        list->viewport()->installEventFilter(this);
        label = new QLabel(caption, client_);
        label->setObjectName(QString::fromLatin1(labelName));
    };
    LstAircraft = new QCAircraftDragList(client_);
    addList(LstAircraft, "LstAircraft", tr("インストール済航空機"), LblAircraft, "LblAircraft",
            QAbstractItemView::ExtendedSelection);
    LstAircraft->setDragEnabled(true);
    LstAircraft->setDragDropMode(QAbstractItemView::DragOnly);
    LstAircraft->setDefaultDropAction(Qt::CopyAction);
    LstGroup = new QTreeWidget(client_);
    addList(LstGroup, "LstGroup", tr("敵の航空機の種類（グループ）"), LblGroup, "LblGroup",
            QAbstractItemView::SingleSelection);
    LstQCPlane = new QTreeWidget(client_);
    addList(LstQCPlane, "LstQCPlane", tr("グループに所属する航空機"), LblQCPlane, "LblQCPlane",
            QAbstractItemView::SingleSelection);
    LstQCPlane->setAcceptDrops(true);
    LstQCPlane->viewport()->setAcceptDrops(true);

    // A click beside the rows keeps the row that was selected: the commands act on it.
    for (QTreeWidget* list : {LstGroup, LstQCPlane}) {
        connect(list, &QTreeWidget::itemSelectionChanged, this, [list] {
            if (list->selectedItems().isEmpty() && list->currentItem())
                list->currentItem()->setSelected(true);
        });
    }
    connect(LstAircraft, &QTreeWidget::itemDoubleClicked, this, [this] { addQCPlane(); });
    connect(LstGroup, &QTreeWidget::itemDoubleClicked, this, [this] { editQCGroup(); });
    connect(LstQCPlane, &QTreeWidget::itemDoubleClicked, this, [this] { editQCPlane(); });
    // Rows the window selects itself block this: it shows the entries it means to.
    connect(LstGroup, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        if (row)
            setGrpPlanes(row->text(0).toShort());
    });
    client_->installEventFilter(this);

    fillWithClient(this, client_);
}

void FrmQCEdit::buildMenus() {
    menuBar_ = addMenuBar(this);

    mnuFile = addMenu(menuBar_, "mnuFile", tr("ファイル(&F)"));
    mnuFile_Save = addMenuEntry(this, mnuFile, "mnuFile_Save", tr("保存(&S)"),
                                QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    addMenuSeparator(mnuFile, "mnuFile_sep1");
    mnuFile_Exit = addExitEntry(this, mnuFile, tr("終了(&X)"));

    mnuEdit = addMenu(menuBar_, "mnuEdit", tr("編集(&E)"));
    mnuEdit_Add_EnemyGroup =
        addMenuEntry(this, mnuEdit, "mnuEdit_Add_EnemyGroup", tr("敵の航空機の種類を追加(&E)"),
                     QKeySequence(Qt::SHIFT | Qt::Key_Insert), [this] { addQCGroup(); });
    mnuEdit_Add_EnemyAircraft = addMenuEntry(
        this, mnuEdit, "mnuEdit_Add_EnemyAircraft", tr("敵の航空機の種類に航空機を追加(&A)"),
        QKeySequence(Qt::CTRL | Qt::Key_Insert), [this] { addQCPlane(); });
    mnuEdit_Edit = addMenuEntry(this, mnuEdit, "mnuEdit_Edit", tr("編集(&E)"), QKeySequence(),
                                [this] { editByFocus(); });
    addMenuSeparator(mnuEdit, "mnuEdit_sep1");
    mnuEdit_Delete = addMenuEntry(this, mnuEdit, "mnuEdit_Delete", tr("削除(&D)"),
                                  QKeySequence(Qt::Key_Delete), [this] { deleteByFocus(); });
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { updateEditItems(); });

    // The lists' pop-up menu, not on the menu bar.
    mnuEdit2 = new QMenu(tr("編集２"), this);
    mnuEdit2->setObjectName(QStringLiteral("mnuEdit2"));
    mnuEdit2_Add = addMenuEntry(this, mnuEdit2, "mnuEdit2_Add", tr("追加(&A)"), QKeySequence(),
                                [this] { addByFocus(); });
    mnuEdit2_Edit = addMenuEntry(this, mnuEdit2, "mnuEdit2_Edit", tr("編集(&E)"), QKeySequence(),
                                 [this] { editByFocus(); });
    addMenuSeparator(mnuEdit2, "mnuEdit2_sep1");
    mnuEdit2_Delete = addMenuEntry(this, mnuEdit2, "mnuEdit2_Delete", tr("削除(&D)"),
                                   QKeySequence(), [this] { deleteByFocus(); });
    connect(mnuEdit2, &QMenu::aboutToShow, this, [this] { updateEditItems(); });

    mnuHelp = addMenu(menuBar_, "mnuHelp", tr("ヘルプ(&H)"));
    addMenuSeparator(mnuHelp, "mnuHelp_sep1");
    mnuHelp_Ver = addMenuEntry(this, mnuHelp, "mnuHelp_Ver", tr("バージョン情報(&A)"),
                               QKeySequence(), [this] { FrmAbout(this).exec(); });
}

void FrmQCEdit::setAircrafts() {
    setColumns(LstAircraft, {tr("表示名")}, {200});
    QList<QTreeWidgetItem*> rows;
    for (const auto& entry : aircrafts->aircraftList) {
        auto* row = new QTreeWidgetItem(QStringList{qs(entry.value.title())});
        row->setData(0, Qt::UserRole, qs(entry.value.directory()));
        rows.append(row);
    }
    LstAircraft->addTopLevelItems(rows);
}

void FrmQCEdit::setGroupList() {
    const QSignalBlocker block(LstGroup);
    setColumns(LstGroup, {tr("ID"), tr("表示名")}, {50, 200});
    QList<QTreeWidgetItem*> rows;
    for (const auto& entry : document->Groups()) {
        const ClsQCGrp& group = *entry.value;
        rows.append(new QTreeWidgetItem(
            QStringList{QString::number(group.groupId()), qs(group.viewName())}));
    }
    LstGroup->addTopLevelItems(rows);
    selectRow(LstGroup, 0);
}

int16_t FrmQCEdit::selectedGroupId() const {
    const QTreeWidgetItem* row = selectedRow(LstGroup);
    return row ? row->text(0).toShort() : 0;
}

ClsQCGrp* FrmQCEdit::selectedQCGroup() {
    const int16_t id = selectedGroupId();
    if (!id || !document->Groups().keyExists(groupKey(id)))
        return nullptr;
    return &document->group(id);
}

void FrmQCEdit::setGrpPlanes(int16_t groupId) {
    setColumns(LstQCPlane, {tr("タイプ"), tr("表示名")}, {50, 200});
    if (!document->Groups().keyExists(groupKey(groupId)))
        return;
    QList<QTreeWidgetItem*> rows;
    for (const auto& entry : document->group(groupId).Planes()) {
        const ClsQCPlane& plane = *entry.value;
        // An installed aircraft goes by its own title, any other by its name from the file.
        const std::string& path = plane.aircraftPath();
        const std::string name = aircrafts->aircraftList.keyExists(path)
                                     ? aircrafts->aircraftList.item(path).title()
                                     : plane.viewName();
        auto* row = new QTreeWidgetItem(QStringList{
            plane.aircraftType() == kQCBomber ? QStringLiteral("B") : QStringLiteral("F"),
            qs(name)});
        row->setData(0, Qt::UserRole, qs(path));
        rows.append(row);
    }
    LstQCPlane->addTopLevelItems(rows);
    selectRow(LstQCPlane, 0);
}

ClsQCPlane* FrmQCEdit::selectedQCPlane() {
    const QTreeWidgetItem* row = selectedRow(LstQCPlane);
    const std::string key = row ? us(rowKey(row)) : std::string();
    return key.empty() ? nullptr : document->findPlane(key);
}

void FrmQCEdit::addQCGroup() {
    ClsQCGrp* group = nullptr;
    try {
        group = &document->addGroup();
    } catch (const std::exception& e) {
        showFailure(tr("敵の航空機の種類を追加できませんでした。"), e);
        return;
    }
    const int16_t id = group->groupId();
    {
        FrmQCGroupEdit dialog(this);
        dialog.loadQCGroup(*group);
        showModal(dialog, this);
    }
    // Judged by the name: a group left without one is taken out again (its id stays used).
    if (group->viewName().empty()) {
        document->removeGroup(id);
        return;
    }
    setGroupList();
    {
        const QSignalBlocker block(LstGroup);
        selectRow(LstGroup, LstGroup->topLevelItemCount() - 1);
    }
    setGrpPlanes(id);
    boolChanged = true;
}

void FrmQCEdit::editQCGroup() {
    ClsQCGrp* group = selectedQCGroup();
    if (!group)
        return;
    const int index = LstGroup->indexOfTopLevelItem(selectedRow(LstGroup));
    FrmQCGroupEdit dialog(this);
    dialog.loadQCGroup(*group);
    showModal(dialog, this);
    if (!dialog.boolSetGroup())
        return;
    setGroupList();
    {
        const QSignalBlocker block(LstGroup);
        selectRow(LstGroup, index);
    }
    boolChanged = true;
}

void FrmQCEdit::removeGroup() {
    QTreeWidgetItem* row = selectedRow(LstGroup);
    if (!row)
        return;
    const int index = LstGroup->indexOfTopLevelItem(row);
    const int16_t id = row->text(0).toShort();
    {
        const QSignalBlocker block(LstGroup);
        delete row;
        document->removeGroup(id);
        const int count = LstGroup->topLevelItemCount();
        if (count > 0)
            selectRow(LstGroup, index < count ? index : index - 1);
    }
    if (const int16_t shown = selectedGroupId())
        setGrpPlanes(shown);
    else
        LstQCPlane->clear();
    boolChanged = true;
}

void FrmQCEdit::addQCPlane() {
    QStringList folders;
    for (int i = 0; i < LstAircraft->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = LstAircraft->topLevelItem(i);
        if (row->isSelected())
            folders << rowKey(row);
    }
    addPlanes(folders);
}

void FrmQCEdit::addPlanes(const QStringList& folders) {
    const int16_t g = selectedGroupId();
    if (!g || !document->Groups().keyExists(groupKey(g)))
        return;
    for (const QString& folder : folders) {
        const std::string key = us(folder);
        if (!aircrafts->aircraftList.keyExists(key))
            continue; // only installed aircraft join a group from here
        const ClsAirCraft& aircraft = aircrafts->aircraftList.item(key);
        // An aircraft already in the document keeps its entry, name and type.
        document->addPlane(g, aircraft.directory(), aircraft.title());
        boolChanged = true;
    }
    setGrpPlanes(g);
}

void FrmQCEdit::removeQCPlane() {
    QTreeWidgetItem* row = selectedRow(LstQCPlane);
    const int16_t g = selectedGroupId();
    if (!row || !g || !document->Groups().keyExists(groupKey(g)))
        return;
    const std::string key = us(rowKey(row));
    const int index = LstQCPlane->indexOfTopLevelItem(row);
    delete row;
    ClsQCGrp& group = document->group(g);
    if (group.Planes().keyExists(key))
        group.removePlane(key);
    // Unlike removing a group: taking the second-to-last of three or more selects the row
    // before it.
    const int count = LstQCPlane->topLevelItemCount();
    if (count > 0)
        selectRow(LstQCPlane, (index + 1 < count || index == 0) ? index : index - 1);
    boolChanged = true;
}

void FrmQCEdit::editQCPlane() {
    ClsQCPlane* plane = selectedQCPlane();
    if (!plane)
        return;
    const int index = LstQCPlane->indexOfTopLevelItem(selectedRow(LstQCPlane));
    FrmQCPlaneEdit dialog(this);
    dialog.loadQCPlane(*plane);
    showModal(dialog, this);
    if (!dialog.boolSetPlane())
        return;
    setGrpPlanes(selectedGroupId());
    selectRow(LstQCPlane, index);
    boolChanged = true;
}

bool FrmQCEdit::save() {
    try {
        if (gameFolder_.empty())
            throw IoError(quickCombatFileName() + ": the game is not installed");
        writeQCFile(*document, gameFolder_, quickCombatFileName());
    } catch (const std::exception& e) {
        showFailure(tr("クイックコンバットファイルを保存できませんでした。"), e);
        return false;
    }
    boolChanged = false;
    return true;
}

FrmQCEdit::Focused FrmQCEdit::focusedList() const {
    const QWidget* focused = focusWidget();
    if (!focused)
        return Focused::Other;
    for (auto [list, kind] :
         {std::pair{LstAircraft, Focused::Aircraft}, std::pair{LstGroup, Focused::Group},
          std::pair{LstQCPlane, Focused::QCPlane}}) {
        if (focused == list || focused == list->viewport())
            return kind;
    }
    return Focused::Other;
}

// The Edit items follow the focused list, so their shortcuts (Del) do too.
void FrmQCEdit::updateEditItems() {
    const Focused focused = focusedList();
    const bool entries = focused == Focused::Group || focused == Focused::QCPlane;
    mnuEdit_Add_EnemyGroup->setEnabled(true);
    mnuEdit_Add_EnemyAircraft->setEnabled(true);
    mnuEdit_Edit->setEnabled(entries);
    mnuEdit_Delete->setEnabled(entries);
    mnuEdit2_Add->setEnabled(focused == Focused::Aircraft || focused == Focused::Group);
    mnuEdit2_Edit->setEnabled(entries);
    mnuEdit2_Delete->setEnabled(entries);
}

void FrmQCEdit::addByFocus() {
    if (focusedList() == Focused::Aircraft)
        addQCPlane();
    else if (focusedList() == Focused::Group)
        addQCGroup();
}

void FrmQCEdit::editByFocus() {
    if (focusedList() == Focused::Group)
        editQCGroup();
    else if (focusedList() == Focused::QCPlane)
        editQCPlane();
}

void FrmQCEdit::deleteByFocus() {
    if (focusedList() == Focused::Group)
        removeGroup();
    else if (focusedList() == Focused::QCPlane)
        removeQCPlane();
}

void FrmQCEdit::popUpEditMenu(QTreeWidget* list, const QPoint& globalPos) {
    list->setFocus(Qt::MouseFocusReason);
    mnuEdit2->setDefaultAction(list == LstQCPlane ? mnuEdit2_Delete : mnuEdit2_Add);
    mnuEdit2->exec(globalPos);
}

// Only a drag from the installed aircraft adds: it carries their folder names.
bool FrmQCEdit::dropOnEntries(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const auto folders = QCAircraftDragList::draggedFolders(drop->mimeData());
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

void FrmQCEdit::showFailure(const QString& lead, const std::exception& error) {
    showMessage(us(windowTitle()), us(lead + QStringLiteral("\r\n") + failureText(error)),
                PromptIcon::Error);
}

void FrmQCEdit::layoutControls() {
    const int width = client_->width();
    const int height = client_->height();
    Toolbar1->setGeometry(0, 0, width, Toolbar1->sizeHint().height());
    const double w = width - 30; // three margins of 10
    const double h = height - 10;
    const double h2 = height - 35 - kListTop + 1;
    const auto px = [](double value) { return std::max(0, static_cast<int>(std::lround(value))); };

    const int aircraftWidth = px(0.44 * w);
    LstAircraft->setGeometry(kListLeft, kListTop, aircraftWidth, px(h - kListTop + 1));
    LblAircraft->setGeometry(kListLeft, kLabelTop, aircraftWidth, LblAircraft->sizeHint().height());

    const int left = kListLeft + aircraftWidth - 1 + 10;
    const int groupWidth = px(0.56 * w);
    const int groupHeight = px(0.44 * h2);
    LstGroup->setGeometry(left, kListTop, groupWidth, groupHeight);
    LblGroup->setGeometry(left, kLabelTop, groupWidth, LblGroup->sizeHint().height());

    const int planeTop = kListTop + groupHeight - 1 + 25;
    LstQCPlane->setGeometry(left, planeTop, groupWidth, px(0.56 * h2));
    const int labelHeight = LblQCPlane->sizeHint().height();
    LblQCPlane->setGeometry(left, planeTop - labelHeight, groupWidth, labelHeight);
}

bool FrmQCEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        layoutControls();
    } else if (watched == LstQCPlane->viewport() &&
               (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
                event->type() == QEvent::Drop)) {
        return dropOnEntries(event);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (QTreeWidget* list : {LstAircraft, LstGroup, LstQCPlane}) {
            if (watched == list->viewport()) {
                popUpEditMenu(list, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vokari::ui
