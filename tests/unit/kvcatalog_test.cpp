#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "fakes/test_world.h"
#include "maker/explanation.h"
#include "maker/kvcatalog.h"
#include "unit/catalogue_decision_rows.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Result {
    int status;
    std::string out, err;
};

Result Kvcatalog(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = kv::maker::RunKvcatalog(arguments, out, err, {});
    return {status, out.str(), err.str()};
}

std::string VersionList(const kv::test::InstalledRow& installed) {
    return "[PName]\r\nname=QO Folio\r\n[QO Folio]\r\nverinfo=" + installed.version + "\r\nprog=QO Folio\r\nActS=" +
           std::to_string(installed.localAction) + "\r\n";
}

TEST(Kvcatalog, ExplainSaysWhatTheEvaluationDecidesForEachRowOfItsTable) {
    kv::test::TempDir dir;
    for (const kv::test::DecisionRow& row : kv::test::DecisionRows()) {
        const std::string list = row.installed.court ? "qoonline.lst" : "other.lst";
        dir.Write("update.ini", kv::test::DecisionCatalogue(row.section, row.installed.edition));
        dir.Write(list, VersionList(row.installed));
        const Result r = Kvcatalog({"explain", dir / "update.ini", "--product", "QOonline", "--edition",
                                    row.installed.edition, "--list", dir / list, "--qo-id", kv::test::DecisionQOId});
        EXPECT_THAT(r.out, StartsWith(std::string("outcome: ") + kv::maker::OutcomeName(row.expected) + "\n"))
            << row.name << r.err;
    }
}

TEST(Kvcatalog, ExplainShowsThePageTheBoxTheInstallerTheRestartAndTheReport) {
    kv::test::TempDir dir;
    dir.Write("update.ini", "[qorindu]\r\nverinfo=8.1.9\r\nprog=QO Folio\r\nufn=qorind.exe\r\nSINU=T\r\nUPE1=Stay\r\n"
                            "exc=..\\x.exe\r\n");
    const Result none = Kvcatalog({"explain", dir / "update.ini", "--product", "QORIND", "--edition", "U", "--version",
                             "8.1.9", "--language", "en"});
    EXPECT_EQ(none.status, 0);
    for (const char* line : {"outcome: no-update\n", "headline: Sorry, no Update available.\n",
                             "row: Current Version: 8.1.9\n", "  | Stay\n",
                             "installer: qorindu.exe; ufn \"qorind.exe\" differs (none offered to this installation)",
                             "refused: a path outside the product's folder",
                             "report at once: reason 1 \"Done after version check NO DOWNLOAD\"\n"})
        EXPECT_THAT(none.out, HasSubstr(line));
    dir.Write("update.ini", "[qorindu]\r\nverinfo=8.1.10\r\nprog=QO Folio\r\nufn=qorind.exe\r\nOldSmalerNo=8.1.9\r\n");
    const Result outdated =
        Kvcatalog({"explain", dir / "update.ini", "--product", "QORIND", "--edition", "U", "--version", "8.1.9"});
    EXPECT_THAT(outdated.out, HasSubstr("box \"Fehler\": Ihre Programmversion (8.1.9) ist leider zu veraltet"));
    dir.Write("update.ini", "[qorindu]\r\nverinfo=8.1.10\r\nprog=QO Folio\r\nufn=qorind.exe\r\nexc=qofolio.exe\r\n");
    const Result offer = Kvcatalog({"explain", dir / "update.ini", "--product", "QORIND", "--edition", "U", "--version",
                              "8.1.9", "--product-folder", "C:\\QO"});
    EXPECT_THAT(offer.out, HasSubstr("installer: qorindu.exe; ufn \"qorind.exe\" differs"));
    EXPECT_THAT(offer.out, HasSubstr("accepted, starts C:\\QO\\qofolio.exe (product folder C:\\QO)"));
    EXPECT_THAT(offer.out, HasSubstr("headline, 1 s later: Bitte klicken Sie"));
}

TEST(Kvcatalog, MatrixRunsEveryEditionOverTheVersionsTheCatalogueNames) {
    kv::test::TempDir dir;
    dir.Write("update.ini", "[qorindu]\r\nverinfo=8.1.10\r\nprog=QO Folio\r\nOldSmalerNo=8.0.5\r\n");
    const std::vector<std::string> base{"matrix", dir / "update.ini", "--product", "qorind", "--editions", "u,s",
                                        "--versions"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return Kvcatalog(arguments).out;
    };
    // Only the digits count: 8.1.10 (8110) lies beyond 9.0.0 (900).
    EXPECT_EQ(with({"8.0.0..9.0.0", "--format", "csv"}),
              "edition,installed,outcome,offered,installer\nu,8.0.0,outdated,,\nu,8.0.5,outdated,,\n"
              "u,9.0.0,offer,8.1.10,qorindu.exe\ns,8.0.0,no-update,,\ns,8.0.5,no-update,,\ns,9.0.0,no-update,,\n");
    EXPECT_THAT(with({"8.1.9", "--format", "json"}),
                StartsWith("{\"edition\":\"u\",\"installed\":\"8.1.9\",\"outcome\":\"offer\",\"offered\":\"8.1.10\","
                           "\"installer\":\"qorindu.exe\"}\n"));
    EXPECT_THAT(with({"8.1.9"}), HasSubstr("u        8.1.9      offer      8.1.10   qorindu.exe\n"));
}

TEST(Kvcatalog, ClearErrorsForWhatItCannotAnswer) {
    kv::test::TempDir dir;
    dir.Write("update.ini", "[qorindu]\r\n");
    const std::vector<std::pair<std::vector<std::string>, const char*>> rows = {
        {{}, "no command given"},
        {{"lint", "x"}, "unknown command \"lint\""},
        {{"explain", dir / "missing.ini", "--product", "q", "--edition", "u", "--version", "1"}, "no catalogue file"},
        {{"explain", dir / "update.ini", "--product", "q", "--edition", "u", "--version", "beta"}, "is no version"},
        {{"explain", dir / "update.ini", "--product", "q", "--edition", "u"}, "explain needs --version"},
        {{"explain", dir / "update.ini", "--product", "q", "--edition", "u", "--version", "1", "--language", "fr"},
         "--language is de or en"},
        {{"explain", dir / "update.ini", "--product", "q", "--edition", "u", "--list", dir / "none.lst"},
         "names no program section"},
        {{"check", dir / "update.ini", "--format", "csv"}, "check takes no option --format"},
        {{"check", dir / "update.ini", "--installers"}, "--installers needs a value"},
        {{"matrix", dir / "update.ini", "--product", "q", "--editions", "u", "--versions", "1..x"},
         "\"x\" is no version"},
        {{"matrix", dir / "update.ini", "--product", "q", "--editions", "u", "--versions", "1", "--format", "xml"},
         "--format is text, csv or json"},
    };
    for (const auto& [arguments, complaint] : rows) {
        const Result r = Kvcatalog(arguments);
        EXPECT_EQ(r.status, 2) << complaint;
        EXPECT_THAT(r.err, HasSubstr(complaint));
        EXPECT_TRUE(r.out.empty()) << complaint;
    }
}

// A clean catalogue, and one slip per row in it.
TEST(Kvcatalog, CheckFindsEachSlipAndPassesACleanCatalogue) {
    const std::string clean = "[qorindu]\r\nverinfo=8.1.10\r\nprog=QO Folio\r\nufn=QORINDU.exe\r\nsz=1,2 MB\r\n"
                              "dat=2025-03-15\r\nCD1=Neue Formulare 2025\r\nexc=qofolio.exe\r\nPCode1=A\r\n";
    struct Row {
        const char* name;
        std::string from, to;
        std::size_t installerBytes;
        const char* finding;
        int status;
    };
    const std::vector<Row> rows = {
        {"clean", "", "", 1258291, "clean: nothing to report", 0},
        {"size in units of 1000", "", "", 1200000, "clean: nothing to report", 0},
        {"no edition reads it", "[qorindu]", "[qorindxyz]", 1258291, "ERROR qorindxyz - line 1: no product", 2},
        {"another section", "PCode1=A\r\n", "PCode1=A\r\n[Info]\r\nText=x\r\n", 1258291,
         "WARNING Info - line 10: a section that no product reads", 1},
        {"ufn", "ufn=QORINDU", "ufn=QORIND", 1258291,
         "ERROR qorindu ufn line 4: \"QORIND.exe\" is not the installer", 2},
        {"verinfo", "verinfo=8.1.10", "verinfo=v", 1258291, "ERROR qorindu verinfo line 2: \"v\" is no version", 2},
        {"dat", "2025-03-15", "15.03.2025", 1258291, "ERROR qorindu dat line 6: \"15.03.2025\" is no date", 2},
        {"installer missing", "", "", 0, "ERROR qorindu ufn line 4: qorindu.exe is not in", 2},
        {"installer size", "", "", 2000000, "ERROR qorindu sz line 5: qorindu.exe has 2000000 Bytes, \"1,9 MB\"", 2},
        {"size text", "1,2 MB", "gross", 1258291, "WARNING qorindu sz line 5: \"gross\" is no size", 1},
        {"news line cut", "Neue Formulare 2025", std::string(120, 'x'), 1258291,
         "WARNING qorindu CD1 line 7: 120 characters: the news panel shows the first 100", 1},
        {"SU cut", "PCode1=A", "SU=TRUE", 1258291, "WARNING qorindu SU line 9: the wizard keeps \"TR\"", 1},
        {"byte outside Windows-1252", "Neue", "Ne\x81u", 1258291, "WARNING qorindu CD1 line 7: byte 0x81 is no", 1},
        {"UTF-8 in the text", "Neue", "Gr\xC3\xB6\xC3\x9F" "e", 1258291,
         "WARNING qorindu CD1 line 7: byte 0xC3 starts UTF-8", 1},
        {"byte order mark", "[qorindu]", "\xEF\xBB\xBF[qorindu]", 1258291,
         "WARNING - - line 1: a UTF-8 byte order mark", 1},
        {"LF-only lines", "\r\n", "\n", 1258291, "WARNING - - line 1: 9 lines end in LF alone", 1},
        {"exc refused", "exc=qofolio.exe", "exc=..\\cmd.exe", 1258291,
         "WARNING qorindu exc line 8: the restart rule refuses", 1},
        {"unknown key", "PCode1=A", "PCode01=x", 1258291,
         "WARNING qorindu PCode01 line 9: a key the wizard never reads", 1},
        {"key again", "PCode1=A", "prog=QO", 1258291, "WARNING qorindu prog line 9: the key again", 1},
        {"after the list's end", "PCode1=A", "PCode1=X\r\nPCode2=B", 1258291,
         "WARNING qorindu PCode2 line 10: after the end of the target list", 1},
        {"ActS", "PCode1=A", "ActS=5a", 1258291, "WARNING qorindu ActS line 9: \"5a\" is no whole number", 1},
    };
    for (const Row& row : rows) {
        kv::test::TempDir dir;
        std::string text = clean;
        for (std::size_t at = row.from.empty() ? std::string::npos : text.find(row.from); at != std::string::npos;
             at = text.find(row.from, at + row.to.size()))
            text.replace(at, row.from.size(), row.to);
        dir.Write("update.ini", text);
        dir.MakeFolder("srv");
        if (row.installerBytes > 0) dir.Write("srv\\qorindu.exe", std::string(row.installerBytes, 'x'));
        const Result r = Kvcatalog({"check", dir / "update.ini", "--installers", dir.path() + "/srv"});
        EXPECT_THAT(r.out, HasSubstr(row.finding)) << row.name;
        EXPECT_EQ(r.status, row.status) << row.name << "\n" << r.out;
    }
}

TEST(Kvcatalog, SignerOnThisSystemSaysTheCheckNeedsWindows) {
    kv::test::TempDir dir;
    dir.Write("update.ini", "");
    const Result r = Kvcatalog({"check", dir / "update.ini", "--signer", "Karvell"});
    EXPECT_EQ(r.out, "WARNING - - line 0: --signer: the signature check needs Windows (kvcatalog.exe); no installer's "
                     "signature was checked\n");
    EXPECT_EQ(r.status, 1);
}

}  // namespace
