#pragma once
#include <map>
#include <string>

#include "platform/registry.h"

namespace kv::test {

// An in-memory registry, filled from the text of a .reg file (REGEDIT4 or
// version 5: strings, dword:, hex:, hex(N):). Key paths are given without
// the hive, e.g. "Software\Karvell\QORIND".
class FakeRegistry : public platform::Registry {
public:
    // Throws std::invalid_argument on text it cannot read.
    void Import(const std::string& regText);
    // Stores the bytes as given, as the system keeps what a writer gave it:
    // a string's terminating NUL only if they end in one. SetString adds it.
    void Set(platform::Hive hive, const std::string& key, const std::string& name, platform::RegValue value);
    void SetString(platform::Hive hive, const std::string& key, const std::string& name, const std::string& text);
    void SetDword(platform::Hive hive, const std::string& key, const std::string& name, unsigned value);
    void AddKey(platform::Hive hive, const std::string& key);

    bool KeyExists(platform::Hive hive, const std::string& key) override;
    std::optional<platform::RegValue> Read(platform::Hive hive, const std::string& key, const std::string& name) override;

private:
    static std::string Normal(platform::Hive hive, const std::string& key);
    std::map<std::string, platform::RegValue>& Created(platform::Hive hive, const std::string& key);
    // lower-case path -> lower-case name -> the value as stored
    std::map<std::string, std::map<std::string, platform::RegValue>> keys_;
};

}  // namespace kv::test
