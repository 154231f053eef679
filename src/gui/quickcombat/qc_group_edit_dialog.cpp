#include "gui/quickcombat/qc_group_edit_dialog.h"

#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "gui/kit/tool_window.h"
#include "common/prompt.h"
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

FrmQCGroupEdit::FrmQCGroupEdit(QWidget* parent) : QDialog(parent) {
    setObjectName(kPlacementName);
    setWindowTitle(tr("グループ編集"));

    const auto px = [this](double twips) { return pixelsOfTwips(this, twips); };

    LblOptionName2 = new QLabel(tr("敵の航空機の種類（グループ）の名称"), this);
    LblOptionName2->setObjectName(QStringLiteral("LblOptionName2"));
    LblOptionName2->move(px(240), px(240));
    LblOptionName2->resize(px(3495), LblOptionName2->sizeHint().height());

    TxtOptionName2 = new QLineEdit(this);
    TxtOptionName2->setObjectName(QStringLiteral("TxtOptionName2"));
    // A line break would split the name's line in the game's file.
    TxtOptionName2->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\r\\n]*")), TxtOptionName2));
    TxtOptionName2->setGeometry(px(240), px(660), px(3495), TxtOptionName2->sizeHint().height());

    CmdSet = new QPushButton(tr("設　定"), this);
    CmdSet->setObjectName(QStringLiteral("CmdSet"));
    CmdSet->setDefault(true);
    CmdSet->setGeometry(px(1200), px(1320), px(1215), px(375));
    CmdCancel = new QPushButton(tr("キャンセル"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setAutoDefault(false);
    CmdCancel->setGeometry(px(2520), px(1320), px(1215), px(375));
    connect(CmdSet, &QPushButton::clicked, this, [this] { setGroup(); });
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject); // Esc does the same

    setFixedSize(px(3975), px(1935));
    restorePlacement(this, kPlacementName, false);
}

FrmQCGroupEdit::~FrmQCGroupEdit() = default;

void FrmQCGroupEdit::loadQCGroup(ClsQCGrp& group) {
    boolSetGroup_ = false;
    group_ = &group;
    isAlias_ = isAliasName(group.defineName());
    TxtOptionName2->setText(qs(isAlias_ ? group.viewName() : group.defineName()));
}

void FrmQCGroupEdit::setGroup() {
    const std::string text = us(TxtOptionName2->text());
    if (text.empty()) {
        showMessage(us(windowTitle()), us(tr("名称を設定してください。")), PromptIcon::Error);
        TxtOptionName2->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (group_) {
        // The alias stays: every other reference to its key shows the new text as well.
        if (isAlias_) {
            if (ClsStringList* strings = group_->getStringList())
                strings->Add(text, aliasKey(group_->defineName()));
        } else {
            group_->setDefineName(text);
        }
    }
    boolSetGroup_ = true;
    accept();
}

void FrmQCGroupEdit::done(int result) {
    savePlacement(this, kPlacementName);
    QDialog::done(result);
}

} // namespace vokari::ui
