#include "gui/kit/editing_tool_window.h"

#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "common/prompt.h"

#include <QKeyEvent>

namespace vokari::ui {

EditingToolWindow::EditingToolWindow(QString placementName, QWidget* parent)
    : QDialog(parent), placementName_(std::move(placementName)) {}

void EditingToolWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void EditingToolWindow::done(int result) {
    if (hasUnsavedEdits()) {
        const PromptAnswer answer =
            askQuestion(us(windowTitle()), us(tr("データは変更されています。変更を保存しますか？")),
                        PromptButtons::YesNoCancel, PromptAnswer::Yes, PromptIcon::Warning);
        if (answer == PromptAnswer::Cancel)
            return;
        // A save that fails has been told; closing would lose the edits.
        if (answer == PromptAnswer::Yes && !saveEdits())
            return;
    }
    savePlacement(this, placementName_);
    QDialog::done(result);
}

} // namespace vokari::ui
