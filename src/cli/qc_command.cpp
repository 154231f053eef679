#include "cli/cli.h"
#include "frame/installation.h"
#include "quickcombat/qc_file.h"

#include <filesystem>
#include <memory>
#include <ostream>

namespace vokari::cli {

namespace {

void printDocument(const QcGroups& doc, std::ostream& out) {
    for (const auto& groupItem : doc.groups()) {
        const QcGroup& group = *groupItem.value;
        out << "group\t" << group.groupId() << '\t' << group.defineName() << '\t'
            << group.viewName() << '\n';
        for (const auto& planeItem : group.planes()) {
            const QcPlane& plane = *planeItem.value;
            out << "plane\t" << plane.aircraftPath() << '\t' << plane.aircraftType() << '\t'
                << plane.defineName() << '\t' << plane.viewName() << '\n';
        }
    }
    out << "default\t" << doc.defaultPlaneName() << '\t' << doc.defaultpGunAmmo() << '\t'
        << doc.defaultpCannonAmmo() << '\n';
    const QcStringList& strings = doc.stringList();
    strings.forEach([&out](const std::string& key, const std::string& value) {
        out << "string\t" << key << '\t' << value << '\n';
    });
}

// show: the document as read. normalize: read and write back in the canonical layout.
int runQc(Context& ctx) {
    std::string folder;
    std::string file;
    if (const auto path = takeOption(ctx.args, "--file")) {
        if (path->empty())
            throw UsageError("--file needs a path");
        file = std::filesystem::absolute(*path).string();
    } else {
        folder = requireGame(ctx.args).folder;
        file = quickCombatFileName();
    }
    if (ctx.args.size() != 1 || (ctx.args[0] != "show" && ctx.args[0] != "normalize"))
        throw UsageError("qc needs one action: show or normalize");

    std::unique_ptr<QcGroups> doc;
    readQCFile(doc, folder, file);
    if (ctx.args[0] == "show") {
        printDocument(*doc, ctx.out);
    } else {
        writeQCFile(*doc, folder, file);
        ctx.out << "normalized " << folder << file << '\n';
    }
    return kExitOk;
}

const CommandRegistration registration{
    "qc", runQc, "qc (--game N | --file PATH) show|normalize  the quick-combat file"};

} // namespace

} // namespace vokari::cli
