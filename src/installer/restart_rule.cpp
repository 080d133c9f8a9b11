#include "installer/restart_rule.h"
#include "platform/portable/text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <vector>

namespace kv {

namespace {

RestartDecision Refuse(const std::string& why) { return {{}, why}; }

bool IsDriveLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// Windows opens a device, not a file, for these names in any folder and with
// any extension ("nul.exe", "COM1.txt").
bool IsDeviceName(const std::string& component) {
    static const std::array<const char*, 6> plain{"con", "prn", "aux", "nul", "conin$", "conout$"};
    const std::string stem = text::LowerAscii(component.substr(0, component.find('.')));
    if (std::find(plain.begin(), plain.end(), stem) != plain.end()) return true;
    const bool numbered = stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt"));
    return numbered && stem[3] >= '0' && stem[3] <= '9';
}

// Characters that no file name holds, or that would let a value leave the
// quotes of the command line or name a stream of a file.
std::optional<std::string> ForbiddenCharacter(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"') return "a quote";
        if (c < 0x20) return "a control character";
        if (c == '<' || c == '>' || c == '|' || c == '*' || c == '?') return "a character no file name holds";
        if (c == ':' && !(i == 1 && IsDriveLetter(text[0]))) return "a colon outside a drive name";
    }
    return std::nullopt;
}

// How many leading characters of a full path name its root: "C:\" on
// Windows; a POSIX host (the unit tests' folders) also has "/".
std::size_t RootLength(const std::string& path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && (path[2] == '\\' || path[2] == '/'))
        return 3;
#ifndef _WIN32
    if (path.size() >= 2 && path[0] == '/' && path[1] != '/') return 1;
#endif
    return 0;
}

struct SplitPath {
    std::string root;
    std::vector<std::string> parts;
};

// A full path as its root and its components, "." dropped and ".." applied;
// nullopt when a ".." climbs above the root, or a component is one that
// Windows would quietly rewrite (trailing dot or blank) or open as a device.
std::optional<SplitPath> Split(const std::string& path) {
    const std::size_t rootLength = RootLength(path);
    SplitPath split{path.substr(0, rootLength), {}};
    std::replace(split.root.begin(), split.root.end(), '/', '\\');
    std::size_t start = rootLength;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (split.parts.empty()) return std::nullopt;
            split.parts.pop_back();
            continue;
        }
        if (part.back() == '.' || part.back() == ' ' || IsDeviceName(part)) return std::nullopt;
        split.parts.push_back(part);
    }
    return split;
}

std::string Joined(const SplitPath& split) {
    std::string text;
    for (const std::string& part : split.parts) {
        if (!text.empty()) text += '\\';
        text += part;
    }
    return split.root + text;
}

bool Contains(const SplitPath& folder, const SplitPath& path) {
    return text::LowerAscii(folder.root) == text::LowerAscii(path.root) && path.parts.size() > folder.parts.size() &&
           std::equal(folder.parts.begin(), folder.parts.end(), path.parts.begin(),
                      [](const std::string& a, const std::string& b) { return text::LowerAscii(a) == text::LowerAscii(b); });
}

}  // namespace

RestartDecision JudgeRestartProgram(const std::string& value, const std::string& productFolder,
                                    platform::Files& files) {
    if (value.empty()) return Refuse("no program named");
    if (const auto bad = ForbiddenCharacter(value)) return Refuse("the name holds " + *bad);
    if (RootLength(productFolder) == 0 || ForbiddenCharacter(productFolder))
        return Refuse("the product's folder is not known");
    const bool full = RootLength(value) > 0;
    if (!full && (value[0] == '\\' || value[0] == '/')) return Refuse("a device, network or rooted path");
    if (!full && value.size() >= 2 && value[1] == ':') return Refuse("a drive-relative path");

    const auto folder = Split(productFolder);
    const auto program = Split(full ? value : productFolder + "\\" + value);
    if (!folder || !program || !Contains(*folder, *program)) return Refuse("a path outside the product's folder");
    const std::string path = Joined(*program);
    if (!text::LowerAscii(path).ends_with(".exe")) return Refuse("not a program file");
    if (!files.Exists(path)) return Refuse("no such program");
    return {path, {}};
}

}  // namespace kv
