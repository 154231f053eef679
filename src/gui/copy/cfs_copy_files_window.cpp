#include "gui/copy/cfs_copy_files_window.h"

#include "common/prompt.h"
#include "frame/installation.h"
#include "gui/kit/failure_dialog.h"
#include "gui/kit/message_box_dialog.h"
#include "platform/codepage.h"
#include "platform/host_paths.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vokari::ui {
namespace {

// How many failures the end message names; the rest are counted.
constexpr size_t kFailuresShown = 5;

} // namespace

CfsCopyFilesWindow::CfsCopyFilesWindow(int16_t, QWidget* parent)
    : ToolWindow(QStringLiteral("FrmCFSCopyFiles"), tr("CFS1 → CFS2 ファイル コピー"),
                 Frame::DialogBox, parent) {

    // The question, then what it does and where, so that no one has to guess.
    QStringList info{tr("コピーを実行してよろしいですか？"),
                     tr("CFS1 の AIRCRAFT フォルダと GAUGES フォルダ（機体とゲージ。標準の機体も"
                        "含みます）から、CFS2 にないファイルとフォルダを CFS2 の同じフォルダに"
                        "追加します。CFS2 にあるファイルは置き換えません。バックアップ"
                        "（.bak、.org）はコピーしません。")};
    for (const auto& [game, line] :
         {std::pair{kGameCfs1, tr("コピー元: %1")}, std::pair{kGameCfs2, tr("コピー先: %1")}}) {
        if (const std::string folder = gameFolder(game); !folder.empty())
            info << line.arg(qs(platform::displayPath(folder)));
    }
    infoLabel_ = new QLabel(info.join(QLatin1Char('\n')), this);
    infoLabel_->setObjectName(QStringLiteral("LblInfo"));
    infoLabel_->setTextFormat(Qt::PlainText);
    infoLabel_->setWordWrap(true);
    copyFileNamesLabel_ = new QLabel(tr("コピー中のファイル"), this);
    copyFileNamesLabel_->setObjectName(QStringLiteral("LblCopyFileNames"));
    copyFileNamesLabel_->setTextFormat(Qt::PlainText); // names on disk are shown as they are
    copyFileNamesLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // long names
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("PrgBar"));
    progressBar_->setTextVisible(false);
    copyButton_ = new QPushButton(tr("実行"), this);
    copyButton_->setObjectName(QStringLiteral("CmdCopy"));
    copyButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("キャンセル"), this);
    cancelButton_->setObjectName(QStringLiteral("CmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoLabel_);
    layout->addWidget(copyFileNamesLabel_);
    layout->addWidget(progressBar_);
    layout->addStretch();
    layout->addLayout(buttons);

    setMinimumWidth(420); // the same width before and during the copy
    copyFileNamesLabel_->hide();
    progressBar_->hide();
    connect(copyButton_, &QPushButton::clicked, this, &CfsCopyFilesWindow::copyAll);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

// The copy, if it still runs, is cancelled and waited for by work_.
CfsCopyFilesWindow::~CfsCopyFilesWindow() = default;

void CfsCopyFilesWindow::copyAll() {
    if (isCopying())
        return;
    const std::string source = gameFolder(kGameCfs1);
    const std::string target = gameFolder(kGameCfs2);
    if (source.empty() || target.empty()) {
        showMessage(us(windowTitle()), us(tr("CFS1 と CFS2 の両方がインストールされていません。")),
                    PromptIcon::Error);
        QDialog::done(QDialog::Rejected);
        return;
    }
    copyButton_->setEnabled(false);
    infoLabel_->hide();
    copyFileNamesLabel_->show();
    progressBar_->setRange(0, 0); // busy until the entries are counted
    progressBar_->show();
    connect(&work_, &BackgroundWork::progressed, this, &CfsCopyFilesWindow::showProgress,
            Qt::UniqueConnection);
    work_.start(
        [work = &work_, source, target] {
            const std::vector<CopyTable> tables = collectCopyTables(source, target);
            const int32_t maximum = entryCount(tables);
            // The length, once counted; the file names follow.
            work->reportProgress(0, maximum, QString());
            CopyOptions options;
            options.cancel = &work->cancelFlag();
            options.onProgress = [work, maximum](const CopyEntry& entry, int32_t count) {
                work->reportProgress(count, maximum, qs(entry.relative));
            };
            return vokari::copyAll(tables, options);
        },
        [this](std::future<CopySummary> outcome) { finishCopy(std::move(outcome)); });
}

void CfsCopyFilesWindow::showProgress(qint64 count, qint64 maximum, const QString& name) {
    if (progressBar_->maximum() != maximum)
        progressBar_->setRange(0, std::max(static_cast<int>(maximum), 1));
    progressBar_->setValue(static_cast<int>(count));
    copyFileNamesLabel_->setText(name);
}

void CfsCopyFilesWindow::finishCopy(std::future<CopySummary> outcome) {
    const std::string title = us(windowTitle());
    CopySummary summary;
    try {
        summary = outcome.get();
    } catch (const std::exception& e) {
        // Out of memory or the like: said, not hidden.
        showMessage(
            title,
            us(tr("コピーを続けられませんでした。") + QStringLiteral("\r\n") + failureText(e)),
            PromptIcon::Error);
        QDialog::done(QDialog::Rejected);
        return;
    } catch (...) {
        showMessage(title, us(tr("コピーを続けられませんでした。")), PromptIcon::Error);
        QDialog::done(QDialog::Rejected);
        return;
    }
    const QString leftovers = leftoversText(summary.leftovers);
    // What was done, so that a copy that wrote nothing does not read as one that did.
    const QStringList counts{
        tr("コピーしたファイル: %n 個", nullptr, summary.copiedFiles),
        tr("CFS2 にあったのでそのままにしたファイル: %n 個", nullptr, summary.existingFiles)};
    if (summary.failures.empty() && !summary.cancelled) {
        QStringList done{tr("コピーが完了しました。")};
        done << counts;
        if (!leftovers.isEmpty())
            done << leftovers;
        showMessage(title, us(done.join(QStringLiteral("\r\n"))), PromptIcon::Information);
        QDialog::done(QDialog::Accepted);
        return;
    }
    QStringList lines;
    if (summary.cancelled)
        lines << tr("コピーを中止しました。");
    const int failed = static_cast<int>(summary.failures.size());
    if (failed > 0)
        lines << tr("%n 個のファイルまたはフォルダをコピーできませんでした。", nullptr, failed);
    lines << counts;
    if (failed > 0) {
        for (size_t i = 0; i < summary.failures.size() && i < kFailuresShown; ++i)
            lines << failureLine(summary.failures[i]);
        if (summary.failures.size() > kFailuresShown)
            lines << tr("ほか %n 件", nullptr, failed - static_cast<int>(kFailuresShown));
    }
    if (!leftovers.isEmpty())
        lines << leftovers;
    showMessage(title, us(lines.join(QStringLiteral("\r\n"))),
                summary.failures.empty() ? PromptIcon::Information : PromptIcon::Warning);
    QDialog::done(summary.failures.empty() ? QDialog::Accepted : QDialog::Rejected);
}

QString CfsCopyFilesWindow::failureLine(const CopyFailure& failure) const {
    QString reason;
    switch (failure.problem) {
    case CopyProblem::UnsafeName:
        reason = tr("Windows のパスに使えない文字を含む名前です。");
        break;
    case CopyProblem::DeviceName:
        reason = tr("Windows では装置の名前です。");
        break;
    case CopyProblem::DotOrSpaceAtEnd:
        reason = tr("Windows は名前の末尾のピリオドや空白を取り除きます。");
        break;
    case CopyProblem::NotInCodePage:
        reason = tr("CFS2 の文字コード (%1) で表せない文字を含む名前です。")
                     .arg(QString::fromStdString(platform::ansiCodePage()));
        break;
    case CopyProblem::CaseTwin:
        reason = tr("大文字と小文字だけが違う名前のファイルを、すでに CFS2 にコピーしました。");
        break;
    case CopyProblem::Link:
        reason = tr("シンボリックリンクはたどりません。");
        break;
    case CopyProblem::Unreadable:
        reason = tr("フォルダを読み込めません。") + systemReasonText(failure.err);
        break;
    case CopyProblem::NoTargetFolder:
        reason = tr("CFS2 にこのフォルダがありません。");
        break;
    case CopyProblem::InTheWay:
        reason = tr("CFS2 に同じ名前のファイルまたはフォルダがあります。");
        break;
    case CopyProblem::FolderNotCopied:
        reason = tr("フォルダをコピーできませんでした。");
        break;
    case CopyProblem::System:
    case CopyProblem::None:
        reason = systemReasonText(failure.err);
        break;
    }
    return tr("%1: %2").arg(qs(failure.hostPath), reason);
}

void CfsCopyFilesWindow::done(int result) {
    if (isCopying()) {
        // Stops after the current file; the end message then closes the window.
        work_.cancel();
        cancelButton_->setEnabled(false);
        return;
    }
    ToolWindow::done(result);
}

} // namespace vokari::ui
