#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace vokari::ui {

// A text file of a package, decoded, read only. Lives until the user closes it.
class TextViewDialog : public QDialog {
    Q_OBJECT
public:
    TextViewDialog(const QString& fileName, const QString& text, QWidget* parent = nullptr);

private:
    QPlainTextEdit* textView_;
};

} // namespace vokari::ui
