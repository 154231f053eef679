#include "aircraft/aircraft_list.h"
#include "common/prompt.h"
#include "gui/history/history_window.h"
#include "gui/launcher/tool_windows.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>

using vokari::test::child;

namespace fs = std::filesystem;

namespace vokari::ui {
namespace {

QStringList texts(const QTreeWidgetItem* row) {
    QStringList out;
    for (int column = 0; column < row->columnCount(); ++column)
        out << row->text(column);
    return out;
}

// An aircraft switched off is listed with its two files; Undo, answered Yes, puts it back and
// marks the entry taken back.
TEST(HistoryWindow, ListsAnEntryAndTakesItBack) {
    test::qtApp();
    test::TestPrefix prefix;
    const test::TempDir data;
    const test::ScopedEnv journalHome("XDG_DATA_HOME", data.path().string());
    const fs::path aircraft = prefix.installGame(2, "C:\\Games\\CFS2") / "Aircraft";
    test::writeFile(aircraft / "Ki61" / "aircraft.cfg", "[fltsim.0]\r\ntitle=Ki-61\r\n");
    {
        AircraftList list;
        list.setVersion(2);
        list.readAircrafts(true, true);
        Aircraft& ki61 = list.aircraftList.item("Ki61");
        ki61.isActive = false;
        ki61.isActiveChanged = true;
        list.setActivate();
    }
    ASSERT_TRUE(fs::exists(aircraft / "Ki61" / "aircraft.cfg.rst"));

    ScriptedPrompt prompt;
    auto tool = createToolWindow(LauncherTool::History, 2, nullptr);
    ASSERT_NE(dynamic_cast<HistoryWindow*>(tool.get()), nullptr);
    tool.reset();
    auto w = test::shownWindow<HistoryWindow>(2);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("変更履歴"));
    auto* entries = child<QTreeWidget>(*w, "LstEntries");
    ASSERT_EQ(entries->topLevelItemCount(), 1);
    const QStringList entry = texts(entries->topLevelItem(0));
    EXPECT_EQ(entry[0], QStringLiteral("1"));
    EXPECT_EQ(entry.mid(2), (QStringList{QString::fromUtf8("航空機の有効・無効"),
                                         QStringLiteral("Ki61"), QString()}));

    // The newest entry is selected on opening, its files below.
    auto* files = child<QTreeWidget>(*w, "LstFiles");
    ASSERT_EQ(files->topLevelItemCount(), 2);
    QStringList shown;
    for (int i = 0; i < files->topLevelItemCount(); ++i)
        shown << texts(files->topLevelItem(i)).join(QLatin1Char('|'));
    shown.sort();
    EXPECT_EQ(shown, (QStringList{QString::fromUtf8("削除|Aircraft/Ki61/aircraft.cfg|完了"),
                                  QString::fromUtf8("追加|Aircraft/Ki61/aircraft.cfg.rst|完了")}));

    auto* undo = child<QPushButton>(*w, "CmdUndo");
    ASSERT_TRUE(undo->isEnabled());
    prompt.queue(PromptAnswer::Yes);
    undo->click();
    ASSERT_EQ(prompt.asked().size(), 2u);
    const std::string question = prompt.asked()[0].text;
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.asked()[0].defaultAnswer, PromptAnswer::No);
    EXPECT_NE(question.find("削除するもの（1 件）:\r\n  Aircraft/Ki61/aircraft.cfg.rst\r\n"),
              std::string::npos)
        << question;
    EXPECT_NE(question.find("元に戻しますか？"), std::string::npos) << question;
    // The report names them as the player finds them on this system.
    const PromptRequest& report = prompt.asked()[1];
    EXPECT_EQ(report.icon, PromptIcon::Information) << report.text;
    EXPECT_NE(report.text.find((aircraft / "Ki61" / "aircraft.cfg").string()), std::string::npos)
        << report.text;
    EXPECT_EQ(test::readFile(aircraft / "Ki61" / "aircraft.cfg"), "[fltsim.0]\r\ntitle=Ki-61\r\n");
    EXPECT_FALSE(fs::exists(aircraft / "Ki61" / "aircraft.cfg.rst"));

    // The undo is listed first; the entry it took back is marked and cannot be taken back again.
    ASSERT_EQ(entries->topLevelItemCount(), 2);
    EXPECT_EQ(entries->topLevelItem(0)->text(2), QString::fromUtf8("元に戻す"));
    EXPECT_EQ(entries->topLevelItem(1)->text(4), QString::fromUtf8("元に戻し済み"));
    EXPECT_TRUE(entries->topLevelItem(1)->isSelected());
    EXPECT_FALSE(undo->isEnabled());
    w->close();
}

} // namespace
} // namespace vokari::ui
