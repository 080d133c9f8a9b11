#include "fakes/fake_registry.h"

#include <sstream>
#include <stdexcept>

namespace kv::test {

using platform::Hive;
using platform::RegType;
using platform::RegValue;

namespace {

// Names match as the system matches them, without regard to the case of any
// Windows-1252 letter: A-Z, À-Þ but ×, and Š Œ Ž Ÿ.
char LowerLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<char>(u + 0x20);
    if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 0x10);
    return u == 0x9F ? static_cast<char>(0xFF) : c;
}

std::string Lower(std::string s) {
    for (char& c : s) c = LowerLetter(c);
    return s;
}

std::string StripSlashes(std::string key) {
    while (!key.empty() && key.front() == '\\') key.erase(0, 1);
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

// "HKEY_LOCAL_MACHINE\Software\X" -> hive and key below it.
void SplitHive(const std::string& full, Hive& hive, std::string& key) {
    const std::size_t slash = full.find('\\');
    const std::string root = Lower(full.substr(0, slash));
    key = slash == std::string::npos ? std::string() : full.substr(slash + 1);
    if (root == "hkey_local_machine" || root == "hklm") hive = Hive::LocalMachine;
    else if (root == "hkey_current_user" || root == "hkcu") hive = Hive::CurrentUser;
    else throw std::invalid_argument("unknown hive in " + full);
}

std::string Unescape(const std::string& quoted) {
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 2 < quoted.size()) ++i;
        out += quoted[i];
    }
    return out;
}

std::size_t ClosingQuote(const std::string& s, std::size_t open) {
    for (std::size_t i = open + 1; i < s.size(); ++i) {
        if (s[i] == '\\') ++i;
        else if (s[i] == '"') return i;
    }
    throw std::invalid_argument("unterminated string: " + s);
}

std::string HexBytes(const std::string& list) {
    std::string out, digits;
    for (char c : list) {
        if (c == ',' ) { if (!digits.empty()) out += static_cast<char>(std::stoul(digits, nullptr, 16)); digits.clear(); }
        else if (c != ' ' && c != '\\' && c != '\r' && c != '\n' && c != '\t') digits += c;
    }
    if (!digits.empty()) out += static_cast<char>(std::stoul(digits, nullptr, 16));
    return out;
}

// The value as stored: reg import writes strings with their terminating NUL.
RegValue ParseData(const std::string& data) {
    if (!data.empty() && data[0] == '"')
        return {RegType::String, Unescape(data.substr(0, ClosingQuote(data, 0) + 1)) + '\0'};
    if (data.rfind("dword:", 0) == 0) {
        const unsigned v = static_cast<unsigned>(std::stoul(data.substr(6), nullptr, 16));
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return {RegType::Dword, bytes};
    }
    if (data.rfind("hex:", 0) == 0) return {RegType::Binary, HexBytes(data.substr(4))};
    if (data.rfind("hex(", 0) == 0) {
        const std::size_t close = data.find("):");
        if (close == std::string::npos) throw std::invalid_argument("bad hex type: " + data);
        const auto type = static_cast<RegType>(std::stoul(data.substr(4, close - 4), nullptr, 16));
        return {type, HexBytes(data.substr(close + 2))};
    }
    throw std::invalid_argument("unknown value data: " + data);
}

}  // namespace

std::string FakeRegistry::Normal(Hive hive, const std::string& key) {
    return (hive == Hive::LocalMachine ? "hklm\\" : "hkcu\\") + Lower(StripSlashes(key));
}

// A key cannot exist without those above it.
std::map<std::string, RegValue>& FakeRegistry::Created(Hive hive, const std::string& key) {
    const std::string path = Normal(hive, key);
    const std::size_t belowHive = path.find('\\') + 1;
    for (std::size_t slash = path.find('\\', belowHive); slash != std::string::npos; slash = path.find('\\', slash + 1))
        keys_[path.substr(0, slash)];
    return keys_[path];
}

void FakeRegistry::AddKey(Hive hive, const std::string& key) { Created(hive, key); }

void FakeRegistry::Set(Hive hive, const std::string& key, const std::string& name, RegValue value) {
    Created(hive, key)[Lower(name)] = std::move(value);
}

void FakeRegistry::SetString(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
    Set(hive, key, name, {RegType::String, text + '\0'});
}

void FakeRegistry::SetDword(Hive hive, const std::string& key, const std::string& name, unsigned value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    Set(hive, key, name, {RegType::Dword, bytes});
}

bool FakeRegistry::KeyExists(Hive hive, const std::string& key) { return keys_.count(Normal(hive, key)) != 0; }

std::optional<RegValue> FakeRegistry::Read(Hive hive, const std::string& key, const std::string& name) {
    const auto k = keys_.find(Normal(hive, key));
    if (k == keys_.end()) return std::nullopt;
    const auto v = k->second.find(Lower(name));
    if (v == k->second.end()) return std::nullopt;
    return platform::ValueFromStored(v->second.type, v->second.data);
}

void FakeRegistry::Import(const std::string& regText) {
    std::istringstream in(regText);
    std::string line, pending;
    Hive hive = Hive::LocalMachine;
    std::string key;
    bool haveKey = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.back() == '\\' && line.find('=') != std::string::npos) {
            pending += line.substr(0, line.size() - 1);
            continue;
        }
        if (!pending.empty()) { line = pending + line; pending.clear(); }
        std::size_t b = line.find_first_not_of(" \t");
        if (b == std::string::npos || line[b] == ';') continue;
        line = line.substr(b);
        if (line.rfind("REGEDIT4", 0) == 0 || line.rfind("Windows Registry Editor", 0) == 0) continue;
        if (line[0] == '[') {
            SplitHive(line.substr(1, line.rfind(']') - 1), hive, key);
            AddKey(hive, key);
            haveKey = true;
            continue;
        }
        if (!haveKey) throw std::invalid_argument("value outside a key: " + line);
        std::string name;
        std::size_t eq;
        if (line[0] == '@') { eq = line.find('='); }
        else if (line[0] == '"') { const std::size_t close = ClosingQuote(line, 0); name = Unescape(line.substr(0, close + 1)); eq = line.find('=', close); }
        else throw std::invalid_argument("bad value line: " + line);
        if (eq == std::string::npos) throw std::invalid_argument("no '=' in: " + line);
        Set(hive, key, name, ParseData(line.substr(eq + 1)));
    }
}

}  // namespace kv::test
