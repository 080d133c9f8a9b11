#pragma once
// What the report server does with a report address: split the query, undo
// the percent-encoding and read the lines back out of the page.
#include <optional>
#include <string>
#include <vector>

namespace kv::test {

inline int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// As PHP decodes a query value: "+" is a blank. nullopt for a "%" without two hex digits behind it.
inline std::optional<std::string> PercentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i] == '+' ? ' ' : text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

struct QueryParameter {
    std::string name;
    std::string value;  // decoded
};

// The parameters after "?" in order; nullopt when one cannot be decoded.
inline std::optional<std::vector<QueryParameter>> QueryParameters(const std::string& address) {
    const std::size_t question = address.find('?');
    if (question == std::string::npos) return std::nullopt;
    std::vector<QueryParameter> parameters;
    std::size_t start = question + 1;
    while (start <= address.size()) {
        std::size_t end = address.find('&', start);
        if (end == std::string::npos) end = address.size();
        const std::string pair = address.substr(start, end - start);
        const std::size_t equals = pair.find('=');
        const auto value = PercentDecode(equals == std::string::npos ? "" : pair.substr(equals + 1));
        if (!value) return std::nullopt;
        parameters.push_back({pair.substr(0, equals), *value});
        start = end + 1;
    }
    return parameters;
}

inline std::string HtmlUnescape(const std::string& text) {
    static const std::pair<const char*, char> Entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : Entities) {
            const std::string e = entity;
            if (text.compare(i, e.size(), e) == 0) {
                out += c;
                i += e.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

// The lines of a report page; nullopt when the page has another shape.
inline std::optional<std::vector<std::string>> PageLines(const std::string& page) {
    const std::string head = "<html><head><title>Meldung</title></head><body bgcolor=\"white\">";
    const std::string tail = "</body></html>";
    if (page.size() < head.size() + tail.size() || page.compare(0, head.size(), head) != 0 ||
        page.compare(page.size() - tail.size(), tail.size(), tail) != 0)
        return std::nullopt;
    std::string body = page.substr(head.size(), page.size() - head.size() - tail.size());
    std::vector<std::string> lines;
    if (body.empty()) return lines;
    if (body.size() < 7 || body.compare(0, 3, "<p>") != 0 || body.compare(body.size() - 4, 4, "</p>") != 0)
        return std::nullopt;
    body = body.substr(3, body.size() - 7);
    for (std::size_t start = 0;;) {
        const std::size_t br = body.find("<br>", start);
        lines.push_back(HtmlUnescape(body.substr(start, br == std::string::npos ? std::string::npos : br - start)));
        if (br == std::string::npos) break;
        start = br + 4;
    }
    return lines;
}

}  // namespace kv::test
