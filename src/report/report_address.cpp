#include "report/report_address.h"

namespace kv {

namespace {
constexpr const char* PageHead = "<html><head><title>Meldung</title></head><body bgcolor=\"white\">";
constexpr const char* PageTail = "</body></html>";

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}
}  // namespace

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string BuildReportPage(const std::vector<std::string>& lines) {
    std::string body;
    if (!lines.empty()) {
        body = "<p>";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) body += "<br>";
            body += HtmlEscape(lines[i]);
        }
        body += "</p>";
    }
    return PageHead + body + PageTail;
}

std::string PercentEncode(const std::string& text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0x0F];
        }
    }
    return out;
}

std::string BuildReportAddress(const ReportAddressParts& parts) {
    return parts.base + "/cgi-bin/instup.php?botschaft=" + PercentEncode(parts.page) +
           "&email=" + PercentEncode(parts.recipient1) + "&betr=" + PercentEncode(parts.subject) +
           "&email2=" + PercentEncode(parts.recipient2);
}

}  // namespace kv
