#include "fuzz/fuzz_target.h"
#include "report/report_address.h"
#include "unit/report_decoding.h"

// Arbitrary report lines (the input split at line feeds, the first one the
// subject): the report server decodes exactly the lines and the subject.
KV_FUZZ_TARGET(report_address) {
    const std::string text = kv::fuzz::Text(data, size);
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    const std::string& subject = lines.front();
    const std::string address = kv::BuildReportAddress(
        {"http://127.0.0.2", kv::BuildReportPage(lines), "a@b.example", subject, "c@d.example"});
    const auto parameters = kv::test::QueryParameters(address);
    kv::fuzz::Check(parameters.has_value(), "the query does not decode");
    kv::fuzz::Check(parameters->size() == 4, "a value split the query");
    kv::fuzz::Check((*parameters)[0].name == "botschaft" && (*parameters)[2].name == "betr", "parameters moved");
    kv::fuzz::Check(kv::test::PageLines((*parameters)[0].value) == lines, "the page does not give the lines back");
    kv::fuzz::Check((*parameters)[2].value == subject, "the subject changed on the way");
    kv::fuzz::Check((*parameters)[1].value == "a@b.example" && (*parameters)[3].value == "c@d.example",
                    "a recipient changed on the way");
}
