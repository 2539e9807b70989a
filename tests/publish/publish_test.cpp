#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "platform/clock.h"
#include "platform/files.h"
#include "publish/http_rules.h"
#include "publish/publication.h"
#include "publish/refresh_schedule.h"
#include "support/document_world.h"
#include "support/warning_log.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;

HttpAnswer Answer(std::vector<std::string> chain, int status, std::string body = "",
                  std::string etag = "") {
    return {std::move(chain), status, "", false, std::move(body), {std::move(etag), ""}, {}};
}

// A refused connection, a status other than 200, an answer over the limit or cut short, and a
// 304: the end-to-end published tests.
TEST(HttpRulesTest, AnAnswerIsTakenOnlyWholeFromTheWebAndNeverDownFromHttps) {
    using enum Verdict::Kind;
    const std::vector<std::string> sevenHops(7, "https://a");
    const struct {
        std::vector<std::string> chain;
        int status;
        Verdict::Kind kind;
        std::string reason;  // how it begins
    } cases[] = {
        {{"http://a", "HTTPS://b"}, 200, Candidate, ""},
        {{"https://a", "https://b", "http://b"}, 301, Refused, "redirected from https to http"},
        {{"http://a", "file:///etc/passwd"}, 302, Refused, "redirected to file:///etc/passwd"},
        {sevenHops, 302, Refused, "redirected more than 5 times"},
    };
    for (const auto& c : cases) {
        const Verdict verdict = Judge(Answer(c.chain, c.status));
        EXPECT_EQ(verdict.kind, c.kind) << c.chain.back() << " " << c.status;
        EXPECT_TRUE(verdict.reason.starts_with(c.reason)) << verdict.reason;
        // The transport stops where the verdict would refuse the redirect.
        if (c.chain.size() > 1) {
            EXPECT_EQ(MayFollow(c.chain), c.kind != Refused) << c.chain.back();
        }
    }
    // A 200 that broke off is a piece of the file, whatever it holds.
    HttpAnswer cut = Answer({"https://a"}, 200, "[Page1]\nURL=http://a/\n");
    cut.error = "Remote host closed the connection";
    EXPECT_EQ(Judge(cut).reason, "cannot be fetched: Remote host closed the connection");
}

TEST(HttpRulesTest, AddressesCarryTheMachinesNamesAndRequestsTheLastValidators) {
    EXPECT_EQ(ExpandAddress("https://s/%h/%m.tso?a=%20%", "kiosk7", "0f3a"),
              "https://s/kiosk7/0f3a.tso?a=%20%");
    EXPECT_TRUE(IsPublishedAddress("HTTP://s/a.tso"));
    EXPECT_FALSE(IsPublishedAddress("/srv/http://a.tso"));
    EXPECT_EQ(ConditionalHeaders({"\"v1\"", "Tue, 03 Mar 2026 10:00:00 GMT"}),
              (std::vector<HttpHeader>{{"If-None-Match", "\"v1\""},
                                       {"If-Modified-Since", "Tue, 03 Mar 2026 10:00:00 GMT"}}));

    EXPECT_EQ(PublishedCacheFolder("/var/cache", "/home/k"), "/var/cache/pagelark");
    EXPECT_EQ(PublishedCacheFolder("relative", "/home/k"), "/home/k/.cache/pagelark");
    const auto name = [](const std::string& address) {
        return std::filesystem::path(PublishedCopyPath("/c", address)).filename().string();
    };
    EXPECT_EQ(name("https://s/screens/lobby.tso?id=7"), "lobby.tso");
    EXPECT_EQ(name("https://s/feed/a b"), "a_b.tso");
    EXPECT_EQ(name("https://s"), "published.tso");
    EXPECT_EQ(name("https://s/.."), "published...tso");  // never a folder above its own
    // Never a Windows device; names that only start like one stay.
    for (const std::string_view device : {"con.tso", "AUX", "nul.a.tso", "Com1.tso", "lpt9"})
        EXPECT_TRUE(name("https://s/" + std::string(device)).starts_with('_')) << device;
    EXPECT_EQ(name("https://s/com10.tso"), "com10.tso");
    EXPECT_EQ(name("https://s/console"), "console.tso");
}

struct FakeTime : Clock, RandomSource {
    double now = DateTimeValue(2026, 3, 1, 12, 0);
    std::vector<double> fractions;
    double Now() const override { return now; }
    double Fraction() override {
        const double f = fractions.front();
        fractions.erase(fractions.begin());
        return f;
    }
};

TEST(RefreshScheduleTest, TheNextFetchComesWithinAFifthOfThePeriodEitherSide) {
    using std::chrono::milliseconds;
    FakeTime time;
    // The ends of the range, its middle, and a source gone out of range both ways.
    time.fractions = {0.0, 0.5, 0.999999, 7.0, -1.0};
    RefreshSchedule schedule(milliseconds(300000), time, time);
    EXPECT_EQ(schedule.UntilDue(), milliseconds(0));
    for (const double expected : {240000.0, 300000.0, 360000.0, 360000.0, 240000.0}) {
        schedule.Fetched();
        EXPECT_NEAR(static_cast<double>(schedule.UntilDue().count()), expected, 1);
        time.now += (expected + 1) / 1000.0 / kSecondsPerDay;
        EXPECT_EQ(schedule.UntilDue(), milliseconds(0));
    }
}

HttpAnswer Ok(std::string body, std::string etag) {
    return Answer({"https://s/lobby.tso"}, 200, std::move(body), std::move(etag));
}

TEST(PublicationTest, KeepsTheLastGoodCopyAndTakesOnlyNewVersionsThatParse) {
    DocumentWorld world;
    const std::string cache = world.temp.File("cache");
    auto publication =
        std::make_unique<Publication>("https://s/lobby.tso", cache, world.context, "");
    EXPECT_TRUE(publication->RequestHeaders().empty());
    const std::string v1 = "[Page1]\nURL=http://red/\n";
    const auto taken = publication->Take(Ok(v1, "\"v1\""));
    ASSERT_TRUE(taken);
    EXPECT_EQ(std::tuple(taken->document.CurrentFile, taken->presentation.Pages.size(),
                         taken->document.IsDefaultFile),
              std::tuple(publication->CopyPath(), 1u, false));
    EXPECT_NE(taken->document.LoadProblem.find("published at https://s/lobby.tso"),
              std::string::npos);

    // None of these replaces the copy or is offered (nor a 304 or a file that is no presentation,
    // empty or not: the end-to-end published test).
    const struct {
        HttpAnswer answer;
        const char* what;
    } nothingNew[] = {
        {Ok(v1, "\"v1b\""), "the same bytes"},
        {Ok("[Tessaro]\nDefaultTime=5\n", "\"y\""), "no pages"},
        {Ok("[Page1]\nURL=file:///home/k/mqtt-login\n", "\"w\""), "no web pages"},
    };
    for (const auto& c : nothingNew) {
        EXPECT_FALSE(publication->Take(c.answer)) << c.what;
        EXPECT_EQ(TempFolder::Read(publication->CopyPath()), v1) << c.what;
    }
    // Only the copy and its validators stay behind; the next run asks with the latest.
    const auto folder = std::filesystem::path(publication->CopyPath()).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
    publication = std::make_unique<Publication>("https://s/lobby.tso", cache, world.context, "");
    EXPECT_EQ(publication->RequestHeaders(),
              (std::vector<HttpHeader>{{"If-None-Match", "\"v1b\""}}));
    world.settings.SetManaged({{{"AutoLoop", "No"}}});
    EXPECT_EQ(publication->RefreshPeriod(), 5min);
    // Nothing of the machine's own comes on the public screen, nor lets a visitor reach it.
    WarningLog log;
    // The warnings since the last call.
    const auto said = [&] { return std::exchange(log.lines, {}); };
    const auto v2 = publication->Take(
        Ok("[Tessaro]\nRefreshMinutes=0.5\nHomeURL=data:text/html,x\n[Page1]\nURL=http://green/\n"
           "[Page2]\nURL=file:///home/k/mqtt-login\n[Page3]\nURL=http://blue/\n"
           "[Include1]\nURL=file:///\n",
           ""));
    ASSERT_TRUE(v2);
    EXPECT_EQ(std::tuple(v2->presentation.Pages.size(), v2->presentation.AutoLoop,
                         v2->presentation.HomeURL, v2->presentation.Include),
              std::tuple(2u, false, "about:blank", std::vector<std::string>{"about:blank"}));
    const std::string shows =
        " left out: a presentation from a web server shows web addresses only";
    EXPECT_EQ(said(), (std::vector<std::string>{
                          "https://s/lobby.tso: the page file:///home/k/mqtt-login" + shows,
                          "https://s/lobby.tso: the home page data:text/html,x" + shows,
                          "https://s/lobby.tso: the include entry file:///" + shows}));
    EXPECT_TRUE(publication->RequestHeaders().empty());

    // Each version says how often to fetch (the end-to-end test), and so does the copy at start;
    // the settings store and a managed file say it over them.
    EXPECT_EQ(Publication("https://s/lobby.tso", cache, world.context, "").RefreshPeriod(), 30s);
    ASSERT_TRUE(world.settings.WriteMachineSetting("RefreshMinutes", "2"));
    EXPECT_EQ(publication->RefreshPeriod(), 2min);
    world.settings.SetManaged({{{"RefreshMinutes", "1"}}});
    EXPECT_EQ(publication->RefreshPeriod(), 1min);

    const std::string v3 = "[Tessaro]\nRefreshMinutes=soon\n[Page1]\nURL=http://red/\n";
    ASSERT_TRUE(publication->Take(Ok(v3, "\"v3\"")));
    EXPECT_EQ(said(), std::vector<std::string>{"https://s/lobby.tso: RefreshMinutes=soon is no "
                                               "number of minutes and counts for nothing"});
    // A copy gone bad is fetched whole: a 304 to its validators would leave the screen without.
    const std::string copy = publication->CopyPath();
    world.temp.Write(copy.substr(world.temp.path().size() + 1), "\x89\x13garbage");
    publication = std::make_unique<Publication>("https://s/lobby.tso", cache, world.context, "");
    EXPECT_TRUE(publication->RequestHeaders().empty());
    EXPECT_EQ(said(), std::vector<std::string>{"the copy kept of https://s/lobby.tso holds no "
                                               "presentation sections: it is fetched whole"});
    // A version that cannot be kept plays all the same, once.
    std::filesystem::remove(copy);
    std::filesystem::create_directory(copy);
    ASSERT_TRUE(publication->Take(Ok(v1, "\"v4\"")));
#ifdef _WIN32
    const std::string why = ErrorReason(5);  // ERROR_ACCESS_DENIED: a folder is in the way
#else
    const std::string why = "Is a directory";
#endif
    EXPECT_EQ(said(),
              std::vector<std::string>{"https://s/lobby.tso cannot be kept as " + copy + ": " +
                                       why + "; the new version plays all the same"});
    EXPECT_FALSE(publication->Take(Ok(v1, "\"v4\"")));
    EXPECT_FALSE(std::filesystem::exists(copy + ".validators")) << "beside no copy of theirs";
    EXPECT_EQ(publication->RequestHeaders(),
              (std::vector<HttpHeader>{{"If-None-Match", "\"v4\""}}));
}

}  // namespace
}  // namespace pagelark::testing
