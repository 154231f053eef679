#include "gui/quickcombat/qc_group_edit_dialog.h"

#include "common/prompt.h"
#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "gui/kit/tool_window.h"
#include "quickcombat/qc_group.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <cmath>

namespace vokari::ui {
namespace {

const QString kPlacementName = QStringLiteral("FrmQCGroupEdit");

} // namespace

QcGroupEditDialog::QcGroupEditDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(kPlacementName);
    setWindowTitle(tr("グループ編集"));

    const auto px = [this](double twips) { return pixelsOfTwips(this, twips); };

    optionName2Label_ = new QLabel(tr("敵の航空機の種類（グループ）の名称"), this);
    optionName2Label_->setObjectName(QStringLiteral("LblOptionName2"));
    optionName2Label_->move(px(240), px(240));
    optionName2Label_->resize(px(3495), optionName2Label_->sizeHint().height());

    optionName2Edit_ = new QLineEdit(this);
    optionName2Edit_->setObjectName(QStringLiteral("TxtOptionName2"));
    // A line break would split the name's line in the game's file.
    optionName2Edit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\r\\n]*")), optionName2Edit_));
    optionName2Edit_->setGeometry(px(240), px(660), px(3495),
                                  optionName2Edit_->sizeHint().height());

    setButton_ = new QPushButton(tr("設　定"), this);
    setButton_->setObjectName(QStringLiteral("CmdSet"));
    setButton_->setDefault(true);
    setButton_->setGeometry(px(1200), px(1320), px(1215), px(375));
    cancelButton_ = new QPushButton(tr("キャンセル"), this);
    cancelButton_->setObjectName(QStringLiteral("CmdCancel"));
    cancelButton_->setAutoDefault(false);
    cancelButton_->setGeometry(px(2520), px(1320), px(1215), px(375));
    connect(setButton_, &QPushButton::clicked, this, [this] { setGroup(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject); // Esc does the same

    setFixedSize(px(3975), px(1935));
    restorePlacement(this, kPlacementName, false);
}

QcGroupEditDialog::~QcGroupEditDialog() = default;

void QcGroupEditDialog::loadQCGroup(QcGroup& group) {
    isGroupSet_ = false;
    group_ = &group;
    isAlias_ = isAliasName(group.defineName());
    optionName2Edit_->setText(qs(isAlias_ ? group.viewName() : group.defineName()));
}

void QcGroupEditDialog::loadNewQCGroup() {
    isGroupSet_ = false;
    group_ = nullptr;
    isAlias_ = false;
    optionName2Edit_->clear();
}

void QcGroupEditDialog::setGroup() {
    const std::string text = us(optionName2Edit_->text());
    if (text.empty()) {
        showMessage(us(windowTitle()), us(tr("名称を設定してください。")), PromptIcon::Error);
        optionName2Edit_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (group_) {
        // The alias stays: every other reference to its key shows the new text as well.
        if (isAlias_) {
            if (QcStringList* strings = group_->getStringList())
                strings->add(text, aliasKey(group_->defineName()));
        } else {
            group_->setDefineName(text);
        }
    }
    name_ = text;
    isGroupSet_ = true;
    accept();
}

void QcGroupEditDialog::done(int result) {
    savePlacement(this, kPlacementName);
    QDialog::done(result);
}

} // namespace vokari::ui
