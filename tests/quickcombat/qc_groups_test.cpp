#include "platform/error.h"
#include "quickcombat/qc_groups.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vokari {
namespace {

std::vector<std::string> keysOf(const QcStringList& list) {
    std::vector<std::string> keys;
    for (const auto& entry : list.entries())
        keys.push_back(entry.key);
    return keys;
}

TEST(QCStringList, AddKeepsFirstSpellingUntilTheValueChanges) {
    QcStringList list;
    list.add("A", "KEY");
    list.add("x", "Other");
    list.add("A", "key"); // same value: stays put, spelled as first given
    EXPECT_EQ(keysOf(list), (std::vector<std::string>{"KEY", "Other"}));
    EXPECT_EQ(list.item("Key"), "A");

    list.add("a", "Key"); // values compare with case: moves to the end, new spelling
    EXPECT_EQ(keysOf(list), (std::vector<std::string>{"Other", "Key"}));
    EXPECT_EQ(list.item("KEY"), "a");
    EXPECT_EQ(list.count(), 2);

    list.add("ignored", "");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.item("absent"), "");
}

TEST(QCStringList, AssignAndRemoveIgnoreAbsentKeys) {
    QcStringList list;
    list.setItem("v", "nothing");
    list.remove("nothing");
    EXPECT_EQ(list.count(), 0);

    list.add("1", "a");
    list.add("2", "b");
    list.setItem("1", "A"); // even an unchanged value moves to the end
    EXPECT_EQ(keysOf(list), (std::vector<std::string>{"b", "A"}));
    list.remove("B");
    EXPECT_EQ(keysOf(list), (std::vector<std::string>{"A"}));
    EXPECT_EQ(list.item("b"), "");
}

TEST(QCGroups, NewDocumentAndFirstGroup) {
    QcGroups doc;
    EXPECT_EQ(doc.defaultPlaneName(), "");
    EXPECT_EQ(doc.defaultpGunAmmo(), 0);
    EXPECT_EQ(doc.defaultpCannonAmmo(), 0);
    EXPECT_TRUE(doc.groups().empty());

    QcGroup& group = doc.addGroup();
    EXPECT_EQ(group.groupId(), 1);
    EXPECT_EQ(group.defineName(), "%VokariGrpOption00001%");
    EXPECT_EQ(group.viewName(), "");
    EXPECT_TRUE(doc.groups().keyExists("grp.1"));
    doc.addString("vokarigrpoption00001", "Zero");
    EXPECT_EQ(group.viewName(), "Zero");

    doc.setDefaultPlaneName("");
    EXPECT_EQ(doc.defaultPlaneName(), "スピットファイア Mk I");
    doc.setDefaultPlaneName("A6M2 Zero");
    EXPECT_EQ(doc.defaultPlaneName(), "A6M2 Zero");
    doc.setDefaultpGunAmmo(-5);
    doc.setDefaultpCannonAmmo(2147483647);
    EXPECT_EQ(doc.defaultpGunAmmo(), -5);
    EXPECT_EQ(doc.defaultpCannonAmmo(), 2147483647);
}

TEST(QCGroups, NewAliasTakesLowestFreeNumberComparingWithCase) {
    QcGroups doc;
    doc.addGroup();                                         // 00001
    doc.addGroup().setDefineName("%VokariGrpOption00003%"); // was 00002
    doc.addGroup().setDefineName("%vokarigrpoption00002%"); // lower case: does not count
    EXPECT_EQ(doc.getNewGroupAlias(), "%VokariGrpOption00002%");

    QcGroups many;
    for (int i = 0; i < 41; ++i)
        many.addGroup();
    EXPECT_EQ(many.getNewGroupAlias(), "%VokariGrpOption00042%");
    many.removeGroup(7);
    EXPECT_EQ(many.getNewGroupAlias(), "%VokariGrpOption00007%");
}

TEST(QCGroups, RemovedGroupTakesWhatOnlyItUsedAndKeepsItsId) {
    QcGroups doc;
    doc.addGroup();
    doc.addString("VokariGrpOption00001", "Allies");
    doc.addPlane(1, "Spit", "Spitfire");
    doc.removeGroup(1);
    EXPECT_TRUE(doc.groups().empty());
    EXPECT_FALSE(doc.planes().keyExists("Spit"));
    EXPECT_EQ(doc.stringList().count(), 0);
    EXPECT_EQ(doc.addGroup().groupId(), 2);
    EXPECT_THROW(doc.removeGroup(1), KeyError);
}

TEST(QCGroups, GroupIdsRunOutAfter32767) {
    QcGroups doc;
    for (int i = 1; i <= 32767; ++i)
        doc.removeGroup(doc.addGroup().groupId());
    EXPECT_THROW(doc.addGroup(), Error);
    EXPECT_TRUE(doc.groups().empty());
}

TEST(QCGroups, AddPlaneSharesOneEntryPerFolder) {
    QcGroups doc;
    doc.addGroup();
    doc.addGroup();
    QcPlane& spit = doc.addPlane(1, "Spit", "Spitfire");
    EXPECT_EQ(spit.defineName(), "%SpitName%");
    EXPECT_EQ(spit.viewName(), "Spitfire");
    EXPECT_EQ(spit.groupId(), 1);
    EXPECT_EQ(spit.aircraftType(), kQCFighter);
    EXPECT_EQ(keysOf(doc.stringList()), (std::vector<std::string>{"SpitName"}));

    QcPlane& again = doc.addPlane(2, "spit", "Other name");
    EXPECT_EQ(&again, &spit);
    EXPECT_EQ(spit.viewName(), "Spitfire");
    EXPECT_EQ(spit.groupId(), 1);
    doc.addPlane(2, "SPIT");
    EXPECT_EQ(doc.group(2).planes().count(), 1u);
    EXPECT_EQ(doc.planes().count(), 1u);

    // One entry: a change through either group shows in both.
    doc.group(2).planes().item("spit")->setAircraftType(kQCBomber);
    EXPECT_EQ(doc.group(1).planes().item("Spit")->aircraftType(), kQCBomber);

    // An unknown group leaves the document as it was.
    EXPECT_THROW(doc.addPlane(9, "Zero", "Zero"), KeyError);
    EXPECT_FALSE(doc.planes().keyExists("Zero"));
    EXPECT_EQ(doc.getString("ZeroName"), "");
}

TEST(QCGroups, RemovedEntryComesBackOnlyWhileAnotherGroupHoldsIt) {
    QcGroups doc;
    doc.addGroup();
    doc.addGroup();
    doc.addPlane(1, "Ju87", "Stuka").setAircraftType(kQCBomber);
    doc.addPlane(2, "Ju87");
    doc.removePlane(1, "JU87");
    EXPECT_TRUE(doc.group(1).planes().empty());
    EXPECT_THROW(doc.removePlane(1, "Ju87"), KeyError);

    QcPlane& back = doc.addPlane(1, "Ju87", "New name");
    EXPECT_EQ(back.aircraftType(), kQCBomber);
    EXPECT_EQ(back.viewName(), "Stuka");

    // Held by no group, it leaves with its string: adding the folder again makes a new entry.
    doc.removePlane(2, "Ju87");
    doc.removePlane(1, "Ju87");
    EXPECT_FALSE(doc.planes().keyExists("Ju87"));
    EXPECT_EQ(doc.stringList().count(), 0);
    QcPlane& fresh = doc.addPlane(1, "Ju87", "New name");
    EXPECT_EQ(fresh.aircraftType(), kQCFighter);
    EXPECT_EQ(fresh.viewName(), "New name");
}

TEST(QCPlane, NameAndTypeRules) {
    QcGroups doc;
    doc.addGroup();
    QcPlane& plane = doc.addPlane(1, "P-51D");
    EXPECT_EQ(plane.defineName(), "");

    plane.setDefineName("%NAME_X%"); // an alias stays as given, adds no string
    EXPECT_EQ(plane.defineName(), "%NAME_X%");
    EXPECT_EQ(doc.stringList().count(), 0);
    EXPECT_EQ(plane.viewName(), "");
    doc.addString("name_x", "Mustang");
    EXPECT_EQ(plane.viewName(), "Mustang");
    plane.setDefineName("%NAME_X?"); // the last character goes whatever it is
    EXPECT_EQ(plane.viewName(), "Mustang");
    plane.setDefineName("%");
    EXPECT_EQ(plane.viewName(), "");

    plane.setDefineName(""); // an empty literal still goes into the list
    EXPECT_EQ(plane.defineName(), "%P-51DName%");
    EXPECT_TRUE(doc.stringList().entries().keyExists("P-51DName"));

    plane.setAircraftType(2);
    plane.setAircraftType(0);
    plane.setAircraftType(3);
    EXPECT_EQ(plane.aircraftType(), 2);
    plane.setAircraftType(1);
    EXPECT_EQ(plane.aircraftType(), 1);
}

} // namespace
} // namespace vokari
