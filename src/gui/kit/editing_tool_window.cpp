#include "gui/kit/editing_tool_window.h"

#include "common/prompt.h"
#include "gui/kit/message_box_dialog.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace vokari::ui {

EditingToolWindow::EditingToolWindow(const QString& name, const QString& caption, Undo undo,
                                     QWidget* parent)
    : ToolWindow(name, caption, Frame::Menus, parent), undo_(undo) {
    setUnsaved(false);
}

void EditingToolWindow::done(int result) {
    if (hasUnsavedEdits()) {
        const PromptAnswer answer =
            askQuestion(us(caption()), us(tr("データは変更されています。変更を保存しますか？")),
                        PromptButtons::YesNoCancel, PromptAnswer::Yes, PromptIcon::Warning);
        if (answer == PromptAnswer::Cancel)
            return;
        // A save that fails has been told; closing would lose the edits.
        if (answer == PromptAnswer::Yes && !saveEdits())
            return;
    }
    ToolWindow::done(result);
}

void EditingToolWindow::addToolBarWithSave(const char* name, bool hasUndoButton) {
    addToolBar(name);
    saveButton_ =
        addToolButton("TBarSave", QStyle::SP_DialogSaveButton, tr("保存"), [this] { saveEdits(); });
    if (undo_ == Undo::None || !hasUndoButton)
        return;
    toolBar()->addSeparator();
    undoButton_ =
        addToolButton("TBarUndo", QStyle::SP_ArrowBack, tr("元に戻す"), [this] { undo(); });
}

QMenu* EditingToolWindow::addFileAndEditMenus() {
    QMenu* fileMenu = addFileMenu();
    saveAction_ = addMenuEntry(this, fileMenu, "mnuFile_Save", tr("保存(&S)"),
                               QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveEdits(); });
    addExitEntry(fileMenu);
    connect(fileMenu, &QMenu::aboutToShow, this, [this] { saveAction_->setEnabled(canSave()); });

    QMenu* editMenu = addEditMenu();
    if (undo_ == Undo::None)
        return editMenu;
    undoAction_ = addMenuEntry(this, editMenu, "mnuEdit_Undo", tr("元に戻す(&U)"),
                               QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo(); });
    connect(editMenu, &QMenu::aboutToShow, this, [this] { undoAction_->setEnabled(canUndo()); });
    return editMenu;
}

void EditingToolWindow::updateSaveAndUndo() {
    setUnsaved(hasUnsavedEdits());
    // The menu entries follow too, so their shortcuts do.
    for (QAction* save : {saveButton_, saveAction_})
        save->setEnabled(canSave());
    if (undo_ == Undo::None)
        return;
    for (QAction* undo : {undoButton_, undoAction_})
        if (undo)
            undo->setEnabled(canUndo());
}

} // namespace vokari::ui
