#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "report/report_address.h"
#include "unit/report_decoding.h"

namespace {

const std::string Head = "<html><head><title>Meldung</title></head><body bgcolor=\"white\">";
const std::string Tail = "</body></html>";

kv::ReportAddressParts Parts(const std::vector<std::string>& lines, const std::string& subject) {
    return {"http://127.0.0.2", kv::BuildReportPage(lines), "reports@karvell.example", subject,
            "support-log@karvell.example"};
}

TEST(ReportPage, FortyLinesMakeOneParagraphWithABreakAfterEachButTheLast) {
    std::vector<std::string> lines;
    std::string expected = Head + "<p>";
    for (int i = 1; i <= 40; ++i) {
        lines.push_back("Zeile " + std::to_string(i));
        expected += "Zeile " + std::to_string(i) + (i < 40 ? "<br>" : "</p>");
    }
    EXPECT_EQ(kv::BuildReportPage(lines), expected + Tail);
}

TEST(ReportPage, ShortListsStillGiveAWellFormedPage) {
    EXPECT_EQ(kv::BuildReportPage({}), Head + Tail);
    EXPECT_EQ(kv::BuildReportPage({"nur eine"}), Head + "<p>nur eine</p>" + Tail);
    EXPECT_EQ(kv::BuildReportPage({"a", "b"}), Head + "<p>a<br>b</p>" + Tail);
    EXPECT_EQ(kv::BuildReportPage({""}), Head + "<p></p>" + Tail);
}

TEST(ReportPage, MarkupCharactersInLinesAreEscaped) {
    EXPECT_EQ(kv::BuildReportPage({"Company: Müller & Söhne", "<br> \"x\" >"}),
              Head + "<p>Company: Müller &amp; Söhne<br>&lt;br&gt; &quot;x&quot; &gt;</p>" + Tail);
    EXPECT_EQ(kv::HtmlEscape("&amp;"), "&amp;amp;");
    EXPECT_EQ(kv::HtmlEscape("plain 'text' = ok"), "plain 'text' = ok");
}

TEST(PercentEncode, KeepsOnlyUnreservedBytesAndWritesUpperCaseHex) {
    EXPECT_EQ(kv::PercentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(kv::PercentEncode("a b&c=d+e%f?g#h/"), "a%20b%26c%3Dd%2Be%25f%3Fg%23h%2F");
    EXPECT_EQ(kv::PercentEncode("Müller"), "M%FCller");  // the Windows-1252 byte, not UTF-8
    EXPECT_EQ(kv::PercentEncode(std::string("\0\x7F\x80\xFF", 4)), "%00%7F%80%FF");
    EXPECT_EQ(kv::PercentEncode(""), "");
}

TEST(ReportAddress, HasThePathAndTheFourParametersInTheirOrder) {
    const std::string address = kv::BuildReportAddress(Parts({"a", "b"}, "NetRefresh: X"));
    EXPECT_EQ(address.rfind("http://127.0.0.2/cgi-bin/instup.php?botschaft=", 0), 0u);
    const auto parameters = kv::test::QueryParameters(address);
    ASSERT_TRUE(parameters);
    ASSERT_EQ(parameters->size(), 4u);
    EXPECT_EQ((*parameters)[0].name, "botschaft");
    EXPECT_EQ((*parameters)[0].value, Head + "<p>a<br>b</p>" + Tail);
    EXPECT_EQ((*parameters)[1].name, "email");
    EXPECT_EQ((*parameters)[1].value, "reports@karvell.example");
    EXPECT_EQ((*parameters)[2].name, "betr");
    EXPECT_EQ((*parameters)[2].value, "NetRefresh: X");
    EXPECT_EQ((*parameters)[3].name, "email2");
    EXPECT_EQ((*parameters)[3].value, "support-log@karvell.example");
}

TEST(ReportAddress, AnAmpersandInALineDoesNotSplitTheQuery) {
    const std::string address = kv::BuildReportAddress(Parts({"NetRefresh: X", "Company: A & B; email=x"}, "s"));
    EXPECT_EQ(address.find("email=x"), std::string::npos);
    const auto parameters = kv::test::QueryParameters(address);
    ASSERT_TRUE(parameters);
    ASSERT_EQ(parameters->size(), 4u);
    EXPECT_EQ(kv::test::PageLines((*parameters)[0].value),
              (std::vector<std::string>{"NetRefresh: X", "Company: A & B; email=x"}));
}

TEST(ReportAddress, CourtRegisterSubjectArrivesVerbatim) {
    const std::string subject = "NetRefresh: Quillon Ortsgericht - Ortsgericht Bad Homburg v.d.Höhe";
    const std::string address = kv::BuildReportAddress(Parts({subject, "x"}, subject));
    EXPECT_NE(address.find("&betr=NetRefresh%3A%20Quillon%20Ortsgericht%20-%20Ortsgericht%20Bad%20Homburg%20v.d.H%F6he&"),
              std::string::npos);
    EXPECT_EQ(kv::test::QueryParameters(address)->at(2).value, subject);
}

TEST(ReportAddress, NoByteOutsideTheUnreservedSetAndTheSeparatorsIsLeft) {
    std::string everyByte;
    for (int c = 0; c < 256; ++c) everyByte += static_cast<char>(c);
    const std::string address = kv::BuildReportAddress(Parts({everyByte, everyByte}, everyByte));
    const std::string query = address.substr(address.find('?') + 1);
    for (const char c : query)
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || std::string("-._~%&=").find(c) != std::string::npos)
            << static_cast<int>(static_cast<unsigned char>(c));
}

// Random lines of every byte value, markup and encoding characters weighted
// in: what the server decodes is what the report said.
TEST(ReportAddress, DecodingTheAddressGivesBackLinesAndSubject) {
    std::mt19937 random(20260108);
    const std::string tricky = "&<>\"%+=?#; \r\n\t<br></p>&amp;";
    auto randomText = [&] {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            text += random() % 3 == 0 ? tricky[random() % tricky.size()] : static_cast<char>(random() % 256);
        return text;
    };
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> lines(1 + random() % 45);
        for (auto& line : lines) line = randomText();
        const std::string subject = randomText();
        const auto parameters = kv::test::QueryParameters(kv::BuildReportAddress(Parts(lines, subject)));
        ASSERT_TRUE(parameters);
        ASSERT_EQ(parameters->size(), 4u);
        ASSERT_EQ(kv::test::PageLines((*parameters)[0].value), lines) << "round " << round;
        ASSERT_EQ((*parameters)[2].value, subject) << "round " << round;
    }
}

}  // namespace
