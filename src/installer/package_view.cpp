#include "installer/package_view.h"

#include "common/file_helpers.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace vokari {

ViewKind viewKindOf(std::string_view fullPath) {
    const std::string x = asciiLower(fileExtension(fullPath));
    if (x == "exe")
        return ViewKind::Nothing;
    if (x == "txt" || x == "cfg" || x == "mis" || x == "cmg")
        return ViewKind::Text;
    return ViewKind::Desktop;
}

std::string readViewText(std::string_view path) {
    return replaceAll(platform::ansiToUtf8(platform::readFileBytes(path)), "\r\n", "\n");
}

} // namespace vokari
