#pragma once

#include "copy/cfs_copy.h"
#include "gui/kit/tool_window.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vokari::ui {

// "CFS1 → CFS2 ファイル コピー": copies the first game's add-on aircraft and gauges into the
// second game, adding what is missing and replacing nothing. The copy runs off the window's
// thread; the label and the bar follow it, and Cancel stops it after the current file.
class CfsCopyFilesWindow : public ToolWindow {
    Q_OBJECT

public:
    // The direction is always from the first game to the second: the launcher's choice of game
    // is not asked.
    explicit CfsCopyFilesWindow(int16_t version = 0, QWidget* parent = nullptr);
    ~CfsCopyFilesWindow() override;

    // Starts the copy of both trees.
    void copyAll();
    bool isCopying() const { return worker_.joinable(); }

    // Closing while the copy runs stops it first.
    void done(int result) override;

private:
    void showProgress();
    CopySummary copyInBackground(const std::string& source, const std::string& target);
    void finishCopy(const CopySummary& summary, const std::exception_ptr& error);
    QString failureLine(const CopyFailure& failure) const;

    QLabel* infoLabel_ = nullptr;
    QLabel* copyFileNamesLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    // The newest entry of the copy, taken by the window when it shows progress.
    std::mutex progressMutex_;
    std::string progressText_;
    int32_t progressCount_ = 0;
    int32_t progressMaximum_ = -1;
    std::atomic<bool> progressQueued_{false};
};

} // namespace vokari::ui
