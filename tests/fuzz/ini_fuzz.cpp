#include "fuzz/fuzz_target.h"
#include "platform/portable/ini_engine.h"

// Arbitrary INI text: look-ups never fail, and what was written reads back
// while the other values stay as they were.
KV_FUZZ_TARGET(ini) {
    const std::string text = kv::fuzz::Text(data, size);
    kv::platform::IniText ini(text);
    kv::fuzz::Check(ini.Bytes() == text, "parsing alone changes the text");

    // Section and key names come from the front of the input, kept to the
    // characters a product would use in names.
    auto name = [&](std::size_t at) {
        std::string n;
        for (std::size_t i = at; i < size && n.size() < 6; ++i) {
            const char c = static_cast<char>(data[i]);
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) n += c;
        }
        return n.empty() ? std::string("k") : n;
    };
    const std::string section = name(0), key = name(3), other = name(7) + "_";
    const std::string before = ini.Read(section, other, "\x01");
    ini.Write(section, key, "value=1");
    kv::fuzz::Check(ini.Read(section, key, "") == "value=1", "a written value does not read back");
    kv::fuzz::Check(ini.Read(section, other, "\x01") == before, "a write changed another key");
    kv::platform::IniText reread(ini.Bytes());
    kv::fuzz::Check(reread.Read(section, key, "") == "value=1", "a written value does not survive a reload");
}
