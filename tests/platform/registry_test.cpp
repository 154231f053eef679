#include "frame/installation.h"
#include "platform/registry.h"
#include "support/fixtures.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace vokari;
using vokari::test::TestPrefix;

TEST(WineStrings, Escapes) {
    EXPECT_EQ(platform::unescapeWineString(R"(C:\\Games\\CFS2)"), "C:\\Games\\CFS2");
    EXPECT_EQ(platform::unescapeWineString(R"(say \"hi\")"), "say \"hi\"");
    EXPECT_EQ(platform::unescapeWineString(R"(a\nb\tc)"), "a\nb\tc");
    EXPECT_EQ(platform::unescapeWineString(R"(\033x\0)"), std::string("\x1bx\0", 3));
    // \x takes up to four hex digits, each a UTF-16 unit
    EXPECT_EQ(platform::unescapeWineString(R"(\x30b2\x30fc\x30e0)"), "ゲーム");
    EXPECT_EQ(platform::unescapeWineString(R"(\x41BCDE)"), "\xe4\x86\xbc"
                                                           "DE"); // U+41BC then DE
    // a surrogate pair makes one character
    EXPECT_EQ(platform::unescapeWineString(R"(\xd83d\xde80)"), "🚀");
    // a lone surrogate does not make broken UTF-8
    EXPECT_EQ(platform::unescapeWineString(R"(\xd83dA)"), "\xef\xbf\xbd"
                                                          "A");
    // raw UTF-8 as newer Wine writes it
    EXPECT_EQ(platform::unescapeWineString("ゲーム"), "ゲーム");
}

TEST(Registry, GameFoldersFromSystemReg) {
    TestPrefix prefix;
    prefix.installGame(1, "C:\\Games\\CFS1");
    prefix.installGame(2, "C:\\Program Files\\CFS2", /*wow64=*/true);
    EXPECT_EQ(gameFolder(1), test::winPath("C:\\Games\\CFS1\\"));
    EXPECT_EQ(gameFolder(2), test::winPath("C:\\Program Files\\CFS2\\"));
    EXPECT_EQ(gameFolder(0), "");
    EXPECT_EQ(gameFolder(3), "");
}

TEST(Registry, TrailingBackslashIsDoubledAndKeysIgnoreCase) {
    TestPrefix prefix;
    prefix.writeSystemReg("WINE REGISTRY Version 2\n"
                          "[software\\\\MICROSOFT\\\\microsoft games\\\\combat flight "
                          "simulator\\\\2.0] 1\n"
                          "\"installedto\"=\"C:\\\\Games\\\\CFS2\\\\\"\n");
    EXPECT_EQ(gameFolder(2), "C:\\Games\\CFS2\\\\");
    EXPECT_EQ(gameFolder(1), "");
}

TEST(Registry, ValuesOfOtherTypesAndBrokenFiles) {
    TestPrefix prefix;
    const std::string key = "[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight "
                            "Simulator\\\\2.0] 1\n";
    prefix.writeSystemReg("WINE REGISTRY Version 2\n" + key + "\"InstalledTo\"=dword:00000001\n");
    EXPECT_EQ(gameFolder(2), "");
    prefix.writeSystemReg("WINE REGISTRY Version 2\n" + key +
                          "\"InstalledTo\"=\"C:\\\\unterminated\n");
    EXPECT_EQ(gameFolder(2), "");
    prefix.writeSystemReg("not a registry at all\n" + key + "\"InstalledTo\"=\"C:\\\\x\"\n");
    EXPECT_EQ(gameFolder(2), "");
    prefix.writeSystemReg(std::string("\0\xff\xfe[[[", 6));
    EXPECT_EQ(gameFolder(2), "");
    // Nothing, or a drive's root, is no game folder: Wine would map it to the whole drive.
    for (const char* root : {"", "C:\\\\", "Z:", "\\\\"}) {
        prefix.writeSystemReg("WINE REGISTRY Version 2\n" + key + "\"InstalledTo\"=\"" + root +
                              "\"\n");
        EXPECT_EQ(gameFolder(2), "") << root;
    }
    std::filesystem::remove(prefix.root() / "system.reg");
    EXPECT_EQ(gameFolder(2), "");
}

TEST(Registry, ValueTooLongForTheBuffer) {
    TestPrefix prefix;
    const std::string key = "[Software\\\\Microsoft\\\\Microsoft Games\\\\Combat Flight "
                            "Simulator\\\\2.0] 1\n";
    prefix.writeSystemReg("WINE REGISTRY Version 2\n" + key + "\"InstalledTo\"=\"" +
                          std::string(1024, 'a') + "\"\n");
    std::string value;
    EXPECT_FALSE(
        readRegistryText(platform::kHkeyLocalMachine, gameRegistryKey(2), "InstalledTo", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(gameFolder(2), "");
    // 1023 bytes and the terminating zero fit
    prefix.writeSystemReg("WINE REGISTRY Version 2\n" + key + "\"InstalledTo\"=\"" +
                          std::string(1023, 'a') + "\"\n");
    EXPECT_EQ(gameFolder(2), std::string(1023, 'a') + "\\");
}

TEST(Registry, WowNodeIsPreferredAndSeesJapanese) {
    TestPrefix prefix;
    prefix.installGame(2, "C:\\Plain");
    prefix.installGame(2, "C:\\ゲーム\\CFS2", /*wow64=*/true);
    EXPECT_EQ(gameFolder(2), test::winPath("C:\\ゲーム\\CFS2\\"));
}

#ifdef _WIN32
// The system's registry itself (under Wine in the Windows test run): the 32-bit view the games'
// installers write wins over the 64-bit one, which answers for keys only it has; names ignore
// case; only string values are read.
TEST(WindowsRegistry, ThirtyTwoBitViewFirstThenSixtyFour) {
    const auto reg = [](const std::wstring& args) {
        return _wsystem((L"reg " + args + L" >NUL 2>&1").c_str()) == 0;
    };
    const std::wstring key = L"HKLM\\Software\\VokariRegistryTest";
    if (!reg(L"add " + key + L" /v Folder /d \"C:\\ゲーム\\CFS2\" /f /reg:32"))
        GTEST_SKIP() << "the machine's part of the registry cannot be written here";
    reg(L"add " + key + L" /v Folder /d C:\\Plain /f /reg:64");
    reg(L"add " + key + L"Only64 /v Folder /d C:\\Only64 /f /reg:64");
    reg(L"add " + key + L" /v Count /t REG_DWORD /d 2 /f /reg:32");
    reg(L"add " + key + L" /ve /d Default /f /reg:32");

    platform::WindowsRegistry registry;
    const auto read = [&](std::string_view keyPath, std::string_view name) {
        return registry.readText(platform::kHkeyLocalMachine, keyPath, name);
    };
    EXPECT_EQ(read("SOFTWARE\\vokariregistrytest", "folder"), "C:\\ゲーム\\CFS2");
    EXPECT_EQ(read("Software\\VokariRegistryTestOnly64", "Folder"), "C:\\Only64");
    EXPECT_EQ(read("Software\\VokariRegistryTest", ""), "Default");
    EXPECT_EQ(read("Software\\VokariRegistryTest", "Count"), std::nullopt);
    EXPECT_EQ(read("Software\\VokariRegistryTest", "Missing"), std::nullopt);
    EXPECT_EQ(&platform::registry(), &platform::systemRegistry());

    reg(L"delete " + key + L" /f /reg:32");
    reg(L"delete " + key + L" /f /reg:64");
    reg(L"delete " + key + L"Only64 /f /reg:64");
    EXPECT_EQ(read("Software\\VokariRegistryTest", "Folder"), std::nullopt);
}
#endif
