#include "gui/installer/text_view_dialog.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vokari::ui {

FrmTextView::FrmTextView(const QString& fileName, const QString& text, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmTextView"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(fileName);
    TxtView = new QPlainTextEdit(this);
    TxtView->setObjectName(QStringLiteral("TxtView"));
    TxtView->setReadOnly(true);
    TxtView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    TxtView->setPlainText(text);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TxtView);
    resize(640, 480);
}

} // namespace vokari::ui
