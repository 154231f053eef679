#include "gui/kit/failure_dialog.h"
#include "gui/kit/language_dialog.h"
#include "platform/error.h"
#include "support/qt_app.h"

#include <cerrno>
#include <exception>
#include <gtest/gtest.h>

using namespace vokari;

namespace {

std::string worded(const std::exception& error) {
    return ui::failureText(error).toStdString();
}

TEST(FailureText, SaysWhatFailedWhereAndWhyInTheWindowsLanguage) {
    test::qtApp();
    ASSERT_TRUE(ui::installUiLanguage("ja"));
    const IoError full(FileAction::Write, "/home/x/.wine/drive_c/CFS2/cfs2.cfg", ENOSPC);
    EXPECT_EQ(worded(full), "次のファイルに書き込めませんでした。\r\n"
                            "/home/x/.wine/drive_c/CFS2/cfs2.cfg\r\n"
                            "ディスクの空き容量が足りません。");
    EXPECT_EQ(worded(LineError("/g/qc_plane.qcb", 12, "family_type needs a number")),
              "次のファイルの 12 行目を読み取れません。\r\n/g/qc_plane.qcb");
    EXPECT_EQ(
        worded(CodePageError("Ace 🚀", "🚀", "CP932")),
        "次の文字列はゲームの文字コード (CP932) で表せません。\r\n「Ace 🚀」\r\n表せない文字: 🚀");
    // Raised on behalf of another error: the cause is what the user can act on.
    try {
        try {
            throw IoError(FileAction::Read, "/g/a.cfg", ENOENT);
        } catch (const std::exception&) {
            std::throw_with_nested(FormatError("wrapped"));
        }
    } catch (const std::exception& e) {
        EXPECT_EQ(worded(e),
                  "次のファイルを読み込めませんでした。\r\n/g/a.cfg\r\n見つかりません。");
    }
    // A bare message has no Japanese: only its kind is said.
    EXPECT_EQ(worded(Error("too many groups")), "処理を続けられませんでした。");

    ASSERT_TRUE(ui::installUiLanguage("en"));
    EXPECT_EQ(worded(full), "Could not write this file:\r\n"
                            "/home/x/.wine/drive_c/CFS2/cfs2.cfg\r\n"
                            "The disk is full.");
    EXPECT_EQ(worded(Error("too many groups")), "The work could not go on.\r\ntoo many groups");
    ui::installUiLanguage("ja");
}

} // namespace
