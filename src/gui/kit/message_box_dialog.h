#pragma once

#include "common/prompt.h"

#include <QString>
#include <string>

// The prompt on screen: a QMessageBox over the active window.
namespace vokari::ui {

class MessageBoxPrompt : public Prompt {
public:
    PromptAnswer ask(const PromptRequest& request) override;
};

// UTF-8 text of the core <-> Qt text at the widget boundary.
inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string us(const QString& text) {
    return text.toStdString();
}

// Registers the windows' resources (icons) once; the windows live in a static library.
void ensureUiResources();

} // namespace vokari::ui
