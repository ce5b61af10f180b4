#include "platform/curl_http.h"

#include "support/loopback_http_server.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tw {
namespace {

using test::LoopbackHttpServer;
using namespace std::chrono_literals;

constexpr std::string_view kDays = "Date,Tmax\n2022-07-01,31.2\n2022-07-02,29.8\n";

CurlHttpPort quick_port()
{
    return CurlHttpPort({.timeout = 1000ms, .max_bytes = 1024});
}

bool mentions(const std::string &text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

TEST(CurlHttpPort, AWholeAnswerIsTheBodyAndTheRequestCarriesTheTarget)
{
    LoopbackHttpServer server(
        [](const std::string &) { return LoopbackHttpServer::ok(std::string(kDays)); });
    CurlHttpPort port = quick_port();
    const HttpResult result = port.get(server.url("/daily?station=GLY04&from=2022-07-01"));
    ASSERT_TRUE(result.body) << result.problem;
    EXPECT_EQ(*result.body, kDays);
    EXPECT_TRUE(result.problem.empty());
    EXPECT_EQ(server.targets(), std::vector<std::string>{"/daily?station=GLY04&from=2022-07-01"});
}

// Every way a fetch fails is one line that says which way, and never a body.
TEST(CurlHttpPort, EveryFailureIsOneLineNamingItsReason)
{
    const std::string whole = std::string(kDays) + std::string(200, '#');
    const struct
    {
        const char *what;
        LoopbackHttpServer::Handler handler;
        std::string_view reason;
    } cases[] = {
        {"missing",
         [](const std::string &) { return LoopbackHttpServer::status(404, "Not Found"); },
         "HTTP status 404"},
        {"server error",
         [](const std::string &) { return LoopbackHttpServer::status(503, "Unavailable"); },
         "HTTP status 503"},
        {"hung", [](const std::string &) { return std::optional<std::string>(); },
         "did not answer within 1 second"},
        {"cut half-way",
         [&](const std::string &) { return LoopbackHttpServer::cut_halfway(whole); },
         "stopped before its end"},
        {"empty", [](const std::string &) { return LoopbackHttpServer::ok(""); }, "empty"},
        {"too large",
         [](const std::string &) { return LoopbackHttpServer::ok(std::string(1025, 'x')); },
         "larger than"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackHttpServer server(c.handler);
        CurlHttpPort port = quick_port();
        const auto started = std::chrono::steady_clock::now();
        const HttpResult result = port.get(server.url("/daily"));
        EXPECT_FALSE(result.body);
        EXPECT_TRUE(mentions(result.problem, c.reason)) << result.problem;
        EXPECT_FALSE(mentions(result.problem, "\n"));
        // The timeout bounds every case, the hung server's too.
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    }
}

TEST(CurlHttpPort, NoServerAndForeignSchemesAreRefusedWithTheirReason)
{
    int closed_port = 0;
    {
        // A port just released has nobody listening on it.
        LoopbackHttpServer server([](const std::string &) { return std::nullopt; });
        closed_port = server.port();
    }
    CurlHttpPort port = quick_port();
    const HttpResult refused = port.get("http://127.0.0.1:" + std::to_string(closed_port) + "/");
    EXPECT_FALSE(refused.body);
    EXPECT_TRUE(mentions(refused.problem, "no connection to the server")) << refused.problem;

    for (const char *url : {"file:///etc/passwd", "ftp://127.0.0.1/x", "not an address"}) {
        const HttpResult foreign = port.get(url);
        EXPECT_FALSE(foreign.body) << url;
        EXPECT_FALSE(foreign.problem.empty()) << url;
    }
}

} // namespace
} // namespace tw
