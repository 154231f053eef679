#include "common/prompt.h"
#include "gui/kit/about_dialog.h"
#include "gui/kit/language_dialog.h"
#include "gui/launcher/tool_windows.h"
#include "gui/launcher/vokari_window.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <gtest/gtest.h>

using namespace vokari;

namespace {

bool hasJapanese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // CJK punctuation, kana, ideographs, full- and half-width forms
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
            (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Every text of the window's own: captions, menus, tool tips, list headers. What the lists
// hold (aircraft and game names) is the games' own and may be in any language.
QStringList ownTexts(QWidget& window) {
    QStringList texts;
    const auto addActions = [&texts](const QList<QAction*>& actions, auto& self) -> void {
        for (QAction* action : actions) {
            texts << action->text() << action->toolTip();
            if (action->menu())
                self(action->menu()->actions(), self);
        }
    };
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        texts << w->windowTitle() << w->toolTip();
        addActions(w->actions(), addActions);
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            texts << edit->placeholderText();
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
        }
        if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model()) {
            for (int i = 0; i < header->count(); ++i)
                texts << header->model()->headerData(i, header->orientation()).toString();
        }
    }
    return texts;
}

void expectEnglish(QWidget& window) {
    for (const QString& text : ownTexts(window))
        EXPECT_FALSE(hasJapanese(text))
            << window.objectName().toStdString() << ": " << text.toStdString();
}

// The launcher, the About box, every tool window built so far and what they ask while they
// load, with the English catalogue: no Japanese left. A text that misses tr(), or whose
// catalogue entry is missing, shows up here.
TEST(EnglishWindows, ShowNoJapanese) {
    test::qtApp();
    test::TestPrefix prefix;
    prefix.installGame(1, "C:\\Games\\CFS");
    prefix.installGame(2, "C:\\Games\\CFS2");
    ScriptedPrompt prompt;
    ASSERT_TRUE(ui::installUiLanguage("en"));
    {
        ui::VokariWindow launcher;
        ASSERT_TRUE(launcher.load());
        expectEnglish(launcher);
        ui::AboutDialog about(&launcher);
        expectEnglish(about);
        for (LauncherTool tool : kLauncherTools) {
            if (std::unique_ptr<QDialog> window = ui::createToolWindow(tool, 2, &launcher))
                expectEnglish(*window);
        }
    }
    for (const PromptRequest& asked : prompt.asked())
        EXPECT_FALSE(hasJapanese(QString::fromStdString(asked.title + "\n" + asked.text)))
            << asked.title << ": " << asked.text;
    ui::installUiLanguage("ja");
}

} // namespace
