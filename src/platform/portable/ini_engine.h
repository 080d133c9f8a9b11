#pragma once
#include <string>
#include <vector>

#include "platform/profile.h"

namespace kv::platform {

// One line of an INI text as a reader of it sees the line.
struct IniLine {
    enum class Kind { Other, Header, Key };
    Kind kind = Kind::Other;  // Other: blank, comment, or text the reader skips
    std::string text;         // without its line end
    std::string ending;       // "\r\n", "\n", "\r" or "" for the last line
    std::string section;      // a header's name; a key's section ("" before any header)
    std::string key, value;
};

// INI text as lines, kept byte for byte so that a write changes only the
// line it must. Follows the system's profile rules: sections and keys match
// without regard to case, the first match wins, values are trimmed and lose
// one pair of enclosing quotes.
class IniText {
public:
    explicit IniText(const std::string& bytes);
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    void Write(const std::string& section, const std::string& key, const std::string& value);
    std::string Bytes() const;
    std::vector<IniLine> Describe() const;

private:
    struct Line {
        std::string text;
        std::string ending;  // "\r\n", "\n", "\r" or "" for the last line
    };
    int FindSection(const std::string& section) const;  // index of the header line, -1 if none
    int SectionEnd(int header) const;                    // index after the section's last line
    static bool KeyOf(const std::string& line, std::string& key, std::string& value);
    std::vector<Line> lines_;
};

// The profile service on a host without the system's profile functions: reads
// the file each time, writes through a temporary file renamed over the old
// one, so a crash or a full disk never leaves a truncated file.
class IniFileProfile : public Profile {
public:
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    void WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    void Flush(const std::string& file) override;
};

}  // namespace kv::platform
