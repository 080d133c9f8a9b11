#include "fuzz/fuzz_target.h"
#include "network/connection.h"

// Input: the protocol, a NUL, the proxy list, a NUL, the bypass list.
KV_FUZZ_TARGET(proxy_list) {
    const std::string text = kv::fuzz::Text(data, size);
    const auto first = text.find('\0');
    const std::string protocol = text.substr(0, first);
    const std::string rest = first == std::string::npos ? "" : text.substr(first + 1);
    const auto second = rest.find('\0');
    const std::string list = rest.substr(0, second);
    const std::string bypass = second == std::string::npos ? "" : rest.substr(second + 1);

    const kv::SystemProxy p = kv::ChooseSystemProxy({kv::platform::OpenTypeProxy, list, bypass}, protocol);
    for (const std::string* field : {&p.host, &p.port})
        for (char c : *field) kv::fuzz::Check(c != ',' && c != ';' && c != ' ', "a separator inside host or port");
    kv::fuzz::Check(p.host.size() <= list.size() && p.port.size() <= list.size(), "a field longer than the list");
    kv::fuzz::Check(p.bypass.size() == bypass.size(), "the bypass list changed its length");
    kv::fuzz::Check(p.bypass.find(' ') == std::string::npos, "a blank left in the bypass list");
    kv::fuzz::Check(p.host.empty() || list.find(p.host) != std::string::npos, "a host that is not in the list");
    const kv::SystemProxy none = kv::ChooseSystemProxy({kv::platform::OpenTypePreconfig, list, bypass}, protocol);
    kv::fuzz::Check(none.host.empty() && none.port.empty() && none.bypass.empty(), "a proxy without named access");
}
