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

FrmQCPlaneEdit::FrmQCPlaneEdit(QWidget* parent) : QDialog(parent) {
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
    Label1 = label("Label1", tr("航空機データパス"), 120, 120);
    LblPath = label("LblPath", QString(), 2640, 120);
    LblDefineName1 = label("LblDefineName1", tr("定義名（エイリアス）"), 120, 600);
    TxtDefineName1 = label("TxtDefineName1", QString(), 2640, 600);
    LblDefineName2 = label("LblDefineName2", tr("定義名（文字列）"), 120, 1080);
    TxtDefineName2 = label("TxtDefineName2", QString(), 2640, 1080);

    FrameType = new QGroupBox(tr("航空機種別"), this);
    FrameType->setObjectName(QStringLiteral("FrameType"));
    FrameType->setGeometry(px(2640), px(1560), px(2400), px(1200));
    OptTypeFighter = new QRadioButton(tr("戦闘機"), FrameType);
    OptTypeFighter->setObjectName(QStringLiteral("OptTypeFighter"));
    OptTypeFighter->move(px(360), px(360));
    OptTypeBomber = new QRadioButton(tr("爆撃機"), FrameType);
    OptTypeBomber->setObjectName(QStringLiteral("OptTypeBomber"));
    OptTypeBomber->move(px(360), px(720));

    CmdSet = new QPushButton(tr("設　定"), this);
    CmdSet->setObjectName(QStringLiteral("CmdSet"));
    CmdSet->setDefault(true);
    CmdSet->setGeometry(px(3360), px(3000), px(1215), px(375));
    CmdCancel = new QPushButton(tr("キャンセル"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setAutoDefault(false);
    CmdCancel->setGeometry(px(4680), px(3000), px(1215), px(375));
    connect(CmdSet, &QPushButton::clicked, this, [this] { setPlane(); });
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject); // Esc does the same

    setFixedSize(px(6135), px(3615));
    restorePlacement(this, kPlacementName, false);
}

FrmQCPlaneEdit::~FrmQCPlaneEdit() = default;

void FrmQCPlaneEdit::loadQCPlane(ClsQCPlane& entry) {
    entry_ = &entry;
    boolSetPlane_ = false;
    LblPath->setText(qs(entry.aircraftPath()));
    showType();
    TxtDefineName1->setText(qs(entry.defineName()));
    const ClsStringList* strings = entry.getStringList();
    if (isAliasName(entry.defineName()) && strings)
        TxtDefineName2->setText(qs(strings->Item(unquoteKey(entry.defineName()))));
    else
        TxtDefineName2->clear();
}

void FrmQCPlaneEdit::showType() {
    const bool bomber = entry_ && entry_->aircraftType() == kQCBomber;
    OptTypeBomber->setChecked(bomber);
    OptTypeFighter->setChecked(!bomber);
}

int16_t FrmQCPlaneEdit::selectedType() const {
    return OptTypeBomber->isChecked() ? kQCBomber : kQCFighter;
}

void FrmQCPlaneEdit::setPlane() {
    if (entry_)
        entry_->setAircraftType(selectedType());
    boolSetPlane_ = true;
    accept();
}

void FrmQCPlaneEdit::done(int result) {
    savePlacement(this, kPlacementName);
    QDialog::done(result);
}

} // namespace vokari::ui
