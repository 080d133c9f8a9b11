#include <gtest/gtest.h>

#include "fakes/test_world.h"
#include "support/socket_internet.h"
#include "report/report_address.h"
#include "report/tphpunit.h"
#include "unit/loopback_server.h"
#include "unit/report_decoding.h"

namespace {

// The report through a real HTTP client to a server on loopback: one GET,
// whose four values decode to what the report said.
TEST(ReportLoopback, TheServerReceivesOneGetWithTheFourValuesIntact) {
    kv::test::LoopbackServer server([](const std::string&) { return kv::test::Reply::Ok("<html>OK</html>"); });
    kv::platform::SocketInternet internet(std::map<int, int>{{80, server.port()}});
    kv::test::TestWorld world;
    world.internet = &internet;
    const std::vector<std::string> lines{"NetRefresh: QO Folio - Ortsgericht Bad Homburg v.d.Höhe",
                                         "Update wurde über Kreuz beendet nicht Button",
                                         "Company: Müller & Söhne <Notariat>", "Proxy PW: ********"};
    const std::string subject = lines.front();
    {
        kv::TPHPunit report{world.Services()};
        report.NavigateTo(kv::BuildReportAddress(
            {"http://127.0.0.1", kv::BuildReportPage(lines), "a@karvell.example", subject, "b+c@karvell.example"}));
        report.WaitForDelivery(kv::DeliveryWaitAtExitMs);
    }
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string requestLine = kv::test::RequestLine(requests[0]);
    ASSERT_EQ(requestLine.rfind("GET /cgi-bin/instup.php?botschaft=", 0), 0u) << requestLine;
    const std::string target = requestLine.substr(4, requestLine.rfind(' ') - 4);
    const auto parameters = kv::test::QueryParameters(target);
    ASSERT_TRUE(parameters);
    ASSERT_EQ(parameters->size(), 4u);
    EXPECT_EQ(kv::test::PageLines((*parameters)[0].value), lines);
    EXPECT_EQ((*parameters)[1].value, "a@karvell.example");
    EXPECT_EQ((*parameters)[2].value, subject);
    EXPECT_EQ((*parameters)[3].value, "b+c@karvell.example");
    EXPECT_EQ(internet.OpenHandles(), 0);
}

TEST(ReportLoopback, NoServerListeningIsNotNoticed) {
    kv::platform::SocketInternet internet(std::map<int, int>{{80, kv::test::UnusedPort()}});
    kv::test::TestWorld world;
    world.internet = &internet;
    kv::TPHPunit report{world.Services()};
    report.NavigateTo("http://127.0.0.1/cgi-bin/instup.php?botschaft=x");
    report.WaitForDelivery(kv::DeliveryWaitAtExitMs);
    EXPECT_EQ(internet.OpenHandles(), 0);
    EXPECT_TRUE(world.dialogs.shown.empty());
}

}  // namespace
