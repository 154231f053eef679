#include "installer/folder_search.h"

#include "common/file_helpers.h"
#include "platform/file_system.h"
#include "platform/folder_listings.h"
#include "platform/text.h"

namespace vokari {
namespace {

bool fitsWindowsPath(std::string_view name) {
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|')
            return false;
    return !name.empty();
}

void readChildren(const std::string& folder, std::vector<FolderNode>& children) {
    std::vector<std::string> entered;
    for (const auto& entry : platform::listDirectory(folder)) {
        if (!entry.isDirectory() || !fitsWindowsPath(entry.name))
            continue;
        children.push_back(FolderNode{entry.name, {}});
        entered.push_back(entry.isLink() ? std::string() : joinPath(folder, entry.name) + "\\");
    }
    // Each listing is complete before the next one starts.
    for (size_t i = 0; i < children.size(); ++i)
        if (!entered[i].empty())
            readChildren(entered[i], children[i].children);
}

void searchFolder(const std::string& folder, const std::string& relative, std::string_view fileName,
                  std::vector<std::string>& hits,
                  const std::function<void(const std::string&)>& visiting) {
    if (visiting)
        visiting(relative);
    std::vector<std::string> subFolders;
    for (const auto& entry : platform::listDirectory(folder)) {
        if (!fitsWindowsPath(entry.name))
            continue;
        if (entry.isDirectory()) {
            if (!entry.isLink())
                subFolders.push_back(entry.name);
        } else if (equalsNoCase(entry.name, fileName)) {
            hits.push_back(relative + entry.name);
        }
    }
    for (const std::string& name : subFolders)
        searchFolder(joinPath(folder, name) + "\\", relative + name + "\\", fileName, hits,
                     visiting);
}

} // namespace

std::vector<FolderNode> readFolderTree(std::string_view root) {
    std::vector<FolderNode> children;
    const platform::ListingScope listings;
    if (!root.empty())
        readChildren(std::string(root), children);
    return children;
}

std::vector<std::string> findFilesByName(std::string_view root, std::string_view fileName,
                                         const std::function<void(const std::string&)>& visiting) {
    std::vector<std::string> hits;
    const platform::ListingScope listings;
    if (!root.empty() && !fileName.empty())
        searchFolder(joinPath(root, ""), "", fileName, hits, visiting);
    return hits;
}

} // namespace vokari
