#pragma once

#include <QDialog>
#include <QString>

class QKeyEvent;

// A tool window that keeps edits in memory until the user saves: Escape does not close it (it
// has menus, it is no dialog box), and closing with unsaved edits asks whether to save them.
namespace vokari::ui {

class EditingToolWindow : public QDialog {
    Q_OBJECT

public:
    // `placementName`: the settings section where the window keeps its placement.
    EditingToolWindow(QString placementName, QWidget* parent);

    // Closing asks about unsaved edits first; Cancel, or a save that fails, keeps it open.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // Edits not on disk yet.
    virtual bool hasUnsavedEdits() const = 0;
    // Writes them; false when that failed (the user has been told).
    virtual bool saveEdits() = 0;

private:
    QString placementName_;
};

} // namespace vokari::ui
