#include "common/prompt.h"
#include "gui/quickcombat/qc_group_edit_dialog.h"
#include "gui/quickcombat/qc_plane_edit_dialog.h"
#include "quickcombat/qc_groups.h"
#include "support/fixtures.h"
#include "support/qt_app.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vokari::ui {
namespace {

template <typename T> T* child(const QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

class QCEditDialogTest : public ::testing::Test {
protected:
    QCEditDialogTest() { test::qtApp(); }
    test::TestPrefix prefix; // the settings file the placement goes to
    ScriptedPrompt prompt;
    QcGroups doc;
};

TEST_F(QCEditDialogTest, GroupDialogNamesAliasAndLiteralGroupsAndRefusesAnEmptyName) {
    QcGroup& alias = doc.addGroup();
    QcGroupEditDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("グループ編集"));
    EXPECT_TRUE(child<QPushButton>(dialog, "CmdSet")->isDefault());
    dialog.loadQCGroup(alias);
    dialog.show();
    auto* text = child<QLineEdit>(dialog, "TxtOptionName2");
    EXPECT_TRUE(text->text().isEmpty()) << "a new group has no string yet";

    child<QPushButton>(dialog, "CmdSet")->click();
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].title, "グループ編集");
    EXPECT_EQ(prompt.asked()[0].text, "名称を設定してください。");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isGroupSet());

    // A line break would split the name's line in the file: it cannot get in.
    QApplication::clipboard()->setText(QStringLiteral("Fight\ners"));
    text->paste();
    EXPECT_FALSE(text->text().contains(QLatin1Char('\n'))) << text->text().toStdString();
    text->clear();
    QTest::keyClicks(text, QStringLiteral("Fighters"));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.isGroupSet());
    EXPECT_EQ(alias.defineName(), "%VokariGrpOption00001%");
    EXPECT_EQ(doc.getString("VokariGrpOption00001"), "Fighters");

    // A literal group takes the text as its name; no string is added.
    QcGroup& literal = doc.addGroup();
    literal.setDefineName("Group A");
    QcGroupEditDialog second;
    second.loadQCGroup(literal);
    second.show();
    EXPECT_EQ(child<QLineEdit>(second, "TxtOptionName2")->text(), QStringLiteral("Group A"));
    child<QLineEdit>(second, "TxtOptionName2")->setText(QStringLiteral("Group B"));
    child<QPushButton>(second, "CmdSet")->click();
    EXPECT_EQ(literal.defineName(), "Group B");
    EXPECT_EQ(doc.stringList().count(), 1);
}

TEST_F(QCEditDialogTest, PlaneDialogShowsTheEntryAndSetsOnlyItsType) {
    doc.addGroup();
    QcPlane& spit = doc.addPlane(1, "Spit", std::string_view("Spitfire"));
    spit.setAircraftType(kQCBomber);
    QcPlaneEditDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("航空機編集"));
    dialog.loadQCPlane(spit);
    dialog.show();
    EXPECT_EQ(child<QLabel>(dialog, "LblPath")->text(), QStringLiteral("Spit"));
    EXPECT_EQ(child<QLabel>(dialog, "TxtDefineName1")->text(), QStringLiteral("%SpitName%"));
    EXPECT_EQ(child<QLabel>(dialog, "TxtDefineName2")->text(), QStringLiteral("Spitfire"));
    EXPECT_TRUE(child<QRadioButton>(dialog, "OptTypeBomber")->isChecked());

    // Cancel keeps the type whatever was chosen.
    child<QRadioButton>(dialog, "OptTypeFighter")->setChecked(true);
    child<QPushButton>(dialog, "CmdCancel")->click();
    EXPECT_FALSE(dialog.isPlaneSet());
    EXPECT_EQ(spit.aircraftType(), kQCBomber);

    // Confirming untouched keeps the type and still counts as set.
    QcPlaneEditDialog again;
    again.loadQCPlane(spit);
    again.show();
    QTest::keyClick(&again, Qt::Key_Return);
    EXPECT_TRUE(again.isPlaneSet());
    EXPECT_EQ(spit.aircraftType(), kQCBomber);
    child<QRadioButton>(again, "OptTypeFighter")->setChecked(true);
    child<QPushButton>(again, "CmdSet")->click();
    EXPECT_EQ(spit.aircraftType(), kQCFighter);
}

} // namespace
} // namespace vokari::ui
