#include "gui/installer/text_view_dialog.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vokari::ui {

TextViewDialog::TextViewDialog(const QString& fileName, const QString& text, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmTextView"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(fileName);
    textView_ = new QPlainTextEdit(this);
    textView_->setObjectName(QStringLiteral("TxtView"));
    textView_->setReadOnly(true);
    textView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    textView_->setPlainText(text);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textView_);
    resize(640, 480);
}

} // namespace vokari::ui
