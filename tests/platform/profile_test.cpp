#include "platform/error.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace vokari;
using vokari::test::readFile;
using vokari::test::sjis;
using vokari::test::TempDir;
using vokari::test::writeFile;

namespace {

// A UTF-16 file as Notepad saves it: byte-order mark first.
std::string utf16(std::u16string_view text, bool bigEndian = false) {
    std::string bytes;
    for (const char16_t unit : std::u16string(1, u'\xFEFF') + std::u16string(text)) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { platform::clearProfileCache(); }
    std::string file() const { return (dir / "game.cfg").string(); }
    TempDir dir;
};

} // namespace

TEST_F(ProfileTest, ReadingRules) {
    writeFile(file(), "; comment\r\n"
                      "[Main]\r\n"
                      "  ShowLogo =  1  \r\n"
                      "Quoted=\"  a b  \"\r\n"
                      "Single='x'\r\n"
                      "Half=\"open\r\n"
                      "Empty=\r\n"
                      "dup=first\r\n"
                      "DUP=second\r\n"
                      "[ MAIN ]\r\n"
                      "Other=in second copy\r\n");
    EXPECT_EQ(platform::readIniString("main", "SHOWLOGO", "0", file()), "1");
    EXPECT_EQ(platform::readIniString("MAIN", "Quoted", "", file()), "a b");
    EXPECT_EQ(platform::readIniString("MAIN", "Single", "", file()), "x");
    EXPECT_EQ(platform::readIniString("MAIN", "Half", "", file()), "\"open");
    EXPECT_EQ(platform::readIniString("MAIN", "Empty", "def", file()), "");
    EXPECT_EQ(platform::readIniString("MAIN", "dup", "", file()), "first");
    // the first matching section wins; a later one of the same name is not read
    EXPECT_EQ(platform::readIniString("MAIN", "Other", "none", file()), "none");
    EXPECT_EQ(platform::readIniString("MAIN", "missing", "  1 ", file()), "1");
    EXPECT_EQ(platform::readIniString("Nope", "x", "d", file()), "d");
    EXPECT_EQ(platform::readIniString("MAIN", "x", "d", (dir / "none.cfg").string()), "d");
}

TEST_F(ProfileTest, ValuesAreCutTo255BytesWithoutSplittingACharacter) {
    const std::string longValue(300, 'a');
    // 254 ASCII bytes then a double-byte character would need 256 bytes: it is dropped whole
    const std::string mixed = std::string(254, 'b') + "漢字";
    writeFile(file(), "[s]\nlong=" + longValue + "\nmixed=" + sjis(mixed) + "\n");
    EXPECT_EQ(platform::readIniString("s", "long", "", file()), std::string(255, 'a'));
    EXPECT_EQ(platform::readIniString("s", "mixed", "", file()), std::string(254, 'b'));

    // A UTF-8 or UTF-16 file's value reaches the caller through the same 255 bytes of CP932.
    const auto times = [](size_t n, std::string_view text) {
        std::string out;
        for (size_t i = 0; i < n; ++i)
            out += text;
        return out;
    };
    struct Case {
        std::string value; // UTF-8
        std::string read;
    };
    const std::vector<Case> cases = {
        {times(200, "あ"), times(127, "あ")},
        {"a" + times(200, "あ"), "a" + times(127, "あ")},
        {times(300, "ｱ"), times(255, "ｱ")}, // one byte each in CP932, three in UTF-8
    };
    for (const auto& c : cases) {
        writeFile(file(), "\xEF\xBB\xBF[s]\r\nk=" + c.value + "\r\n");
        platform::clearProfileCache();
        EXPECT_EQ(platform::readIniString("s", "k", "", file()), c.read);
    }
    writeFile(file(), utf16(u"[s]\r\nk=" + std::u16string(200, u'あ')));
    platform::clearProfileCache();
    EXPECT_EQ(platform::readIniString("s", "k", "", file()), times(127, "あ"));
}

TEST_F(ProfileTest, Cp932ValuesReachCallersAsUtf8) {
    writeFile(file(), sjis("[MULTIPLAYER]\r\nSP_PLAYER_NAME=坂井 三郎\r\n"));
    EXPECT_EQ(platform::readIniString("MULTIPLAYER", "SP_PLAYER_NAME", "", file()), "坂井 三郎");
    platform::writeIniString("MULTIPLAYER", "SP_PLAYER_NAME", "ソッピーズ キャメル", file());
    EXPECT_EQ(readFile(file()), sjis("[MULTIPLAYER]\r\nSP_PLAYER_NAME=ソッピーズ キャメル\r\n"));
    EXPECT_THROW(platform::writeIniString("MULTIPLAYER", "X", "🚀", file()), ArgumentError);
    // A line break would add lines of its own: refused, the file as it was.
    const std::string kept = readFile(file());
    EXPECT_THROW(platform::writeIniString("A", "x", "1\r\n[B]\r\nevil=1", file()), ArgumentError);
    EXPECT_THROW(platform::writeIniString("A", "x\ny", "1", file()), ArgumentError);
    EXPECT_THROW(platform::writeIniString("A\r", "x", "1", file()), ArgumentError);
    EXPECT_EQ(readFile(file()), kept);
}

TEST_F(ProfileTest, WriteReplacesInPlaceAndKeepsEveryOtherByte) {
    // odd bytes, comments, blanks, LF-only and CR LF lines, no final line end
    const std::string before = "; keep me\r\n[MAIN]\r\nShowLogo = 1 \r\n\xff\xfe odd\nLANG=jp\r\n"
                               "\r\n[PANELS]\r\nHUD_COLOR=0";
    writeFile(file(), before);
    platform::writeIniString("main", "showlogo", "0", file());
    EXPECT_EQ(readFile(file()), "; keep me\r\n[MAIN]\r\nShowLogo=0\r\n\xff\xfe odd\nLANG=jp\r\n"
                                "\r\n[PANELS]\r\nHUD_COLOR=0");
    EXPECT_EQ(platform::readIniString("MAIN", "ShowLogo", "", file()), "0");
}

TEST_F(ProfileTest, WriteAddsKeyAtEndOfSectionAndSectionAtEndOfFile) {
    writeFile(file(), "[MAIN]\r\nA=1\r\n\r\n[PANELS]\r\nHUD_COLOR=0");
    platform::writeIniString("MAIN", "B", "2", file());
    EXPECT_EQ(readFile(file()), "[MAIN]\r\nA=1\r\nB=2\r\n\r\n[PANELS]\r\nHUD_COLOR=0");
    platform::writeIniString("PANELS", "X", "3", file());
    EXPECT_EQ(readFile(file()), "[MAIN]\r\nA=1\r\nB=2\r\n\r\n[PANELS]\r\nHUD_COLOR=0\r\nX=3\r\n");
    platform::writeIniString("MULTIPLAYER", "SP_PLAYER_NAME", "pilot", file());
    EXPECT_EQ(readFile(file()), "[MAIN]\r\nA=1\r\nB=2\r\n\r\n[PANELS]\r\nHUD_COLOR=0\r\nX=3\r\n"
                                "[MULTIPLAYER]\r\nSP_PLAYER_NAME=pilot\r\n");
}

TEST_F(ProfileTest, WriteCreatesMissingFileInSettingsOrder) {
    platform::writeIniString("FrmVokari", "FORM_HEIGHT", "100", file());
    platform::writeIniString("FrmVokari", "FORM_WIDTH", "200", file());
    platform::writeIniString("frmCfsSetting", "FORM_TOP", "5", file());
    platform::writeIniString("FRMVOKARI", "SELECTED_CFS_VERSION", "2", file());
    EXPECT_EQ(readFile(file()), "[FrmVokari]\r\nFORM_HEIGHT=100\r\nFORM_WIDTH=200\r\n"
                                "SELECTED_CFS_VERSION=2\r\n[frmCfsSetting]\r\nFORM_TOP=5\r\n");
}

TEST_F(ProfileTest, WriteIsAtomicAndKeepsPermissions) {
    VOKARI_POSIX_ONLY("file modes");
#ifndef _WIN32
    writeFile(file(), "[s]\nk=1\n");
    ::chmod(file().c_str(), 0640);
    platform::writeIniString("s", "k", "2", file());
    struct stat st;
    ASSERT_EQ(::stat(file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(readFile(file()), "[s]\nk=2\n");
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "game.cfg") << "temporary file left behind";

    // A folder we cannot write to: an error, and the file stays whole.
    if (::geteuid() != 0) {
        ::chmod(dir.path().c_str(), 0500);
        EXPECT_THROW(platform::writeIniString("s", "k", "3", file()), IoError);
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(readFile(file()), "[s]\nk=2\n");
    }
#endif
}

TEST_F(ProfileTest, ReadsSeeChangesMadeByOthers) {
    writeFile(file(), "[s]\nk=1\n");
    EXPECT_EQ(platform::readIniString("s", "k", "", file()), "1");
    writeFile(file(), "[s]\nk=22\n"); // other size
    EXPECT_EQ(platform::readIniString("s", "k", "", file()), "22");
    platform::writeIniString("s", "k", "3", file());
    EXPECT_EQ(platform::readIniString("s", "k", "", file()), "3");
}

// Files as Windows' profile functions take them in code page 932: each case reads a key, then
// writes one, which must land in the section the read found and change no other line.
TEST_F(ProfileTest, ReadsAndWritesFilesAsWindowsDoes) {
    struct Case {
        const char* what;
        std::string before;
        std::string section; // UTF-8
        std::string read;    // the value of "k", or "-" when not found
        std::string after;   // the file after writing w=1 into `section`
    };
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<Case> cases = {
        {"CP932 section name with ] [ \\ as second bytes", sjis("[ゾーン表]\r\nk=v\r\n"),
         "ゾーン表", "v", sjis("[ゾーン表]\r\nk=v\r\nw=1\r\n")},
        {"CR-only line ends", "[a]\rk=v\r\r[b]\rk=b\r", "a", "v", "[a]\rk=v\rw=1\r\r[b]\rk=b\r"},
        {"end-of-file mark after a value", "[a]\r\nk=v\x1a", "a", "v", "[a]\r\nk=v\x1a\r\nw=1\r\n"},
        {"end-of-file mark on its own line", "[a]\r\nk=v\r\n\x1a", "a", "v",
         "[a]\r\nk=v\r\nw=1\r\n\x1a"},
        {"UTF-8 byte-order mark", bom + "[a]\r\nk=零戦\r\n", "a", "零戦",
         bom + "[a]\r\nk=零戦\r\nw=1\r\n"},
        // kept as tests/fuzz/regressions/profile/lf-file-ending-in-unclosed-header-and-cr; a
        // header without "]" is none, so the section is added
        {"LF file ending in an unclosed header and a CR", "k=v\n[Sec\r", "Sec", "-",
         "k=v\n[Sec\r[Sec]\nw=1\n"},
        {"header with a note in brackets names all up to the last ]", "[A] ; was [B]\r\nk=v\r\n",
         "A", "-", "[A] ; was [B]\r\nk=v\r\n[A]\r\nw=1\r\n"},
        {"header [A]]", "[A]]\r\nk=v\r\n", "A]", "v", "[A]]\r\nk=v\r\nw=1\r\n"},
        {"header [x]y]", "[x]y]\r\nk=v\r\n", "x]y", "v", "[x]y]\r\nk=v\r\nw=1\r\n"},
        {"header without ] leaves its keys in the section above",
         "[A]\r\nj=1\r\n[B\r\nk=v\r\n[C]\r\n", "A", "v",
         "[A]\r\nj=1\r\n[B\r\nk=v\r\nw=1\r\n[C]\r\n"},
        {"a line without = is a key with an empty value", "[A]\r\nk\r\nk=2\r\n", "A", "",
         "[A]\r\nk\r\nk=2\r\nw=1\r\n"},
        {"a comment is no key", "[A]\r\n;k\r\n k=2\r\n", "A", "2", "[A]\r\n;k\r\n k=2\r\nw=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(file(), c.before);
        platform::clearProfileCache();
        EXPECT_EQ(platform::readIniString(c.section, "k", "-", file()), c.read);
        platform::writeIniString(c.section, "w", "1", file());
        EXPECT_EQ(readFile(file()), c.after);
        platform::clearProfileCache();
        EXPECT_EQ(platform::readIniString(c.section, "w", "-", file()), "1");
        EXPECT_EQ(platform::readIniString(c.section, "k", "-", file()), c.read);
    }
    // A UTF-8 file takes UTF-8 text, and a key of a CP932 name is replaced in place.
    writeFile(file(), bom + "[a]\r\nk=零戦\r\n");
    platform::writeIniString("a", "k", "紫電改", file());
    EXPECT_EQ(readFile(file()), bom + "[a]\r\nk=紫電改\r\n");
    writeFile(file(), sjis("[ゾーン表]\r\nソ表=x\r\n"));
    platform::writeIniString("ゾーン表", "ソ表", "y", file());
    EXPECT_EQ(readFile(file()), sjis("[ゾーン表]\r\nソ表=y\r\n"));
    // A key line without "=" is the one a write replaces.
    writeFile(file(), sjis("[A]\r\nゾーン\r\nj=1\r\n"));
    platform::writeIniString("A", "ゾーン", "x", file());
    EXPECT_EQ(readFile(file()), sjis("[A]\r\nゾーン=x\r\nj=1\r\n"));
}

// Notepad's "Unicode" files: read as Windows reads them, and written back in UTF-16 with every
// unit of the other lines kept, a lone surrogate and an odd last byte too.
TEST_F(ProfileTest, Utf16FilesAreReadAndWrittenAsUtf16) {
    const std::u16string lone(1, u'\xD800');
    const std::u16string text = u"; 注" + lone + u"\r\n[A]\r\nk=零戦\r\n[B]\nx=1";
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        const std::string before = utf16(text, bigEndian) + "\x01";
        writeFile(file(), before);
        platform::clearProfileCache();
        EXPECT_EQ(platform::readIniString("a", "K", "-", file()), "零戦");
        platform::writeIniString("B", "x", "1", file());
        EXPECT_EQ(readFile(file()), before);
        platform::writeIniString("A", "k", "紫電改", file());
        platform::writeIniString("B", "y", "2", file());
        EXPECT_EQ(readFile(file()),
                  utf16(u"; 注" + lone + u"\r\n[A]\r\nk=紫電改\r\n[B]\nx=1\r\ny=2\r\n", bigEndian) +
                      "\x01");
        EXPECT_EQ(platform::readIniString("A", "k", "-", file()), "紫電改");
    }
}
