#include "common/prompt.h"
#include "frame/language.h"
#include "frame/launcher_state.h"
#include "frame/startup.h"
#include "platform/error.h"
#include "platform/instance_lock.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace vokari;
using vokari::test::TempDir;
using vokari::test::TestPrefix;

TEST(StartOptions, ReadsEveryOption) {
    const StartOptions none = parseStartOptions({});
    EXPECT_FALSE(none.help || none.demo || none.demoReset || none.openTool);

    const StartOptions all =
        parseStartOptions({"--demo-reset", "--open", "qc", "-platform", "--lang", "en"});
    EXPECT_TRUE(all.demo) << "--demo-reset works on the demo";
    EXPECT_TRUE(all.demoReset);
    EXPECT_EQ(all.openTool, LauncherTool::QuickCombat);
    EXPECT_EQ(all.language, "en");
    EXPECT_TRUE(parseStartOptions({"--help"}).help);
    EXPECT_EQ(parseStartOptions({"--open", "install", "p51d.zip"}).openFile, "p51d.zip");
    EXPECT_EQ(parseStartOptions({"--open", "install", "-platform", "x"}).openFile, "");
    EXPECT_THROW(parseStartOptions({"--open", "qc", "p51d.zip"}), ArgumentError);

    for (LauncherTool tool : kLauncherTools)
        EXPECT_EQ(launcherToolFromName(launcherToolName(tool)), tool);

    EXPECT_THROW(parseStartOptions({"--open"}), ArgumentError);
    EXPECT_THROW(parseStartOptions({"--open", "paint"}), ArgumentError);
    EXPECT_THROW(parseStartOptions({"--demos"}), ArgumentError);
    EXPECT_THROW(parseStartOptions({"-x"}), ArgumentError);
    // A lone package, as a file manager passes it, opens in the installer.
    const StartOptions lone = parseStartOptions({"--demo", "p51d.zip", "-style", "fusion"});
    EXPECT_EQ(lone.openTool, LauncherTool::Install);
    EXPECT_EQ(lone.openFile, "p51d.zip");
    EXPECT_THROW(parseStartOptions({"a.zip", "b.zip"}), ArgumentError);
    EXPECT_THROW(parseStartOptions({"--lang", "fr"}), ArgumentError);
}

// The --open texts name the tools themselves: a tool added to the table is named there too.
TEST(StartOptions, OpenTextsNameEveryTool) {
    const auto message = [](const std::vector<std::string>& args) {
        try {
            parseStartOptions(args);
        } catch (const ArgumentError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    for (const std::string& text :
         {startUsage(), message({"--open"}), message({"--open", "paint"})}) {
        for (const LauncherToolEntry& entry : kLauncherToolTable)
            EXPECT_NE(text.find(entry.name), std::string::npos) << entry.name << " in " << text;
    }
}

TEST(UiLanguage, CommandLineThenLocaleThenJapanese) {
    EXPECT_EQ(chooseUiLanguage(std::nullopt, "ja_JP.UTF-8"), "ja");
    EXPECT_EQ(chooseUiLanguage(std::nullopt, "en_GB.UTF-8"), "en");
    EXPECT_EQ(chooseUiLanguage(std::nullopt, "C.UTF-8"), "ja") << "no language: the program's own";
    EXPECT_EQ(chooseUiLanguage(std::nullopt, "de_DE"), "ja") << "no catalogue for German";
    EXPECT_EQ(chooseUiLanguage(std::string("en"), "ja_JP.UTF-8"), "en");
    EXPECT_EQ(chooseUiLanguage(std::string("ja"), "en_US"), "ja");
}

TEST(StartOptions, NoDisplayIsToldInOneLine) {
    const std::string line = noDisplayMessage({"", "", ""}, "build/src/vokari-cli");
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_NE(line.find("no display found"), std::string::npos) << line;
    EXPECT_NE(line.find("build/src/vokari-cli --demo games"), std::string::npos) << line;
    EXPECT_NE(noDisplayMessage({"xcb", "", "wayland-0"}, "c").find("DISPLAY is not set"),
              std::string::npos);
    EXPECT_FALSE(noDisplayMessage({"wayland", ":0", ""}, "c").empty());
    for (const DisplayChoice& shown :
         {DisplayChoice{"", ":0", ""}, DisplayChoice{"", "", "w"}, DisplayChoice{"xcb", ":1", ""},
          DisplayChoice{"offscreen", "", ""}})
        EXPECT_EQ(noDisplayMessage(shown, "c"), "") << shown.platform;
}

TEST(SingleCopy, SecondCopyIsToldAndRefused) {
    const std::string_view kRunning = "Vokari はすでに起動しています。";
    TempDir dir;
    ScriptedPrompt prompt;
    platform::InstanceLock first("vokari", dir.path());
    ASSERT_TRUE(claimSingleCopy(first, kRunning));
    {
        platform::InstanceLock second("vokari", dir.path());
        EXPECT_FALSE(claimSingleCopy(second, kRunning));
        ASSERT_EQ(prompt.asked().size(), 1u);
        EXPECT_EQ(prompt.asked()[0].title, "Vokari");
        EXPECT_EQ(prompt.asked()[0].text, "Vokari はすでに起動しています。");
        EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Warning);
        EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::Ok);
    }
    first.release();
    platform::InstanceLock third("vokari", dir.path());
    EXPECT_TRUE(claimSingleCopy(third, kRunning)) << "the lock goes with the copy that held it";
    EXPECT_EQ(prompt.asked().size(), 1u);
}

TEST(SavedVersion, ReadsWholeNumbersOnly) {
    TestPrefix prefix;
    EXPECT_EQ(readSavedVersion(), 1) << "first start";
    const std::pair<const char*, int16_t> cases[] = {
        {"2", 2}, {" 1 ", 1}, {"", 0}, {"2.5", 0}, {"two", 0}, {"70000", 0}, {"-1", -1}};
    for (const auto& [text, expected] : cases) {
        platform::writeIniString("frmvokari", "SELECTED_CFS_VERSION", text,
                                 prefix.settingsFile().string());
        platform::clearProfileCache();
        EXPECT_EQ(readSavedVersion(), expected) << text;
    }
    writeSavedVersion(2);
    platform::clearProfileCache();
    EXPECT_EQ(readSavedVersion(), 2);
}
