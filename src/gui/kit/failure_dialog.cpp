#include "gui/kit/failure_dialog.h"

#include "frame/language.h"
#include "gui/kit/language_dialog.h"
#include "platform/error.h"

#include <QCoreApplication>
#include <QStringList>
#include <cerrno>
#include <exception>
#include <new>

namespace vokari::ui {
namespace {

constexpr const char* kContext = "vokari::ui::failureText";

QString text(const char* source) {
    return QCoreApplication::translate(kContext, source);
}

QString utf8Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString actionLine(FileAction action) {
    static const char* const lines[] = {
        QT_TRANSLATE_NOOP("vokari::ui::failureText", "次のファイルを読み込めませんでした。"),
        QT_TRANSLATE_NOOP("vokari::ui::failureText", "次のファイルに書き込めませんでした。"),
        QT_TRANSLATE_NOOP("vokari::ui::failureText", "次のフォルダを作成できませんでした。"),
        QT_TRANSLATE_NOOP("vokari::ui::failureText", "次のファイルを削除できませんでした。"),
        QT_TRANSLATE_NOOP("vokari::ui::failureText", "次のファイルを移動できませんでした。"),
        QT_TRANSLATE_NOOP("vokari::ui::failureText", "次のフォルダは使用できません。")};
    return text(lines[static_cast<int>(action)]);
}

// The system's reason, in words a player can act on.
QString reasonLine(int errorNumber) {
    switch (errorNumber) {
    case 0:
        return {};
    case ENOENT:
    case ENOTDIR:
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "見つかりません。"));
    case EACCES:
    case EPERM:
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "アクセスが許可されていません。"));
    case EROFS:
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "読み取り専用です。"));
    case ENOLINK:
        return text(
            QT_TRANSLATE_NOOP("vokari::ui::failureText", "リンクの指す先にファイルがありません。"));
    case EWOULDBLOCK:
        return text(QT_TRANSLATE_NOOP(
            "vokari::ui::failureText",
            "別の Vokari がこのフォルダで作業中です。終わってから、もう一度お試しください。"));
    case ENOSPC:
    case EDQUOT:
        return text(
            QT_TRANSLATE_NOOP("vokari::ui::failureText", "ディスクの空き容量が足りません。"));
    case EEXIST:
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText",
                                      "同じ名前のファイルがすでにあります。そのままにしました。"));
    case EISDIR:
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "同じ名前のフォルダがあります。"));
    case EBUSY:
    case ETXTBSY:
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "使用中です。"));
    default:
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "システムのエラー番号: %1"))
            .arg(errorNumber);
    }
}

QString join(const QStringList& lines) {
    QStringList shown;
    for (const QString& line : lines) {
        if (!line.isEmpty())
            shown << line;
    }
    return shown.join(QStringLiteral("\r\n"));
}

// Errors that carry a message alone: their kind in the window's language, and the core's own
// words where the window speaks English too.
QString messageOnly(const std::exception& error, const char* kind) {
    QString shown = text(kind);
    if (uiLanguage() != kJapanese)
        shown += QStringLiteral("\r\n") + QString::fromUtf8(error.what());
    return shown;
}

} // namespace

QString systemReasonText(int errorNumber) {
    return reasonLine(errorNumber);
}

QString failureText(const std::exception& error) {
    // An error raised on behalf of another: the other says what went wrong.
    if (const auto* nested = dynamic_cast<const std::nested_exception*>(&error);
        nested && nested->nested_ptr()) {
        try {
            std::rethrow_exception(nested->nested_ptr());
        } catch (const std::exception& cause) {
            return failureText(cause);
        } catch (...) {
        }
    }
    if (const auto* io = dynamic_cast<const IoError*>(&error); io && !io->path().empty())
        return join(
            {actionLine(io->action()), utf8Text(io->path()), reasonLine(io->errorNumber())});
    if (const auto* line = dynamic_cast<const LineError*>(&error))
        return join({text(QT_TRANSLATE_NOOP("vokari::ui::failureText",
                                            "次のファイルの %1 行目を読み取れません。"))
                         .arg(line->line()),
                     utf8Text(line->path())});
    if (const auto* codePage = dynamic_cast<const CodePageError*>(&error))
        return join({text(QT_TRANSLATE_NOOP("vokari::ui::failureText",
                                            "次の文字列はゲームの文字コード (%1) で表せません。"))
                         .arg(QString::fromStdString(codePage->codePage())),
                     text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "「%1」"))
                         .arg(utf8Text(codePage->text())),
                     text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "表せない文字: %1"))
                         .arg(utf8Text(codePage->character()))});
    if (dynamic_cast<const IoError*>(&error))
        return messageOnly(error, QT_TRANSLATE_NOOP("vokari::ui::failureText",
                                                    "ファイルの読み書きに失敗しました。"));
    if (dynamic_cast<const FormatError*>(&error))
        return messageOnly(error, QT_TRANSLATE_NOOP("vokari::ui::failureText",
                                                    "ファイルの内容を読み取れません。"));
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return text(QT_TRANSLATE_NOOP("vokari::ui::failureText", "メモリが足りません。"));
    return messageOnly(
        error, QT_TRANSLATE_NOOP("vokari::ui::failureText", "処理を続けられませんでした。"));
}

QString leftoversText(size_t count) {
    if (count == 0)
        return {};
    return text(QT_TRANSLATE_NOOP("vokari::ui::failureText",
                                  "中断された作業の一時ファイルを %1 個削除しました。"))
        .arg(count);
}

} // namespace vokari::ui
