#include "platform/portable/ini_engine.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/portable/host_path.h"
#include "platform/portable/text.h"

namespace kv::platform {

namespace {

using text::Trim;


// "[name]" with blanks around; false for any other line.
bool SectionOf(const std::string& line, std::string& name) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return false;
    const std::size_t close = t.find(']');
    name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

IniText::IniText(const std::string& bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines_.push_back({bytes.substr(start), ""});
            break;
        }
        std::size_t next = end + 1;
        if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
        lines_.push_back({bytes.substr(start, end - start), bytes.substr(end, next - end)});
        start = next;
    }
}

bool IniText::KeyOf(const std::string& line, std::string& key, std::string& value) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '[' || t[0] == ';') return false;
    const std::size_t eq = t.find('=');
    key = Trim(t.substr(0, eq));
    value = eq == std::string::npos ? std::string() : Unquote(Trim(t.substr(eq + 1)));
    return true;
}

int IniText::FindSection(const std::string& section) const {
    std::string name;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (SectionOf(lines_[i].text, name) && text::EqualIgnoringAsciiCase(name, section)) return static_cast<int>(i);
    return -1;
}

int IniText::SectionEnd(int header) const {
    std::string name;
    std::size_t i = static_cast<std::size_t>(header) + 1;
    while (i < lines_.size() && !SectionOf(lines_[i].text, name)) ++i;
    return static_cast<int>(i);
}

std::string IniText::Read(const std::string& section, const std::string& key, const std::string& defaultValue) const {
    const int header = FindSection(section);
    if (header < 0) return defaultValue;
    const int end = SectionEnd(header);
    std::string k, v;
    for (int i = header + 1; i < end; ++i)
        if (KeyOf(lines_[static_cast<std::size_t>(i)].text, k, v) && text::EqualIgnoringAsciiCase(k, key)) return v;
    return defaultValue;
}

void IniText::Write(const std::string& section, const std::string& key, const std::string& value) {
    const std::string entry = key + "=" + value;
    int header = FindSection(section);
    if (header < 0) {
        if (!lines_.empty() && lines_.back().ending.empty()) lines_.back().ending = "\r\n";
        lines_.push_back({"[" + section + "]", "\r\n"});
        lines_.push_back({entry, "\r\n"});
        return;
    }
    const int end = SectionEnd(header);
    std::string k, v;
    int lastContent = header;
    for (int i = header + 1; i < end; ++i) {
        Line& line = lines_[static_cast<std::size_t>(i)];
        if (KeyOf(line.text, k, v) && text::EqualIgnoringAsciiCase(k, key)) {
            line.text = entry;
            return;
        }
        if (!Trim(line.text).empty()) lastContent = i;
    }
    Line& before = lines_[static_cast<std::size_t>(lastContent)];
    if (before.ending.empty()) before.ending = "\r\n";
    lines_.insert(lines_.begin() + lastContent + 1, Line{entry, "\r\n"});
}

std::vector<IniLine> IniText::Describe() const {
    std::vector<IniLine> described;
    std::string section;
    for (const Line& line : lines_) {
        IniLine d{IniLine::Kind::Other, line.text, line.ending, section, {}, {}};
        if (SectionOf(line.text, d.section)) {
            d.kind = IniLine::Kind::Header;
            section = d.section;
        } else if (KeyOf(line.text, d.key, d.value)) {
            d.kind = IniLine::Kind::Key;
        }
        described.push_back(std::move(d));
    }
    return described;
}

std::string IniText::Bytes() const {
    std::string out;
    for (const Line& l : lines_) out += l.text + l.ending;
    return out;
}

namespace {

std::string LoadFile(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

std::string IniFileProfile::ReadString(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
    return IniText(LoadFile(HostPath(file))).Read(section, key, defaultValue);
}

void IniFileProfile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& value) {
    namespace fs = std::filesystem;
    const fs::path target = HostPath(file);
    std::error_code ec;
    const bool exists = fs::exists(target, ec);
    if (exists) {
        const auto perms = fs::status(target, ec).permissions();
        if ((perms & fs::perms::owner_write) == fs::perms::none)
            throw IniWriteError("the file " + file + " is read-only");
    }
    IniText text(exists ? LoadFile(target.string()) : std::string());
    text.Write(section, key, value);

    const fs::path temp = target.string() + ".kvtmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        const std::string bytes = text.Bytes();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            throw IniWriteError("cannot write " + file);
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw IniWriteError("cannot replace " + file);
    }
}

void IniFileProfile::Flush(const std::string&) {}

}  // namespace kv::platform
