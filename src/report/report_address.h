#pragma once
#include <string>
#include <vector>

namespace kv {

// The report as the small HTML page the report server mails on: every line
// HTML-escaped, one paragraph, the lines separated by "<br>".
std::string BuildReportPage(const std::vector<std::string>& lines);

// "&", "<", ">" and '"' as entities; every other byte unchanged.
std::string HtmlEscape(const std::string& text);

// Every byte outside A-Z a-z 0-9 - . _ ~ as %XX (upper-case hex of its
// Windows-1252 byte), so the server decodes exactly the text that was meant.
std::string PercentEncode(const std::string& text);

struct ReportAddressParts {
    std::string base;  // scheme and host of the report server, no trailing "/"
    std::string page;
    std::string recipient1;
    std::string subject;
    std::string recipient2;
};

// base + "/cgi-bin/instup.php?botschaft=...&email=...&betr=...&email2=...",
// each value percent-encoded.
std::string BuildReportAddress(const ReportAddressParts& parts);

}  // namespace kv
