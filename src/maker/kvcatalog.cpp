#include "maker/kvcatalog.h"

#include "maker/catalogue_check.h"
#include "maker/command_line.h"
#include "maker/explanation.h"
#include "maker/matrix.h"
#include "maker/text_output.h"
#include "platform/portable/posix_files.h"

namespace kv::maker {

namespace {

constexpr int Failed = 2;

std::string CatalogueBytes(const std::string& file) {
    platform::HostFiles files;
    if (!files.Exists(file)) throw UsageError("no catalogue file " + file);
    std::optional<std::string> bytes = files.ReadAll(file);
    if (!bytes) throw UsageError("cannot read the catalogue " + file);
    return *bytes;
}

int Language(const CommandLine& line) {
    const std::string language = line.Get("language", "de");
    if (language == "de") return 1;
    if (language == "en") return 2;
    throw UsageError("--language is de or en, not \"" + language + "\"");
}

MatrixFormat Format(const CommandLine& line) {
    const std::string format = line.Get("format", "text");
    if (format == "text") return MatrixFormat::Text;
    if (format == "csv") return MatrixFormat::Csv;
    if (format == "json") return MatrixFormat::Json;
    throw UsageError("--format is text, csv or json, not \"" + format + "\"");
}

Installation InstallationOf(const CommandLine& line) {
    Installation installation;
    installation.product = line.Require("product");
    installation.language = Language(line);
    installation.qoId = line.Get("qo-id");
    installation.productFolder = line.Get("product-folder");
    return installation;
}

int Explain(const CommandLine& line, std::string& text) {
    Installation installation = InstallationOf(line);
    installation.edition = line.Require("edition");
    installation.listFile = line.Get("list");
    installation.version = installation.listFile.empty() ? line.Require("version") : line.Get("version");
    const platform::IniText catalogue(CatalogueBytes(line.catalogue));
    text = ExplanationText(Evaluate(catalogue, installation), installation);
    return 0;
}

int Matrix(const CommandLine& line, std::string& text) {
    const Installation base = InstallationOf(line);
    const std::vector<std::string> editions = CommaList(line.Require("editions"));
    const platform::IniText catalogue(CatalogueBytes(line.catalogue));
    const std::vector<std::string> versions =
        MatrixVersions(line.Require("versions"), catalogue, base.product, editions);
    text = MatrixText(catalogue, base, editions, versions, Format(line));
    return 0;
}

int Check(const CommandLine& line, std::string& text, const SignatureCheck& signatureCheck) {
    CheckOptions options;
    options.installers = line.Get("installers");
    options.signer = platform::SignerRuleFromText(line.Get("signer"), line.Get("thumbprints"));
    options.signatureCheck = signatureCheck;
    std::vector<Finding> findings = CheckCatalogue(CatalogueBytes(line.catalogue), options);
    if (options.signer.Active() && !signatureCheck.Available())
        findings.insert(findings.begin(), {FindingLevel::Warning, "-", "-", 0,
                                           "--signer: the signature check needs Windows (kvcatalog.exe); no "
                                           "installer's signature was checked"});
    for (const Finding& finding : findings) text += FindingText(finding) + "\n";
    if (findings.empty()) text = "clean: nothing to report\n";
    return CheckStatus(findings);
}

int Run(const CommandLine& line, std::string& text, const SignatureCheck& signatureCheck) {
    if (line.command == "explain") return Explain(line, text);
    if (line.command == "matrix") return Matrix(line, text);
    return Check(line, text, signatureCheck);
}

}  // namespace

int RunKvcatalog(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const SignatureCheck& signatureCheck) {
    try {
        std::string text;
        const int status = Run(ParseCommandLine(arguments), text, signatureCheck);
        out << Utf8(text);
        return status;
    } catch (const UsageError& error) {
        err << "kvcatalog: " << Utf8(error.what()) << "\n" << Usage;
    } catch (const std::exception& error) {
        err << "kvcatalog: " << Utf8(error.what()) << "\n";
    }
    return Failed;
}

}  // namespace kv::maker
