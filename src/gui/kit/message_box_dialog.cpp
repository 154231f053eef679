#include "gui/kit/message_box_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

static void initUiResources() {
    Q_INIT_RESOURCE(ui_resources);
}

namespace vokari::ui {

void ensureUiResources() {
    static const bool done = (initUiResources(), true);
    (void)done;
}

namespace {

QMessageBox::StandardButton toButton(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

PromptAnswer MessageBoxPrompt::ask(const PromptRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(qs(request.title));
    // Message texts are CR LF joined, as the system writes them; Qt wants plain line feeds.
    box.setText(qs(request.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (request.icon) {
    case PromptIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case PromptIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case PromptIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case PromptIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case PromptIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons buttons;
    switch (request.buttons) {
    case PromptButtons::Ok:
        buttons = QMessageBox::Ok;
        break;
    case PromptButtons::OkCancel:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case PromptButtons::YesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case PromptButtons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    box.setStandardButtons(buttons);
    // Our own texts, so the answers read in the window's language even where Qt's catalogue
    // is missing.
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Yes, QT_TRANSLATE_NOOP("vokari::ui::MessageBoxPrompt", "はい")},
        {QMessageBox::No, QT_TRANSLATE_NOOP("vokari::ui::MessageBoxPrompt", "いいえ")},
        {QMessageBox::Cancel, QT_TRANSLATE_NOOP("vokari::ui::MessageBoxPrompt", "キャンセル")},
        {QMessageBox::Ok, QT_TRANSLATE_NOOP("vokari::ui::MessageBoxPrompt", "OK")}};
    for (const auto& [button, text] : texts) {
        if (QAbstractButton* shown = box.button(button))
            shown->setText(QApplication::translate("vokari::ui::MessageBoxPrompt", text));
    }
    box.setDefaultButton(toButton(request.defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    default:
        // Closed with Escape or the close box: the answer that backs out.
        if (request.buttons == PromptButtons::YesNo)
            return PromptAnswer::No;
        return request.buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
    }
}

} // namespace vokari::ui
