#include "gui/kit/about_dialog.h"

#include "common/prompt.h"
#include "frame/installation.h"
#include "frame/startup.h"
#include "gui/kit/message_box_dialog.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vokari::ui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(tr("ﾊﾞｰｼﾞｮﾝ情報"));
    ensureUiResources();

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("PctIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/vokari/vokari.png")).pixmap(48, 48));
    titleLabel_ = new QLabel(QString::fromLatin1(kProgramName.data(), kProgramName.size()), this);
    titleLabel_->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = titleLabel_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    titleLabel_->setFont(titleFont);
    versionLabel_ = new QLabel(tr("Version : Prototype R.0.0.6"), this);
    versionLabel_->setObjectName(QStringLiteral("lblVersion"));

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("CmdOk"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    sysInfoButton_ = new QPushButton(tr("ｼｽﾃﾑ情報(&S)..."), this);
    sysInfoButton_->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfoButton_->setAutoDefault(false);
    connect(sysInfoButton_, &QPushButton::clicked, this, &AboutDialog::showSystemInfo);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(titleLabel_, 0, 1);
    layout->addWidget(versionLabel_, 1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(sysInfoButton_);
    buttons->addStretch();
    layout->addLayout(buttons, 0, 2, 3, 1);
    layout->setColumnMinimumWidth(1, 220);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();

    // Centred on the screen, not on the launcher; the About box keeps no placement.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void AboutDialog::showSystemInfo() {
    if (!runSystemInfo())
        showMessage(us(windowTitle()), us(tr("現時点ではｼｽﾃﾑ情報を使用できません")),
                    PromptIcon::None);
}

} // namespace vokari::ui
