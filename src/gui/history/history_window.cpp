#include "gui/history/history_window.h"

#include "common/prompt.h"
#include "frame/installation.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace vokari::ui {
namespace {

// How many files of each kind a question or report names; the rest are counted.
constexpr int kItemsShown = 5;

enum EntryColumn { kNumber = 0, kTime = 1, kTool = 2, kSummary = 3, kState = 4 };
enum FileColumn { kChange = 0, kPath = 1, kResult = 2 };

struct ToolWord {
    std::string_view tool; // as the journal names it
    const char* word;
};

constexpr ToolWord kToolWords[] = {
    {"install", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "インストール")},
    {"copy", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "コピー")},
    {"aircraft-switch", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "航空機の有効・無効")},
    {"aircraft-delete", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "航空機の削除")},
    {"alias", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "音声・パネルの設定")},
    {"qc-save", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "クイックコンバットの保存")},
    {"qc-normalize", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "クイックコンバットの整形")},
    {"settings", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "ゲーム設定")},
    {"config-set", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "ゲーム設定（コマンドライン）")},
    {"undo", QT_TRANSLATE_NOOP("vokari::ui::HistoryWindow", "元に戻す")},
};

QString toolText(const std::string& tool) {
    for (const ToolWord& entry : kToolWords)
        if (entry.tool == tool)
            return HistoryWindow::tr(entry.word);
    return qs(tool); // a tool newer than this window
}

QString changeText(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::Added:
        return HistoryWindow::tr("追加");
    case ChangeKind::Replaced:
        return HistoryWindow::tr("置換");
    case ChangeKind::Removed:
        return HistoryWindow::tr("削除");
    case ChangeKind::FolderAdded:
        return HistoryWindow::tr("フォルダ作成");
    case ChangeKind::FolderMoved:
        return HistoryWindow::tr("フォルダ移動");
    }
    return QString();
}

QString timeText(int64_t time) {
    return QDateTime::fromSecsSinceEpoch(time).toLocalTime().toString(
        QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString summaryText(const JournalEntry& entry) {
    if (!entry.summary.empty())
        return qs(entry.summary);
    return HistoryWindow::tr("%n 個のファイル", nullptr, static_cast<int>(entry.changes.size()));
}

bool isUndoable(const JournalEntry& entry) {
    return entry.undoneBy == 0 && entry.undoes == 0;
}

// Columns no narrower than their caption and than the texts they show.
void fitColumns(QTreeWidget* list, std::initializer_list<std::pair<int, QStringList>> columns) {
    const QFontMetrics metrics = list->fontMetrics();
    for (const auto& [column, texts] : columns) {
        int width = 0;
        for (const QString& text : texts)
            width = std::max(width, metrics.horizontalAdvance(text));
        list->setColumnWidth(column, width + 3 * metrics.averageCharWidth());
    }
    fitColumnsToCaptions(list);
}

QString joined(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

HistoryWindow::HistoryWindow(int16_t version, QWidget* parent)
    : ToolWindow(QStringLiteral("FrmHistory"), tr("変更履歴"), Frame::Menus, parent) {
    const std::string folder = gameFolder(version);
    if (!folder.empty())
        journal_ = std::make_unique<ChangeJournal>(platform::hostPath(folder));

    folderLabel_ = new QLabel(client());
    folderLabel_->setObjectName(QStringLiteral("LblFolder"));
    folderLabel_->setTextFormat(Qt::PlainText);
    folderLabel_->setText(tr("ゲームフォルダ: %1").arg(qs(platform::displayPath(folder))));

    entryList_ = new QTreeWidget;
    setUpRowList(entryList_, "LstEntries", QAbstractItemView::SingleSelection);
    setColumns(entryList_, {tr("No."), tr("日時"), tr("操作"), tr("内容"), tr("状態")}, {});
    fitColumns(entryList_, {{kNumber, {QStringLiteral("00000")}},
                            {kTime, {timeText(0)}},
                            {kState, {tr("元に戻し済み"), tr("中断")}}});
    entryList_->header()->setSectionResizeMode(kSummary, QHeaderView::Stretch);
    fileList_ = new QTreeWidget;
    setUpRowList(fileList_, "LstFiles", QAbstractItemView::SingleSelection);
    setColumns(fileList_, {tr("変更"), tr("ファイル"), tr("結果")}, {});
    QStringList changes;
    for (ChangeKind kind : {ChangeKind::Added, ChangeKind::Replaced, ChangeKind::Removed,
                            ChangeKind::FolderAdded, ChangeKind::FolderMoved})
        changes << changeText(kind);
    fitColumns(fileList_, {{kChange, changes}, {kResult, {tr("完了"), tr("失敗"), tr("不明")}}});
    fileList_->header()->setSectionResizeMode(kPath, QHeaderView::Stretch);

    const auto captioned = [](QLabel* caption, QWidget* list) {
        auto* box = new QWidget;
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(caption);
        layout->addWidget(list, 1);
        return box;
    };
    entriesCaption_ = new QLabel;
    entriesCaption_->setObjectName(QStringLiteral("LblEntries"));
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("Splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(captioned(entriesCaption_, entryList_));
    splitter->addWidget(captioned(new QLabel(tr("選択した変更のファイル")), fileList_));
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    progressBar_ = new QProgressBar;
    progressBar_->setObjectName(QStringLiteral("PrgBar"));
    progressBar_->setTextVisible(false);
    progressBar_->hide();
    undoButton_ = new QPushButton(tr("元に戻す(&U)"));
    undoButton_->setObjectName(QStringLiteral("CmdUndo"));
    closeButton_ = new QPushButton(tr("閉じる"));
    closeButton_->setObjectName(QStringLiteral("CmdClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(progressBar_, 1);
    buttons->addStretch();
    buttons->addWidget(undoButton_);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(client());
    layout->addWidget(folderLabel_);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    QMenu* fileMenu = addFileMenu();
    addExitEntry(fileMenu);
    QMenu* editMenu = addEditMenu();
    undoAction_ = addMenuEntry(this, editMenu, "mnuEdit_Undo", tr("元に戻す(&U)"), QKeySequence(),
                               [this] { undoSelected(); });
    addMenuSeparator(editMenu, "mnuEdit_sep1");
    addMenuEntry(this, editMenu, "mnuEdit_Refresh", tr("最新の情報に更新(&R)"),
                 QKeySequence(Qt::Key_F5), [this] { refresh(); });
    addHelpMenu();

    connect(entryList_, &QTreeWidget::itemSelectionChanged, this, [this] {
        showFiles();
        updateUndo();
    });
    connect(undoButton_, &QPushButton::clicked, this, &HistoryWindow::undoSelected);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(&work_, &BackgroundWork::progressed, this, [this](qint64 done, qint64 total) {
        progressBar_->setRange(0, static_cast<int>(std::max<qint64>(total, 1)));
        progressBar_->setValue(static_cast<int>(done));
    });

    refresh();
    selectRow(entryList_, 0);
}

// An undo that still runs is waited for by work_.
HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::refresh() {
    const JournalEntry* selected = selectedEntry();
    const int64_t keep = selected ? selected->id : 0;
    entries_.clear();
    if (journal_)
        entries_ = journal_->entries();
    std::reverse(entries_.begin(), entries_.end());

    entryList_->clear();
    QList<QTreeWidgetItem*> rows;
    for (const JournalEntry& entry : entries_) {
        QString summary = summaryText(entry);
        if (entry.undoes != 0) {
            const auto undone =
                std::find_if(entries_.begin(), entries_.end(),
                             [&entry](const JournalEntry& e) { return e.id == entry.undoes; });
            summary = tr("No. %1「%2」")
                          .arg(entry.undoes)
                          .arg(undone != entries_.end() ? summaryText(*undone) : summary);
        }
        QString state;
        QString stateTip;
        if (entry.undoneBy != 0) {
            state = tr("元に戻し済み");
            stateTip = tr("No. %1 で元に戻しました。").arg(entry.undoneBy);
        } else if (entry.running) {
            state = tr("実行中");
            stateTip = tr("別の Vokari が記録しています。");
        } else if (!entry.finished) {
            state = tr("中断");
            stateTip = tr("操作が最後まで記録されていません。");
        }
        auto* row = new QTreeWidgetItem(QStringList{QString::number(entry.id), timeText(entry.time),
                                                    toolText(entry.tool), summary, state});
        row->setData(kNumber, Qt::UserRole, QString::number(entry.id));
        row->setToolTip(kSummary, summary);
        row->setToolTip(kState, stateTip);
        rows.append(row);
    }
    entryList_->addTopLevelItems(rows);
    // As wide as the tools listed, leaving the rest to the summaries.
    entryList_->resizeColumnToContents(kTool);
    entryList_->setColumnWidth(kTool, entryList_->columnWidth(kTool) +
                                          2 * entryList_->fontMetrics().averageCharWidth());
    entriesCaption_->setText(entries_.empty() ? tr("変更の一覧: 記録された変更はありません。")
                                              : tr("変更の一覧（新しい順）"));
    if (keep != 0)
        selectEntry(keep);
    showFiles();
    updateUndo();
}

void HistoryWindow::selectEntry(int64_t id) {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].id == id)
            selectRow(entryList_, static_cast<int>(i));
}

const JournalEntry* HistoryWindow::selectedEntry() const {
    const QModelIndex row = selectedRow(entryList_);
    if (!row.isValid() || static_cast<size_t>(row.row()) >= entries_.size())
        return nullptr;
    return &entries_[static_cast<size_t>(row.row())];
}

void HistoryWindow::showFiles() {
    fileList_->clear();
    const JournalEntry* entry = selectedEntry();
    if (!entry)
        return;
    QList<QTreeWidgetItem*> rows;
    for (const FileChange& change : entry->changes) {
        const QString result = change.made ? tr("完了") : change.failed ? tr("失敗") : tr("不明");
        auto* row =
            new QTreeWidgetItem(QStringList{changeText(change.kind), qs(change.path), result});
        row->setToolTip(kPath, qs(platform::utf8Of(journal_->hostPathOf(change.path))));
        if (!change.made)
            row->setToolTip(kResult, change.failed ? tr("この変更は行われませんでした。")
                                                   : tr("操作が中断され、この変更が行われたか"
                                                        "どうか分かりません。"));
        rows.append(row);
    }
    fileList_->addTopLevelItems(rows);
}

void HistoryWindow::updateUndo() {
    const JournalEntry* entry = selectedEntry();
    const bool canUndo = !busy_ && entry && isUndoable(*entry);
    undoButton_->setEnabled(canUndo);
    undoAction_->setEnabled(canUndo);
}

QString HistoryWindow::entryLine(int64_t id) const {
    for (const JournalEntry& entry : entries_)
        if (entry.id == id)
            return tr("No. %1  %2  %3「%4」")
                .arg(entry.id)
                .arg(timeText(entry.time), toolText(entry.tool), summaryText(entry));
    return tr("No. %1").arg(id);
}

QStringList HistoryWindow::itemLines(const std::vector<UndoItem>& items, bool done) const {
    std::vector<const UndoItem*> removed;
    std::vector<const UndoItem*> restored;
    std::vector<const UndoItem*> leftAlone;
    for (const UndoItem& item : items) {
        switch (item.action) {
        case UndoAction::Removed:
        case UndoAction::FolderRemoved:
            removed.push_back(&item);
            break;
        case UndoAction::Restored:
        case UndoAction::FolderRestored:
            restored.push_back(&item);
            break;
        case UndoAction::LeftAlone:
            leftAlone.push_back(&item);
            break;
        }
    }
    QStringList lines;
    // Why a file was left alone, in the window's language.
    const auto whyText = [](const UndoItem& item) -> QString {
        switch (item.why) {
        case LeftAloneWhy::None:
            return {};
        case LeftAloneWhy::ChangedSince:
            return tr("その後に変更されています");
        case LeftAloneWhy::ThereAgain:
            return tr("同じ名前のファイルがまた置かれています");
        case LeftAloneWhy::FolderThere:
            return tr("同じ名前のフォルダがまた置かれています");
        case LeftAloneWhy::NotEmpty:
            return tr("ほかのファイルが入っています");
        case LeftAloneWhy::Failed:
            break;
        }
        return item.errorNumber ? systemReasonText(item.errorNumber) : qs(item.reason);
    };
    const auto group = [&lines, done, &whyText](const QString& caption,
                                                const std::vector<const UndoItem*>& list) {
        if (list.empty())
            return;
        lines << caption;
        const int count = static_cast<int>(list.size());
        for (int i = 0; i < count && i < kItemsShown; ++i) {
            const UndoItem& item = *list[static_cast<size_t>(i)];
            // The question names them as the entry does, the report as the player finds them.
            QString line = QStringLiteral("  ") + qs(done ? item.host : item.path);
            if (item.action == UndoAction::FolderRemoved ||
                item.action == UndoAction::FolderRestored)
                line = tr("%1（フォルダ）").arg(line);
            if (const QString why = whyText(item); !why.isEmpty())
                line = tr("%1: %2").arg(line, why);
            lines << line;
        }
        if (count > kItemsShown)
            lines << tr("  ほか %n 件", nullptr, count - kItemsShown);
    };
    const auto n = [](const std::vector<const UndoItem*>& list) {
        return static_cast<int>(list.size());
    };
    group(done ? tr("削除したもの（%n 件）:", nullptr, n(removed))
               : tr("削除するもの（%n 件）:", nullptr, n(removed)),
          removed);
    group(done ? tr("元に戻したもの（%n 件）:", nullptr, n(restored))
               : tr("元に戻すもの（%n 件）:", nullptr, n(restored)),
          restored);
    group(done ? tr("そのままにしたもの（%n 件）:", nullptr, n(leftAlone))
               : tr("そのままにするもの（%n 件）:", nullptr, n(leftAlone)),
          leftAlone);
    return lines;
}

void HistoryWindow::undoSelected() {
    const JournalEntry* entry = selectedEntry();
    if (busy_ || !entry || !isUndoable(*entry))
        return;
    const int64_t id = entry->id;
    const std::string title = us(windowTitle());
    const QString line = entryLine(id);

    // What would be done, found off the window's thread: it reads every file the entry left.
    struct Plan {
        std::vector<int64_t> later;
        UndoReport dry;
    };
    Plan plan;
    setBusy(true);
    try {
        plan = work_.run([journal = journal_.get(), id] {
            Plan found;
            UndoOptions options;
            options.dryRun = true;
            found.dry = undoEntry(*journal, id, options);
            found.later = found.dry.later;
            if (!found.later.empty()) {
                options.withLater = true;
                found.dry = undoEntry(*journal, id, options);
            }
            return found;
        });
    } catch (const std::exception& e) {
        setBusy(false);
        showMessage(title,
                    us(joined({tr("次の変更を元に戻せません。"), QStringLiteral("  ") + line,
                               failureText(e)})),
                    PromptIcon::Error);
        refresh();
        return;
    }
    setBusy(false);

    const bool withLater = !plan.later.empty();
    const bool hasWork =
        std::any_of(plan.dry.items.begin(), plan.dry.items.end(),
                    [](const UndoItem& item) { return item.action != UndoAction::LeftAlone; });
    if (!hasWork) {
        QStringList lines{tr("次の変更には、元に戻せるものがありません。"),
                          QStringLiteral("  ") + line};
        lines << itemLines(plan.dry.items, false);
        showMessage(title, us(joined(lines)), PromptIcon::Information);
        return;
    }
    QStringList question{tr("次の変更を元に戻します。"), QStringLiteral("  ") + line};
    if (withLater) {
        const int count = static_cast<int>(plan.later.size());
        question << tr("このあとの %n 件の変更が同じファイルを変更しています。"
                       "それらも先に元に戻します。",
                       nullptr, count);
        for (int i = 0; i < count && i < kItemsShown; ++i)
            question << QStringLiteral("  ") + entryLine(plan.later[static_cast<size_t>(i)]);
        if (count > kItemsShown)
            question << tr("  ほか %n 件", nullptr, count - kItemsShown);
    }
    question << itemLines(plan.dry.items, false);
    question << (withLater ? tr("これらの変更をまとめて元に戻しますか？") : tr("元に戻しますか？"));
    if (askQuestion(title, us(joined(question)), PromptButtons::YesNo, PromptAnswer::No,
                    withLater ? PromptIcon::Warning : PromptIcon::Question) != PromptAnswer::Yes)
        return;

    UndoReport result;
    setBusy(true);
    progressBar_->setRange(0, 0); // busy until the first file
    progressBar_->show();
    try {
        result = work_.run([journal = journal_.get(), id, withLater, work = &work_] {
            UndoOptions options;
            options.withLater = withLater;
            options.progress = [work](size_t done, size_t total) {
                work->reportProgress(static_cast<qint64>(done), static_cast<qint64>(total),
                                     QString());
                return true;
            };
            return undoEntry(*journal, id, options);
        });
    } catch (const std::exception& e) {
        progressBar_->hide();
        setBusy(false);
        showMessage(title,
                    us(joined({tr("次の変更を元に戻せませんでした。"), QStringLiteral("  ") + line,
                               failureText(e)})),
                    PromptIcon::Error);
        refresh();
        return;
    }
    progressBar_->hide();
    setBusy(false);
    report(result);
    refresh();
}

void HistoryWindow::report(const UndoReport& result) {
    const bool hasChanged =
        std::any_of(result.items.begin(), result.items.end(),
                    [](const UndoItem& item) { return item.action != UndoAction::LeftAlone; });
    QStringList lines;
    if (!result.later.empty()) {
        // Entries came in the way after the question: nothing was done.
        lines << tr("このあとの変更が同じファイルを変更したため、元に戻しませんでした。");
        for (const int64_t later : result.later)
            lines << QStringLiteral("  ") + entryLine(later);
    } else if (!hasChanged) {
        lines << tr("何も変更しませんでした。");
    } else if (result.taken.size() > 1) {
        lines << tr("%n 件の変更を元に戻しました。", nullptr,
                    static_cast<int>(result.taken.size()));
    } else {
        lines << tr("元に戻しました。");
    }
    lines << itemLines(result.items, true);
    showMessage(us(windowTitle()), us(joined(lines)),
                hasChanged && !result.leftAlone() ? PromptIcon::Information : PromptIcon::Warning);
}

void HistoryWindow::setBusy(bool busy) {
    busy_ = busy;
    client()->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    closeButton_->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    updateUndo();
}

void HistoryWindow::done(int result) {
    if (busy_)
        return;
    ToolWindow::done(result);
}

} // namespace vokari::ui
