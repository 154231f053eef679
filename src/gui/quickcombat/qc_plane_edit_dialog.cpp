#include "gui/quickcombat/qc_plane_edit_dialog.h"

#include "gui/kit/message_box_dialog.h"
#include "gui/kit/placement_window.h"
#include "gui/kit/tool_window.h"
#include "quickcombat/qc_file.h"
#include "quickcombat/qc_plane.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace vokari::ui {
namespace {

const QString kPlacementName = QStringLiteral("FrmQCPlaneEdit");

} // namespace

QcPlaneEditDialog::QcPlaneEditDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(kPlacementName);
    setWindowTitle(tr("航空機編集"));

    const auto px = [this](double twips) { return pixelsOfTwips(this, twips); };
    const auto label = [this, &px](const char* name, const QString& text, int left, int top) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText); // names from the file are never markup
        l->setGeometry(px(left), px(top), px(left < 2640 ? 2400 : 3375), l->sizeHint().height());
        return l;
    };
    aircraftPathCaption_ = label("Label1", tr("航空機データパス"), 120, 120);
    pathLabel_ = label("LblPath", QString(), 2640, 120);
    defineName1Label_ = label("LblDefineName1", tr("定義名（エイリアス）"), 120, 600);
    defineName1Edit_ = label("TxtDefineName1", QString(), 2640, 600);
    defineName2Label_ = label("LblDefineName2", tr("定義名（文字列）"), 120, 1080);
    defineName2Edit_ = label("TxtDefineName2", QString(), 2640, 1080);

    typeFrame_ = new QGroupBox(tr("航空機種別"), this);
    typeFrame_->setObjectName(QStringLiteral("FrameType"));
    typeFrame_->setGeometry(px(2640), px(1560), px(2400), px(1200));
    typeFighterOption_ = new QRadioButton(tr("戦闘機"), typeFrame_);
    typeFighterOption_->setObjectName(QStringLiteral("OptTypeFighter"));
    typeFighterOption_->move(px(360), px(360));
    typeBomberOption_ = new QRadioButton(tr("爆撃機"), typeFrame_);
    typeBomberOption_->setObjectName(QStringLiteral("OptTypeBomber"));
    typeBomberOption_->move(px(360), px(720));

    setButton_ = new QPushButton(tr("設　定"), this);
    setButton_->setObjectName(QStringLiteral("CmdSet"));
    setButton_->setDefault(true);
    setButton_->setGeometry(px(3360), px(3000), px(1215), px(375));
    cancelButton_ = new QPushButton(tr("キャンセル"), this);
    cancelButton_->setObjectName(QStringLiteral("CmdCancel"));
    cancelButton_->setAutoDefault(false);
    cancelButton_->setGeometry(px(4680), px(3000), px(1215), px(375));
    connect(setButton_, &QPushButton::clicked, this, [this] { setPlane(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject); // Esc does the same

    setFixedSize(px(6135), px(3615));
    restorePlacement(this, kPlacementName, false);
}

QcPlaneEditDialog::~QcPlaneEditDialog() = default;

void QcPlaneEditDialog::loadQCPlane(QcPlane& entry) {
    entry_ = &entry;
    isPlaneSet_ = false;
    pathLabel_->setText(qs(entry.aircraftPath()));
    showType();
    defineName1Edit_->setText(qs(entry.defineName()));
    const QcStringList* strings = entry.getStringList();
    if (isAliasName(entry.defineName()) && strings)
        defineName2Edit_->setText(qs(strings->item(unquoteKey(entry.defineName()))));
    else
        defineName2Edit_->clear();
}

void QcPlaneEditDialog::showType() {
    const bool bomber = entry_ && entry_->aircraftType() == kQCBomber;
    typeBomberOption_->setChecked(bomber);
    typeFighterOption_->setChecked(!bomber);
}

int16_t QcPlaneEditDialog::selectedType() const {
    return typeBomberOption_->isChecked() ? kQCBomber : kQCFighter;
}

void QcPlaneEditDialog::setPlane() {
    if (entry_)
        entry_->setAircraftType(selectedType());
    isPlaneSet_ = true;
    accept();
}

void QcPlaneEditDialog::done(int result) {
    savePlacement(this, kPlacementName);
    QDialog::done(result);
}

} // namespace vokari::ui
