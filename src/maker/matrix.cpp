#include "maker/matrix.h"

#include <algorithm>
#include <cstdio>

#include "inventory/version_text.h"
#include "maker/explanation.h"
#include "maker/text_output.h"

namespace kv::maker {

namespace {

struct MatrixRow {
    std::string edition, installed, outcome, offered, installer;
};

void RequireVersions(const std::vector<std::string>& versions) {
    for (const std::string& version : versions)
        if (!IsVersionText(version))
            throw UsageError("--versions: \"" + version + "\" is no version the wizard can read");
}

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 1, ' ');
}

std::string TextTable(const std::vector<MatrixRow>& rows) {
    std::vector<MatrixRow> all{{"edition", "installed", "outcome", "offered", "installer"}};
    all.insert(all.end(), rows.begin(), rows.end());
    std::size_t widths[4] = {};
    for (const MatrixRow& r : all) {
        const std::string* cells[4] = {&r.edition, &r.installed, &r.outcome, &r.offered};
        for (std::size_t i = 0; i < 4; ++i) widths[i] = std::max(widths[i], cells[i]->size() + 2);
    }
    std::string text;
    for (const MatrixRow& r : all)
        text += Padded(r.edition, widths[0]) + Padded(r.installed, widths[1]) + Padded(r.outcome, widths[2]) +
                Padded(r.offered.empty() ? "-" : r.offered, widths[3]) + (r.installer.empty() ? "-" : r.installer) +
                "\n";
    return text;
}

std::string CsvTable(const std::vector<MatrixRow>& rows) {
    std::string text = "edition,installed,outcome,offered,installer\n";
    for (const MatrixRow& r : rows)
        text += CsvField(r.edition) + "," + CsvField(r.installed) + "," + r.outcome + "," + CsvField(r.offered) + "," +
                CsvField(r.installer) + "\n";
    return text;
}

std::string JsonLines(const std::vector<MatrixRow>& rows) {
    std::string text;
    for (const MatrixRow& r : rows)
        text += "{\"edition\":" + JsonString(r.edition) + ",\"installed\":" + JsonString(r.installed) +
                ",\"outcome\":\"" + r.outcome + "\",\"offered\":" + JsonString(r.offered) +
                ",\"installer\":" + JsonString(r.installer) + "}\n";
    return text;
}

}  // namespace

std::vector<std::string> CommaList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        items.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

std::vector<std::string> MatrixVersions(const std::string& option, const platform::IniText& catalogue,
                                        const std::string& product, const std::vector<std::string>& editions) {
    const std::size_t dots = option.find("..");
    if (dots == std::string::npos) {
        const std::vector<std::string> versions = CommaList(option);
        RequireVersions(versions);
        return versions;
    }
    std::vector<std::string> versions{option.substr(0, dots), option.substr(dots + 2)};
    RequireVersions(versions);
    const std::int32_t from = VersionNumber(versions[0]), to = VersionNumber(versions[1]);
    for (const std::string& edition : editions)
        for (const char* key : {"verinfo", "NoMoreUp", "OldSmalerNo"}) {
            const std::string named = catalogue.Read(product + edition, key, "");
            if (IsVersionText(named) && VersionNumber(named) >= from && VersionNumber(named) <= to)
                versions.push_back(named);
        }
    std::stable_sort(versions.begin(), versions.end(),
                     [](const std::string& a, const std::string& b) { return VersionNumber(a) < VersionNumber(b); });
    versions.erase(std::unique(versions.begin(), versions.end(),
                               [](const std::string& a, const std::string& b) {
                                   return VersionNumber(a) == VersionNumber(b);
                               }),
                   versions.end());
    return versions;
}

std::string MatrixText(const platform::IniText& catalogue, const Installation& base,
                       const std::vector<std::string>& editions, const std::vector<std::string>& versions,
                       MatrixFormat format) {
    std::vector<MatrixRow> rows;
    for (const std::string& edition : editions)
        for (const std::string& version : versions) {
            Installation installation = base;
            installation.edition = edition;
            installation.version = version;
            const Evaluation e = Evaluate(catalogue, installation);
            rows.push_back({edition, version, OutcomeName(e.outcome), OfferedVersion(e), OfferedInstaller(e)});
        }
    switch (format) {
        case MatrixFormat::Csv: return CsvTable(rows);
        case MatrixFormat::Json: return JsonLines(rows);
        case MatrixFormat::Text: break;
    }
    return TextTable(rows);
}

}  // namespace kv::maker
