#include "gui/kit/language_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "support/qt_app.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
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

TEST(MessageBoxPrompt, AnswersReadInTheWindowsLanguage) {
    vokari::test::qtApp();
    const PromptRequest request{"t", "x", PromptIcon::Question, PromptButtons::YesNoCancel,
                                PromptAnswer::Yes};
    const auto buttonTexts = [&] {
        QStringList texts;
        askOnScreen(request, [&](QMessageBox& box) {
            for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                texts << box.button(button)->text();
            box.button(QMessageBox::Cancel)->click();
        });
        return texts.join(QLatin1Char('/'));
    };
    EXPECT_TRUE(ui::installUiLanguage("en")) << "the English catalogue is compiled in";
    EXPECT_EQ(buttonTexts(), QStringLiteral("Yes/No/Cancel"));

    // Japanese even where Qt's own catalogue is missing; where it is there, Qt's buttons too.
    const bool qtCatalogue = ui::installUiLanguage("ja");
    EXPECT_EQ(buttonTexts(), QString::fromUtf8("はい/いいえ/キャンセル"));
    if (qtCatalogue) {
        QDialogButtonBox qtButtons(QDialogButtonBox::Cancel);
        EXPECT_EQ(qtButtons.button(QDialogButtonBox::Cancel)->text(),
                  QString::fromUtf8("キャンセル"));
    }
}

} // namespace
