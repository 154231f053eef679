#include "common/prompt.h"
#include "gui/history/history_window.h"
#include "gui/installer/arc_install_window.h"
#include "gui/installer/dir_dialog.h"
#include "gui/installer/find_files_dialog.h"
#include "gui/kit/language_dialog.h"
#include "gui/launcher/tool_windows.h"
#include "support/archive_builders.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using vokari::test::child;

namespace fs = std::filesystem;

namespace vokari::ui {
namespace {

using test::buildZip;
using test::ZipItem;

const std::string kVersionQuestion = "このファイルは選択しているCFSのバージョンでは\r\n"
                                     "動作しない可能性があります。\r\n継続しますか？";
const std::string kNestedQuestion =
    "この圧縮ファイル内に、さらに1個の圧縮ファイルが存在します。\r\nファイルを展開しますか？";
const std::string kOverwriteQuestion =
    "解凍を実行した場合に上書きされるファイルが存在します。\r\n上書きしますか？\r\n"
    "　[はい]を選択すると上書きします。\r\n"
    "　[いいえ]を選択すると上書きしないファイルのみ解凍します。\r\n"
    "　[キャンセル]を選択すると解凍しません。";
// The end of an install that changed the game folder: it can be taken back in the history.
std::string done(const std::string& package, int written, int skipped) {
    std::string counts = "\r\n書き込んだファイル: " + std::to_string(written) + " 個";
    if (skipped > 0)
        counts += "\r\nすでにあったのでそのままにしたファイル: " + std::to_string(skipped) + " 個";
    return "解凍が完了しました。" + counts + "\r\nインストールを元に戻すには、変更履歴で「" +
           package + "」の項目を選んで元に戻してください。\r\n変更履歴を開きますか？";
}

QString u8(const std::string& text) {
    return QString::fromStdString(text);
}

// Runs `act` on the next modal dialog of type T once it is shown. Each retry is a fresh
// timer holding its own copy of `act`: a closure that kept itself alive would leak.
template <typename T> void whenModal(std::function<void(T&)> act, int delayMs = 0) {
    QTimer::singleShot(delayMs, [act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(*dialog);
        else
            whenModal<T>(act, 10);
    });
}

class ArcInstallWindowTest : public ::testing::Test {
protected:
    ArcInstallWindowTest() { test::qtApp(); }

    QString package(const std::string& name, const std::string& bytes) {
        const fs::path file = prefix.root() / "packages" / name;
        test::writeFile(file, bytes);
        return QString::fromStdString(file.string());
    }

    std::unique_ptr<ArcInstallWindow> open(int16_t version) {
        auto w = std::make_unique<ArcInstallWindow>(version);
        w->show();
        return w;
    }

    static QTreeView* list(const QWidget& w) { return child<QTreeView>(w, "LstArcFiles"); }
    // Each row as "file name|path|install|install path".
    static QStringList rows(const QWidget& w) {
        QStringList out;
        const QAbstractItemModel* model = list(w)->model();
        for (int i = 0; i < model->rowCount(); ++i) {
            QStringList columns;
            for (int c = 0; c < 4; ++c)
                columns << model->index(i, c).data().toString();
            out << columns.join(QLatin1Char('|'));
        }
        return out;
    }
    static void select(const QWidget& w, const char* fileName) {
        QTreeView* l = list(w);
        const QModelIndexList found =
            l->model()->match(l->model()->index(0, 0), Qt::DisplayRole, QString::fromUtf8(fileName),
                              -1, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << fileName;
        l->clearSelection();
        l->setCurrentIndex(found.front());
    }
    std::vector<std::string> asked() const {
        std::vector<std::string> texts;
        for (const auto& request : prompt.asked())
            texts.push_back(request.text);
        return texts;
    }

    test::TestPrefix prefix;
    test::TempDir data;
    test::ScopedEnv journalHome{"XDG_DATA_HOME", data.path().string()};
    fs::path cfs1 = prefix.installGame(1, "C:\\Games\\CFS1");
    fs::path cfs2 = prefix.installGame(2, "C:\\Games\\CFS2");
    ScriptedPrompt prompt;
};

TEST_F(ArcInstallWindowTest, OpensTheFirstDroppedPackageAndKeepsItWhenTheNextCannotBeRead) {
    auto tool = createToolWindow(LauncherTool::Install, 2, nullptr);
    ASSERT_NE(dynamic_cast<ArcInstallWindow*>(tool.get()), nullptr);
    tool.reset();

    const QString p51 =
        package("p51d.zip", buildZip({{.name = "P51D/"},
                                      {.name = "P51D/aircraft.cfg", .data = "c"},
                                      {.name = "P51D/model/x.mdl", .data = "m"},
                                      {.name = "readme.txt", .data = test::sjis("読んで\r\n")}}));
    const QString other = package("other.zip", buildZip({{.name = "o.gau", .data = "g"}}));
    auto w = open(2);
    EXPECT_EQ(w->windowTitle(), u8("CFSファイルインストール"));
    w->openFiles({p51, other});
    const QStringList shown{u8("aircraft.cfg|P51D\\|追加|AIRCRAFT\\P51D\\"),
                            u8("x.mdl|P51D\\model\\|追加|AIRCRAFT\\P51D\\MODEL\\"),
                            u8("readme.txt|||")};
    EXPECT_EQ(rows(*w), shown);
    // Both paths as the user finds them on this system, not as Z:\ or C:\ paths.
    const QString label = child<QLabel>(*w, "LblArcFilePath")->text();
    EXPECT_TRUE(label.endsWith(QStringLiteral("/packages/p51d.zip"))) << label.toStdString();
    EXPECT_EQ(child<QLabel>(*w, "LblArcFilePath")->toolTip(), p51);
    EXPECT_EQ(child<QLabel>(*w, "LblCfsPath")->toolTip().toStdString(), (cfs2 / "").string());
    EXPECT_TRUE(prompt.asked().empty());

    // Not a package, then a damaged one: each is reported and the package shown stays.
    w->openFiles({package("notes.doc", "text")});
    w->openFiles({package("broken.zip", "PK\x03\x04 this is no archive")});
    ASSERT_EQ(prompt.asked().size(), 2u);
    EXPECT_EQ(prompt.asked()[0].text,
              "このファイルはサポートされている形式ではありません。\r\nファイル名：" +
                  (prefix.root() / "packages" / "notes.doc").string());
    EXPECT_TRUE(prompt.asked()[1].text.starts_with("ファイルの読み込みに失敗しました\r\n"))
        << prompt.asked()[1].text;
    EXPECT_EQ(prompt.asked()[1].icon, PromptIcon::Error);
    EXPECT_EQ(rows(*w), shown);
    EXPECT_EQ(child<QLabel>(*w, "LblArcFilePath")->text(), label);

    // A text file of the package is shown decoded.
    select(*w, "readme.txt");
    w->viewSelectedFiles();
    auto* text = child<QPlainTextEdit>(*w, "TxtView");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), u8("読んで\n"));
    EXPECT_TRUE(text->isReadOnly());
}

TEST_F(ArcInstallWindowTest, AsksTheVersionAgainAfterEachNestedArchiveAndNoClosesThePackage) {
    // A loose gauge needs the second game; the first is chosen.
    const QString pack = package(
        "pack.zip", buildZip({{.name = "boost.gau", .data = "g"},
                              {.name = "extra/inner.zip",
                               .data = buildZip({{.name = "F4U/aircraft.cfg", .data = "c"}})}}));
    auto w = open(1);
    prompt.queue(PromptAnswer::Yes); // version
    prompt.queue(PromptAnswer::Yes); // nested archives
    prompt.queue(PromptAnswer::Yes); // version, again
    w->openFiles({pack});
    EXPECT_EQ(asked(),
              (std::vector<std::string>{kVersionQuestion, kNestedQuestion, kVersionQuestion}));
    EXPECT_EQ(rows(*w), (QStringList{u8("boost.gau||追加|GAUGES\\"),
                                     u8("inner.zip|extra\\||"), // a package itself: not placed
                                     u8("aircraft.cfg|F4U\\|追加|AIRCRAFT\\F4U\\")}));
    EXPECT_TRUE(child<QAction>(*w, "mnuEdit_Extract")->isEnabled());

    prompt.clear();
    prompt.queue(PromptAnswer::Yes);
    prompt.queue(PromptAnswer::Yes);
    prompt.queue(PromptAnswer::No);
    w->openFiles({pack});
    EXPECT_EQ(asked().size(), 3u);
    EXPECT_TRUE(rows(*w).isEmpty());
    EXPECT_TRUE(child<QLabel>(*w, "LblArcFilePath")->text().isEmpty());
    for (const char* command : {"mnuEdit_ExtractDir", "mnuEdit_SearchFile", "mnuEdit_View",
                                "mnuEdit_Extract", "mnuPopup_View"})
        EXPECT_FALSE(child<QAction>(*w, command)->isEnabled()) << command;
    EXPECT_TRUE(child<QAction>(*w, "mnuPopup_Open")->isEnabled());
}

// Answers as ScriptedPrompt does, after running `whileAsked` with the question still open.
class AskingPrompt : public ScriptedPrompt {
public:
    PromptAnswer ask(const PromptRequest& request) override {
        if (whileAsked)
            whileAsked(request);
        return ScriptedPrompt::ask(request);
    }
    std::function<void(const PromptRequest&)> whileAsked;
};

TEST_F(ArcInstallWindowTest, PackagesHandedOverDuringAQuestionWaitForTheAnswer) {
    test::writeFile(cfs2 / "Gauges" / "last.gau", "original");
    const QString first = package("first.zip", buildZip({{.name = "first.gau", .data = "1"}}));
    const QString nested = package(
        "pack.zip", buildZip({{.name = "boost.gau", .data = "g"},
                              {.name = "extra/inner.zip",
                               .data = buildZip({{.name = "F4U/aircraft.cfg", .data = "c"}})}}));
    const QString skipped = package("skipped.zip", buildZip({{.name = "skipped.gau"}}));
    const QString last = package("last.zip", buildZip({{.name = "last.gau", .data = "new"}}));
    const QString after = package("after.zip", buildZip({{.name = "after.gau", .data = "a"}}));
    auto w = open(2);
    w->openFiles({first});
    const QStringList firstRows = rows(*w);

    AskingPrompt asking;
    QStringList rowsWhileAsked;
    asking.whileAsked = [&](const PromptRequest& request) {
        if (request.text == kNestedQuestion) {
            w->openHandedOver(skipped);
            w->openHandedOver(last);
        } else if (request.text == kOverwriteQuestion) {
            w->openHandedOver(after);
        } else {
            return;
        }
        rowsWhileAsked = rows(*w);
    };
    asking.queue(PromptAnswer::Yes);
    w->openFiles({nested});
    EXPECT_EQ(rowsWhileAsked, firstRows);
    // The nested archive is read from the list the question was about.
    EXPECT_EQ(asking.asked().size(), 1u);
    EXPECT_EQ(rows(*w), (QStringList{u8("boost.gau||追加|GAUGES\\"), u8("inner.zip|extra\\||"),
                                     u8("aircraft.cfg|F4U\\|追加|AIRCRAFT\\F4U\\")}));

    // Then the last package handed over opens, and only that one.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return rows(*w) == QStringList{u8("last.gau||上書|GAUGES\\")}; }));
    EXPECT_EQ(asking.asked().size(), 1u);

    // Unpacking unpacks the package the overwrite question was about.
    asking.queue(PromptAnswer::Yes);
    w->extractAll();
    EXPECT_EQ(rowsWhileAsked, QStringList{u8("last.gau||上書|GAUGES\\")});
    EXPECT_EQ(test::readFile(cfs2 / "Gauges" / "last.gau"), "new");
    EXPECT_FALSE(fs::exists(cfs2 / "Gauges" / "after.gau"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return rows(*w) == QStringList{u8("after.gau||追加|GAUGES\\")}; }));
}

TEST_F(ArcInstallWindowTest, FailuresNameTheFileAndSayWhy) {
    auto w = open(2);
    // A package that is not there any more.
    const fs::path gone = prefix.root() / "packages" / "gone.zip";
    w->openFiles({QString::fromStdString(gone.string())});
    // A nested archive that is no archive.
    w->openFiles({package("pack.zip", buildZip({{.name = "extra/inner.zip", .data = "junk"},
                                                {.name = "view.bmp", .data = "BM"}}))});
    // A picture no program opens: the desktop's opener says so.
    const fs::path bin = prefix.root() / "bin";
    test::writeFile(bin / "xdg-open", "#!/bin/sh\nexit 3\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    test::ScopedEnv path("PATH", bin.string() + ":/usr/bin:/bin");
    select(*w, "view.bmp");
    w->viewSelectedFiles();
    EXPECT_EQ(asked(),
              (std::vector<std::string>{
                  "ファイルの読み込みに失敗しました\r\n次のファイルを読み込めませんでした。\r\n" +
                      gone.string() + "\r\n見つかりません。",
                  kNestedQuestion,
                  "ファイルの読み込みに失敗しました\r\nファイル名：extra/inner.zip\r\n"
                  "ZIP 形式の圧縮ファイルとして開けません。",
                  "ファイルを表示できませんでした。\r\nファイル名：view.bmp\r\n"
                  "この種類のファイルを開くプログラムがありません。"}));
}

TEST_F(ArcInstallWindowTest, ToolbarCommandsWithoutAPackageDoNothingHarmful) {
    auto w = open(2);
    const QList<QAction*> buttons = child<QToolBar>(*w, "TBar")->actions();
    bool pickerShown = false;
    whenModal<DirDialog>([&](DirDialog& picker) {
        pickerShown = true;
        child<QPushButton>(picker, "CmdOk")->click();
    });
    buttons.at(2)->trigger(); // choose a folder
    EXPECT_TRUE(pickerShown);
    buttons.at(3)->trigger(); // search
    buttons.at(5)->trigger(); // view
    buttons.at(7)->trigger(); // unpack
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_TRUE(rows(*w).isEmpty());
    EXPECT_EQ(buttons.at(7)->toolTip(), u8("解凍する"));
}

TEST_F(ArcInstallWindowTest, UnpacksWhereTheListSaysAfterTheOverwriteQuestion) {
    test::writeFile(cfs2 / "Gauges" / "boost.gau", "original");
    fs::create_directories(cfs2 / "Effects" / "smoke");
    auto w = open(2);
    w->openFiles({package("g.zip", buildZip({{.name = "boost.gau", .data = "new"},
                                             {.name = "fresh.gau", .data = "fresh"},
                                             {.name = "smoke.fx", .data = "fx"}}))});
    EXPECT_EQ(rows(*w)[0], u8("boost.gau||上書|GAUGES\\"));

    // The user moves the effect into a folder of their choice.
    select(*w, "smoke.fx");
    whenModal<DirDialog>([](DirDialog& picker) {
        auto* tree = child<QTreeWidget>(picker, "TViewDir");
        const auto found =
            tree->findItems(QStringLiteral("smoke"), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        tree->setCurrentItem(found.front());
        child<QPushButton>(picker, "CmdOk")->click();
    });
    w->chooseExtractFolder();
    EXPECT_EQ(rows(*w)[2], u8("smoke.fx||追加|Effects\\smoke\\"));

    prompt.queue(PromptAnswer::Cancel);
    w->extractAll();
    EXPECT_EQ(asked(), std::vector<std::string>{kOverwriteQuestion});
    EXPECT_FALSE(fs::exists(cfs2 / "GAUGES" / "fresh.gau"));

    prompt.clear();
    prompt.queue(PromptAnswer::No);
    w->extractAll();
    EXPECT_EQ(asked(), (std::vector<std::string>{kOverwriteQuestion, done("g.zip", 2, 1)}));
    EXPECT_EQ(prompt.asked()[1].defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(test::readFile(cfs2 / "Gauges" / "boost.gau"), "original");
    EXPECT_EQ(test::readFile(cfs2 / "Gauges" / "fresh.gau"), "fresh");
    EXPECT_EQ(test::readFile(cfs2 / "Effects" / "smoke" / "smoke.fx"), "fx");
    EXPECT_EQ(rows(*w)[1], u8("fresh.gau||上書|GAUGES\\")) << "now on disk";

    // Yes to the end question opens the history at this install.
    prompt.clear();
    prompt.queue(PromptAnswer::Yes);
    prompt.queue(PromptAnswer::Yes);
    QString selected;
    whenModal<HistoryWindow>([&selected](HistoryWindow& history) {
        const QTreeWidgetItem* row = child<QTreeWidget>(history, "LstEntries")->currentItem();
        selected = row ? row->text(0) + u8("|") + row->text(3) : QString();
        history.close();
    });
    w->extractAll();
    EXPECT_EQ(asked(), (std::vector<std::string>{kOverwriteQuestion, done("g.zip", 3, 0)}));
    EXPECT_EQ(selected, u8("2|g.zip"));
    EXPECT_EQ(test::readFile(cfs2 / "Gauges" / "boost.gau"), "new");
    EXPECT_EQ(test::readFile(cfs2 / "Gauges" / "boost.gau.bak"), "original");
}

TEST_F(ArcInstallWindowTest, FinalMessageNamesTheEntriesThatFailed) {
    std::string zip = buildZip({{.name = "good.gau", .data = "good"},
                                {.name = "bad.gau", .data = "bad data"},
                                {.name = "link.gau", .data = "/etc/passwd", .unixMode = 0120777},
                                {.name = "taken.gau", .data = "t"}});
    zip[zip.find("bad data")] = 'B';
    fs::create_directories(cfs2 / "GAUGES" / "taken.gau");
    auto w = open(2);
    w->openFiles({package("f.zip", zip)});
    prompt.queue(PromptAnswer::Ok);
    w->extractAll();
    ASSERT_EQ(prompt.asked().size(), 2u);
    EXPECT_EQ(prompt.asked()[0].text, "解凍を実行しますか？");
    const PromptRequest& report = prompt.asked()[1];
    EXPECT_EQ(report.icon, PromptIcon::Warning);
    // Each in the window's words: refused, damaged, or the system's reason.
    EXPECT_EQ(report.text, "次のファイルは解凍できませんでした。\r\n"
                           "link.gau: シンボリックリンクは解凍しません。\r\n"
                           "bad.gau: 圧縮ファイル内のデータが壊れています。\r\n"
                           "taken.gau: 同じ名前のフォルダがあります。\r\n"
                           "書き込んだファイル: 1 個\r\n解凍できなかったファイル: 3 個");
    EXPECT_EQ(test::readFile(cfs2 / "GAUGES" / "good.gau"), "good");
    EXPECT_TRUE(child<QWidget>(*w, "client")->isEnabled()) << "commands back after unpacking";
}

// Ctrl+O opens the file dialog: in the folder a package was last chosen in, else the user's
// downloads, else home; its list in the window's language and locale, not the system's.
TEST_F(ArcInstallWindowTest, FileDialogStartsInTheLastFolderAndSpeaksTheWindowsLanguage) {
    ASSERT_TRUE(installUiLanguage("ja"));
    test::TempDir home;
    test::ScopedEnv homeEnv("HOME", home.path().string());
    test::ScopedEnv configEnv("XDG_CONFIG_HOME", (home / "config").string()); // no user-dirs
    const QString pack = package("p.zip", buildZip({{.name = "p.gau", .data = "p"}}));
    const fs::path packages = prefix.root() / "packages";
    fs::create_directories(packages / "sub");
    auto w = open(2);

    // The folder each opening starts in; `choose` picks a file, else it is cancelled.
    const auto startFolder = [&](const std::function<void(QFileDialog&)>& choose = {}) {
        QString started;
        whenModal<QFileDialog>([&](QFileDialog& dialog) {
            started = dialog.directory().absolutePath();
            if (choose)
                choose(dialog);
            else
                dialog.reject();
        });
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !started.isEmpty(); }));
        return fs::path(started.toStdString());
    };
    EXPECT_EQ(startFolder(), home.path());
    fs::create_directories(home / "Downloads");
    EXPECT_EQ(startFolder(), home / "Downloads");

    QStringList types;
    QString date;
    startFolder([&](QFileDialog& dialog) {
        dialog.setDirectory(QString::fromStdString(packages.string()));
        // The rows as the dialog's detail view shows them, once the folder has been listed.
        const auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        const auto listed = [&] {
            types.clear();
            const QAbstractItemModel* files = view ? view->model() : nullptr;
            for (int row = 0; files && row < files->rowCount(view->rootIndex()); ++row) {
                const QModelIndex name = files->index(row, 0, view->rootIndex());
                types << name.data().toString() + u8("|") +
                             name.siblingAtColumn(2).data().toString();
                if (name.data().toString() == QStringLiteral("p.zip"))
                    date = name.siblingAtColumn(3).data().toString();
            }
            return types.size() == 2;
        };
        EXPECT_TRUE(QTest::qWaitFor(listed));
        // The file name box takes a selected file only while it is not being typed in.
        if (QWidget* typing = dialog.focusWidget())
            typing->clearFocus();
        dialog.selectFile(pack);
        static_cast<QDialog&>(dialog).accept(); // as its Open button does
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the dialog did not take the file";
            dialog.reject();
        }
    });
    types.sort();
    EXPECT_EQ(types, (QStringList{u8("p.zip|ZIP ファイル"), u8("sub|フォルダ")}));
    EXPECT_EQ(
        date,
        QLocale(QLocale::Japanese).toString(QFileInfo(pack).lastModified(), QLocale::ShortFormat));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return rows(*w) == QStringList{u8("p.gau||追加|GAUGES\\")}; }));
    EXPECT_EQ(startFolder(), packages) << "kept in VOKARI.INI";
}

// Cancels on the progress dialog as soon as it shows.
class CancelOnShow : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* progress = qobject_cast<QProgressDialog*>(watched)) {
                shown = true;
                emit progress->canceled(); // what its Cancel button sends
            }
        return false;
    }
    bool shown = false;
};

TEST_F(ArcInstallWindowTest, CancelStopsUnpackingAndSaysHowFarItGot) {
    // Bytes that do not compress, enough of them that the unpacking is still going when the
    // dialog shows.
    std::vector<ZipItem> many;
    uint32_t noise = 1;
    for (int i = 0; i < 500; ++i) {
        std::string data(32 * 1024, '\0');
        for (char& c : data)
            c = static_cast<char>((noise = noise * 1664525u + 1013904223u) >> 24);
        many.push_back({.name = "f" + std::to_string(i) + ".gau", .data = std::move(data)});
    }
    auto w = open(2);
    w->openFiles({package("many.zip", buildZip(many))});
    CancelOnShow canceller;
    qApp->installEventFilter(&canceller);
    prompt.queue(PromptAnswer::Ok);
    w->extractAll();
    qApp->removeEventFilter(&canceller);
    EXPECT_TRUE(canceller.shown);
    ASSERT_EQ(prompt.asked().size(), 2u);
    EXPECT_TRUE(prompt.asked()[1].text.starts_with("解凍を中止しました。\r\n500 個中 "))
        << prompt.asked()[1].text;
    EXPECT_FALSE(fs::exists(cfs2 / "GAUGES" / "f499.gau"));
}

TEST_F(ArcInstallWindowTest, PickerAndFinderGiveFoldersRelativeToTheRoot) {
    test::writeFile(cfs2 / "x.gau", "root");
    test::writeFile(cfs2 / "Aircraft" / "P51" / "X.GAU", "p51");
    fs::create_directories(cfs2 / "Aircraft" / "Zero");

    DirDialog picker;
    picker.load("C:\\Games\\CFS2\\", QStringLiteral("CFS2"), QStringLiteral("c"));
    auto* tree = child<QTreeWidget>(picker, "TViewDir");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->child(0)->text(0), QStringLiteral("Aircraft"));
    EXPECT_EQ(root->child(0)->childCount(), 2);
    EXPECT_TRUE(picker.isCancelled());
    child<QPushButton>(picker, "CmdOk")->click();
    EXPECT_FALSE(picker.isCancelled());
    EXPECT_EQ(picker.selectedPath(), "");
    tree->setCurrentItem(root->child(0)->child(0));
    EXPECT_EQ(picker.selectedPath(), "Aircraft\\P51");

    FindFilesDialog finder;
    finder.initFindFiles(QStringLiteral("find"), false, "C:\\Games\\CFS2\\", "x.gau");
    finder.show();
    auto* hits = child<QTreeWidget>(finder, "LstSrcFiles");
    EXPECT_TRUE(QTest::qWaitFor([&] { return hits->topLevelItemCount() > 0; }));
    ASSERT_EQ(hits->topLevelItemCount(), 2);
    EXPECT_EQ(hits->topLevelItem(0)->text(0), QStringLiteral("x.gau"));
    EXPECT_EQ(hits->topLevelItem(1)->text(0), QStringLiteral("Aircraft\\P51\\X.GAU"));
    EXPECT_EQ(child<QLabel>(finder, "LblSrcDir")->text(), u8("検索結果"));
    finder.close(); // the close box keeps the empty result
    EXPECT_EQ(finder.resultFindFile(), "");
    finder.show(); // searched once per load
    QTest::qWait(20);
    EXPECT_EQ(hits->topLevelItemCount(), 2);
    hits->setCurrentItem(hits->topLevelItem(1));
    child<QPushButton>(finder, "CmdSet")->click();
    EXPECT_EQ(finder.resultFindFile(), "Aircraft\\P51\\X.GAU");
}

} // namespace
} // namespace vokari::ui
