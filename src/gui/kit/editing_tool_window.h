#pragma once

#include "gui/kit/tool_window.h"

#include <QString>

class QAction;
class QMenu;

// A tool window that keeps edits in memory until the user saves: closing with unsaved edits asks
// whether to save them, and the title marks them. Saving, and undoing for a window that keeps an
// undo record, are offered on the toolbar and in the menus.
namespace vokari::ui {

class EditingToolWindow : public ToolWindow {
    Q_OBJECT

public:
    // Closing asks about unsaved edits first; Cancel, or a save that fails, keeps it open.
    void done(int result) override;

protected:
    // OneStep takes back the last edit only, Steps the edits one after another.
    enum class Undo { None, OneStep, Steps };

    // A window with menus; `name` as for ToolWindow.
    EditingToolWindow(const QString& name, const QString& caption, Undo undo, QWidget* parent);

    // Edits not on disk yet.
    virtual bool hasUnsavedEdits() const = 0;
    // Writes them; false when that failed (the user has been told).
    virtual bool saveEdits() = 0;
    // Whether saving is offered: while there are unsaved edits.
    virtual bool canSave() const { return hasUnsavedEdits(); }
    // A step back, for a window with undo.
    virtual bool canUndo() const { return false; }
    virtual void undo() {}

    // The toolbar `name`, opening with "TBarSave", then with undo and `hasUndoButton` a
    // separator and "TBarUndo".
    void addToolBarWithSave(const char* name, bool hasUndoButton = true);
    // The File menu, "mnuFile_Save" (Ctrl+S) then Exit, and the Edit menu for the window to fill,
    // opening with "mnuEdit_Undo" (Ctrl+Z) for a window with undo.
    QMenu* addFileAndEditMenus();
    // Enables saving and undoing, on the toolbar and in the menus, and marks the title, as the
    // edits stand: call it whenever they change. The menus also follow them as they open.
    void updateSaveAndUndo();

private:
    Undo undo_;
    QAction* saveButton_ = nullptr;
    QAction* undoButton_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* undoAction_ = nullptr;
};

} // namespace vokari::ui
