#include "cli/cli.h"
#include "frame/installation.h"
#include "platform/file_system.h"
#include "platform/host_paths.h"
#include "platform/path_text.h"

#include <algorithm>

namespace vokari::cli {

namespace {
std::vector<std::string>::iterator optionsEnd(std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--");
}
} // namespace

std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name) {
    const auto end = optionsEnd(args);
    auto it = std::find(args.begin(), end, name);
    if (it == end)
        return std::nullopt;
    if (std::next(it) == end)
        throw UsageError(name + " needs a value");
    std::string value = *std::next(it);
    args.erase(it, std::next(it, 2));
    return value;
}

bool takeFlag(std::vector<std::string>& args, const std::string& name) {
    const auto end = optionsEnd(args);
    auto it = std::find(args.begin(), end, name);
    if (it == end)
        return false;
    args.erase(it);
    return true;
}

std::vector<std::string> operands(std::vector<std::string>& args, const std::string& command) {
    const auto end = optionsEnd(args);
    for (auto it = args.begin(); it != end; ++it)
        if (it->size() > 1 && it->front() == '-')
            throw UsageError(command + ": unknown option " + *it);
    std::vector<std::string> out(args.begin(), end);
    if (end != args.end())
        out.insert(out.end(), std::next(end), args.end());
    args.clear();
    return out;
}

std::string printable(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    std::string out;
    out.reserve(text.size());
    for (const unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out.append("\\x").append(1, kHex[c >> 4]).append(1, kHex[c & 15]);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

Game requireGame(std::vector<std::string>& args) {
    const auto text = takeOption(args, "--game");
    if (!text)
        throw UsageError("--game 1 or --game 2 is needed");
    if (*text != "1" && *text != "2")
        throw UsageError("--game must be 1 or 2, not " + *text);
    Game game;
    game.version = static_cast<int16_t>(std::stoi(*text));
    game.folder = gameFolder(game.version);
    if (game.folder.empty())
        throw GameMissing("game " + *text + " is not installed in the Wine prefix " +
                          platform::utf8Of(platform::winePrefix()));
    if (const std::string missing = missingGameFolder(game.folder); !missing.empty())
        throw GameMissing("game " + *text + "'s folder is missing: " + missing);
    return game;
}

std::string missingGameFolder(const std::string& folder) {
    if (folder.empty() || platform::isDirectory(folder))
        return {};
    return platform::displayPath(folder);
}

namespace {
std::vector<Command>& commandTable() {
    static std::vector<Command> table;
    return table;
}
} // namespace

CommandRegistration::CommandRegistration(const char* name, int (*run)(Context&),
                                         const char* summary, const char* usage) {
    commandTable().push_back(Command{name, run, summary, usage});
}

std::vector<Command> registeredCommands() {
    std::vector<Command> sorted = commandTable();
    std::sort(sorted.begin(), sorted.end(), [](const Command& a, const Command& b) {
        return std::string_view(a.name) < std::string_view(b.name);
    });
    return sorted;
}

} // namespace vokari::cli
