#pragma once

#include <QFileDialog>
#include <QString>

namespace vokari::ui {

// Choosing a file to open, all in the window's language: Qt's own dialog rather than the
// desktop's, whose list words the type of each file through our catalogue and its size and
// date in the window's locale. (Qt words these in the system's locale, and its Japanese
// catalogue lacks the type names.)
class OpenFileDialog : public QFileDialog {
    Q_OBJECT

public:
    // `filter` as QFileDialog takes it ("ZIP (*.zip);;...").
    OpenFileDialog(QWidget* parent, const QString& caption, const QString& folder,
                   const QString& filter);

    // The file chosen; empty when the dialog was cancelled.
    QString chosenFile() const;
};

} // namespace vokari::ui
