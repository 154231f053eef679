#include "app/message_box_dialog.h"
#include "support/qt_app.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace vokari;

namespace {

// Asks through the on-screen prompt and lets `look` inspect and answer the box it shows.
PromptAnswer askOnScreen(const PromptRequest& request, std::function<void(QMessageBox&)> look) {
    vokari::test::qtApp();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        look(*box);
    });
    ui::MessageBoxPrompt prompt;
    const PromptAnswer answer = prompt.ask(request);
    EXPECT_TRUE(seen);
    return answer;
}

TEST(MessageBoxPrompt, ShowsTheRequestAndReturnsTheButtonPressed) {
    const PromptRequest request{"FrmQCEdit", joinLines({"一行目", "二行目"}), PromptIcon::Question,
                                PromptButtons::YesNoCancel, PromptAnswer::No};
    const PromptAnswer answer = askOnScreen(request, [](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("FrmQCEdit"));
        EXPECT_EQ(box.text(), QString::fromUtf8("一行目\n二行目"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(answer, PromptAnswer::Yes);
}

TEST(MessageBoxPrompt, ClosingTheBoxBacksOut) {
    const std::pair<PromptButtons, PromptAnswer> cases[] = {
        {PromptButtons::YesNo, PromptAnswer::No},
        {PromptButtons::OkCancel, PromptAnswer::Cancel},
        {PromptButtons::Ok, PromptAnswer::Ok}};
    for (const auto& [buttons, expected] : cases) {
        const PromptRequest request{"t", "x", PromptIcon::Error, buttons, PromptAnswer::Ok};
        EXPECT_EQ(askOnScreen(request, [](QMessageBox& box) { box.reject(); }), expected);
    }
}

} // namespace
