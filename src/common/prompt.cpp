#include "common/prompt.h"

#include "platform/text.h"

namespace vokari {
namespace {

class DefaultPrompt : public Prompt {
public:
    PromptAnswer ask(const PromptRequest& request) override { return request.defaultAnswer; }
};

Prompt& fallbackPrompt() {
    static DefaultPrompt fallback;
    return fallback;
}

Prompt*& current() {
    static Prompt* p = &fallbackPrompt();
    return p;
}

} // namespace

Prompt& prompt() {
    return *current();
}

void setPrompt(Prompt* p) {
    current() = p ? p : &fallbackPrompt();
}

void showMessage(std::string_view title, std::string_view text, PromptIcon icon) {
    prompt().ask(PromptRequest{std::string(title), std::string(text), icon, PromptButtons::Ok,
                               PromptAnswer::Ok});
}

PromptAnswer askQuestion(std::string_view title, std::string_view text, PromptButtons buttons,
                         PromptAnswer defaultAnswer, PromptIcon icon) {
    return prompt().ask(
        PromptRequest{std::string(title), std::string(text), icon, buttons, defaultAnswer});
}

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string out;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first)
            out.append(kCrLf);
        out.append(line);
        first = false;
    }
    return out;
}

ScriptedPrompt::ScriptedPrompt() : previous_(&prompt()) {
    setPrompt(this);
}

ScriptedPrompt::~ScriptedPrompt() {
    setPrompt(previous_);
}

PromptAnswer ScriptedPrompt::ask(const PromptRequest& request) {
    asked_.push_back(request);
    if (answers_.empty())
        return request.defaultAnswer;
    const PromptAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

} // namespace vokari
