#pragma once

#include "copy/cfs_copy.h"
#include "gui/kit/background_work.h"
#include "gui/kit/tool_window.h"

#include <cstdint>
#include <future>

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
    bool isCopying() const { return work_.isRunning(); }

    // Closing while the copy runs stops it first.
    void done(int result) override;

private:
    void showProgress(qint64 count, qint64 maximum, const QString& name);
    void finishCopy(std::future<CopySummary> outcome);
    QString failureLine(const CopyFailure& failure) const;

    QLabel* infoLabel_ = nullptr;
    QLabel* copyFileNamesLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    BackgroundWork work_;
};

} // namespace vokari::ui
