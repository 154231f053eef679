#include "gameconfig/cfs_ini.h"
#include "platform/error.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace vokari {
namespace {

using test::readFile;
using test::sjis;
using test::TestPrefix;
using test::writeFile;

// A second game with a configuration file holding keys the model does not know, comments and
// blank lines, all of which must survive a save.
const std::string kCfs2File = "; written by the game\r\n"
                              "[MAIN]\r\n"
                              "ShowLogo=0\r\n"
                              "ShowMovie=  1  \r\n"
                              "LANGUAGE=Japanese\r\n"
                              "\r\n"
                              "[PANELS]\r\n"
                              "HUD_COLOR=2\r\n"
                              "\r\n"
                              "[MULTIPLAYER]\r\n"
                              "SP_PLAYER_NAME=Red Baron\r\n"
                              "SP_PLAYER_COLOR_INDEX=3\r\n"
                              "COLLISION_SECS=2\r\n"
                              "\r\n"
                              "[CONTROLS]\r\n"
                              "PAN_RATE=400\r\n"
                              "JOYSTICK=1\r\n";

class CfsIniTest : public ::testing::Test {
protected:
    void SetUp() override { folder = prefix.installGame(2, "C:\\Games\\CFS2"); }
    std::filesystem::path cfgFile() const { return folder / "cfs2.cfg"; }
    CfsIni load() {
        CfsIni ini;
        ini.setVersion(2);
        ini.readFile();
        return ini;
    }

    TestPrefix prefix;
    std::filesystem::path folder;
};

TEST_F(CfsIniTest, ReadsTheFileAndDefaultsForMissingKeys) {
    writeFile(cfgFile(), kCfs2File);
    CfsIni ini = load();
    EXPECT_EQ(ini.filePath(), test::winPath("C:\\Games\\CFS2\\cfs2.cfg"));
    EXPECT_EQ(ini.getKeyValue("MAIN", "ShowLogo"), "0");
    EXPECT_EQ(ini.getKeyValue("main", "showmovie"), "1") << "names without case, value trimmed";
    EXPECT_EQ(ini.getKeyValue("PREFS", "PANEL_MASKING_OFF"), "");
    EXPECT_EQ(ini.getKeyValue("MULTIPLAYER", "STARTING_ALTITUDE"), "1524");
    EXPECT_EQ(ini.getKeyValue("MULTIPLAYER", "SP_PLAYER_NAME"), "Red Baron");
    for (const CfsIniSetting& s : cfsIniSettings())
        EXPECT_FALSE(ini.isKeyChanged(s.section, s.key)) << s.key;

    EXPECT_THROW(ini.readFile(), KeyError) << "a second read finds its keys already there";
}

TEST_F(CfsIniTest, SaveWritesOnlyChangedKeysAndLeavesTheRestByteForByte) {
    writeFile(cfgFile(), kCfs2File);
    CfsIni ini = load();
    ini.setKeyValue("MAIN", "ShowLogo", 1); // a number becomes its decimal text
    EXPECT_EQ(ini.getKeyValue("MAIN", "ShowLogo"), "1");
    EXPECT_TRUE(ini.isKeyChanged("MAIN", "ShowLogo"));
    ini.setKeyValue("MULTIPLAYER", "COLLISION_SECS", " 2 "); // same value with blanks
    EXPECT_FALSE(ini.isKeyChanged("MULTIPLAYER", "COLLISION_SECS"));
    ini.setKeyValue("CONTROLS", "PAN_RATE", "250");

    ini.saveFile();
    std::string expected = kCfs2File;
    expected.replace(expected.find("ShowLogo=0"), 10, "ShowLogo=1");
    expected.replace(expected.find("PAN_RATE=400"), 12, "PAN_RATE=250");
    EXPECT_EQ(readFile(cfgFile()), expected);
    EXPECT_FALSE(ini.isKeyChanged("MAIN", "ShowLogo"));
    EXPECT_FALSE(ini.isKeyChanged("CONTROLS", "PAN_RATE"));

    // Editing goes on after a save; a key the file lacks stays absent unless changed.
    ini.setKeyValue("MAIN", "ShowLogo", "0");
    ini.saveFile();
    EXPECT_EQ(readFile(cfgFile()),
              kCfs2File.substr(0, kCfs2File.find("PAN_RATE=")) + "PAN_RATE=250\r\nJOYSTICK=1\r\n");
}

TEST_F(CfsIniTest, ChangedBackToTheLoadedValueIsWrittenAgain) {
    writeFile(cfgFile(), "[MAIN]\r\nShowLogo = 1\r\n");
    CfsIni ini = load();
    ini.setKeyValue("MAIN", "ShowLogo", "0");
    ini.setKeyValue("MAIN", "ShowLogo", "1");
    EXPECT_TRUE(ini.isKeyChanged("MAIN", "ShowLogo"));
    ini.saveFile();
    EXPECT_EQ(readFile(cfgFile()), "[MAIN]\r\nShowLogo=1\r\n") << "written, so respaced";
}

TEST_F(CfsIniTest, MissingMultiplayerSectionIsAddedOnSave) {
    const std::string original = "[MAIN]\r\nShowLogo=1\r\n\r\n[CONTROLS]\r\nPAN_RATE=400\r\n";
    writeFile(cfgFile(), original);
    CfsIni ini = load();
    EXPECT_EQ(ini.getKeyValue("MULTIPLAYER", "SP_PLAYER_NAME"), "Unknown Soldier");
    ini.setKeyValue("MULTIPLAYER", "SP_PLAYER_NAME", "Ace");
    ini.saveFile();
    EXPECT_EQ(readFile(cfgFile()), original + "[MULTIPLAYER]\r\nSP_PLAYER_NAME=Ace\r\n");
}

TEST_F(CfsIniTest, PlayerNamesAreShiftJisInTheFile) {
    writeFile(cfgFile(), sjis("[MULTIPLAYER]\r\nSP_PLAYER_NAME=坂井 三郎\r\nCOLLISION_SECS=2\r\n"));
    CfsIni ini = load();
    EXPECT_EQ(ini.getKeyValue("MULTIPLAYER", "SP_PLAYER_NAME"), "坂井 三郎");
    ini.setKeyValue("MULTIPLAYER", "SP_PLAYER_NAME", "岩本 徹三");
    ini.saveFile();
    EXPECT_EQ(readFile(cfgFile()),
              sjis("[MULTIPLAYER]\r\nSP_PLAYER_NAME=岩本 徹三\r\nCOLLISION_SECS=2\r\n"));

    // A name the code page cannot hold is refused, naming its characters, before anything is
    // written: a setting that comes before it is not written either, and both stay pending.
    ini.setKeyValue("MAIN", "ShowLogo", "0");
    ini.setKeyValue("MULTIPLAYER", "SP_PLAYER_NAME", "Ace \xF0\x9F\x98\x80 \xE2\x82\xAC");
    try {
        ini.saveFile();
        ADD_FAILURE() << "saved a name with no Shift-JIS form";
    } catch (const ArgumentError& e) {
        EXPECT_NE(std::string(e.what()).find("\xF0\x9F\x98\x80\xE2\x82\xAC"), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(ini.isKeyChanged("MULTIPLAYER", "SP_PLAYER_NAME"));
    EXPECT_TRUE(ini.isKeyChanged("MAIN", "ShowLogo"));
    EXPECT_EQ(readFile(cfgFile()),
              sjis("[MULTIPLAYER]\r\nSP_PLAYER_NAME=岩本 徹三\r\nCOLLISION_SECS=2\r\n"));
}

TEST_F(CfsIniTest, SettingLoadedEmptyIsWrittenOnceChanged) {
    writeFile(cfgFile(), "[MULTIPLAYER]\r\nSP_PLAYER_NAME=\r\nCOLLISION_SECS=2\r\n");
    CfsIni ini = load();
    ini.setKeyValue("MULTIPLAYER", "SP_PLAYER_NAME", "Ace");
    ini.setKeyValue("PREFS", "PANEL_MASKING_OFF", "1"); // empty default, key absent
    ini.setKeyValue("MULTIPLAYER", "COLLISION_SECS", "0");
    EXPECT_TRUE(ini.isKeyChanged("MULTIPLAYER", "SP_PLAYER_NAME"));
    EXPECT_TRUE(ini.isKeyChanged("PREFS", "PANEL_MASKING_OFF"));
    ini.saveFile(); // all three in one replacement of the file
    EXPECT_EQ(readFile(cfgFile()), "[MULTIPLAYER]\r\nSP_PLAYER_NAME=Ace\r\nCOLLISION_SECS=0\r\n"
                                   "[PREFS]\r\nPANEL_MASKING_OFF=1\r\n");
    EXPECT_FALSE(ini.isKeyChanged("MULTIPLAYER", "SP_PLAYER_NAME"));
}

TEST_F(CfsIniTest, UnknownSettingsAndUnsafeValuesAreRefused) {
    writeFile(cfgFile(), kCfs2File);
    CfsIni ini = load();
    EXPECT_THROW(ini.getKeyValue("MAIN", "LANGUAGE"), KeyError) << "in the file, not known";
    EXPECT_THROW(ini.setKeyValue("SOUND", "ShowLogo", "1"), KeyError);
    EXPECT_THROW(ini.isKeyChanged("MAIN", ""), KeyError);
    // A line break would let a value write lines of its own into the game's file.
    EXPECT_THROW(ini.setKeyValue("MULTIPLAYER", "SP_PLAYER_NAME", "Ace\r\n[MAIN]"), ArgumentError);
    EXPECT_EQ(ini.getKeyValue("MULTIPLAYER", "SP_PLAYER_NAME"), "Red Baron");
    ini.saveFile();
    EXPECT_EQ(readFile(cfgFile()), kCfs2File);
}

TEST_F(CfsIniTest, FileByVersionAndWithoutAFile) {
    const auto folder1 = prefix.installGame(1, "C:\\Games\\CFS1");
    CfsIni first;
    first.setVersion(1);
    EXPECT_EQ(first.filePath(), test::winPath("C:\\Games\\CFS1\\COMBATFS.CFG"));
    first.readFile(); // no file yet: defaults
    EXPECT_EQ(first.getKeyValue("MULTIPLAYER", "COLLISION_SECS"), "2");
    EXPECT_EQ(first.getKeyValue("CONTROLS", "PAN_RATE"), "400");
    first.setKeyValue("CONTROLS", "PAN_RATE", "300");
    first.saveFile();
    EXPECT_EQ(readFile(folder1 / "COMBATFS.CFG"), "[CONTROLS]\r\nPAN_RATE=300\r\n");
    EXPECT_FALSE(std::filesystem::exists(cfgFile())) << "the other game's file is left alone";

    test::TestPrefix empty; // neither game installed
    CfsIni missing;
    missing.setVersion(2);
    EXPECT_EQ(missing.filePath(), "") << "never a bare file name in the current folder";
    missing.readFile();
    EXPECT_EQ(missing.getKeyValue("MULTIPLAYER", "SP_PLAYER_NAME"), "Unknown Soldier");
    missing.setKeyValue("MULTIPLAYER", "SP_PLAYER_NAME", "Ace");
    EXPECT_THROW(missing.saveFile(), IoError);
    EXPECT_TRUE(missing.isKeyChanged("MULTIPLAYER", "SP_PLAYER_NAME"));
}

} // namespace
} // namespace vokari
