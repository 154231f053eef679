#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vokari::ui {

// The About box: program name and version, and a way to the system's information program.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

private:
    void showSystemInfo();

    QLabel* titleLabel_;
    QLabel* versionLabel_;
    QPushButton* okButton_;
    QPushButton* sysInfoButton_;
};

} // namespace vokari::ui
