#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Every message box and question of the program goes through here, so tests can answer them
// and see what was asked.
namespace vokari {

enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct PromptRequest {
    std::string title; // the asking window's caption
    std::string text;  // lines joined by CR LF
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    PromptAnswer defaultAnswer = PromptAnswer::Ok;
};

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(const PromptRequest& request) = 0;
};

// The prompt in use. Until a window layer installs one, questions get their default answer.
Prompt& prompt();
// Installs `p` (not owned); nullptr restores the default.
void setPrompt(Prompt* p);

// Shorthands for the common shapes.
void showMessage(std::string_view title, std::string_view text, PromptIcon icon);
PromptAnswer askQuestion(std::string_view title, std::string_view text, PromptButtons buttons,
                         PromptAnswer defaultAnswer, PromptIcon icon = PromptIcon::Question);

// Lines joined by CR LF, as message boxes show them.
std::string joinLines(std::initializer_list<std::string_view> lines);

// Answers from a script, for tests: each question takes the next queued answer (or its default
// when none is left) and is recorded.
class ScriptedPrompt : public Prompt {
public:
    ScriptedPrompt();           // installs itself
    ~ScriptedPrompt() override; // restores the default
    void queue(PromptAnswer answer) { answers_.push_back(answer); }
    PromptAnswer ask(const PromptRequest& request) override;
    const std::vector<PromptRequest>& asked() const { return asked_; }
    void clear() { asked_.clear(); }

private:
    std::deque<PromptAnswer> answers_;
    std::vector<PromptRequest> asked_;
    Prompt* previous_ = nullptr;
};

} // namespace vokari
