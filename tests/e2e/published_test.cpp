// A presentation published on a web server: refreshed as each version says, a new version shown
// at a page boundary, a broken, oversized, cut short or trickling one refused, the copy kept played
// while the server is down, the first good copy played at once after a start without one.

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

class PublishedTest : public KioskTest {
  protected:
    // A presentation of these pages, with more [Tessaro] lines.
    std::string Version(const std::vector<std::string>& pages, const std::string& options = "") {
        return WithServer("[Tessaro]\nDefaultTime=2\n" + options + Pages(pages));
    }

    // The pages' server stays up while the presentation's goes down.
    HttpServer publisher_;
};

TEST_F(PublishedTest, APublishedPresentationIsRefreshedGuardedAndKept) {
    // A refresh every 3 seconds or so, as the version says: no copy was kept before.
    const auto version = [&](const NamedColor& color) {
        return Version({"/" + std::string(color.name)}, "RefreshMinutes=0.05\n");
    };
    publisher_.Publish("/show.tso", version(kRed));
    Process& kiosk =
        Run({publisher_.Url("/show.tso")}, {"QT_LOGGING_RULES=pagelark.document.debug=true"});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp));

    // Unchanged: each refresh is answered 304 and nothing is parsed again.
    const std::size_t before = kiosk.Output().size();
    ASSERT_TRUE(WaitUntil([&] { return publisher_.Answered("/show.tso", 304) >= 2; }, kPatience));
    EXPECT_EQ(kiosk.Output().find("pagelark.document: loaded ", before), std::string::npos);

    // The new version comes at a page boundary, its first page loaded behind the page on show.
    publisher_.Publish("/show.tso", version(kGreen));
    std::optional<Rgb> between;
    const auto green = [&](Rgb seen) {
        if (!Near(seen, kRed.rgb) && !Near(seen, kGreen.rgb)) between = seen;
        return Near(seen, kGreen.rgb);
    };
    ASSERT_TRUE(WaitForCentre(green, kPatience));
    EXPECT_FALSE(between) << ToHex(*between) << " came on show between the versions";

    // Last, a version whose first half parses, cut off half way.
    const struct {
        std::string body;
        const char* refusal;
    } refused[] = {{"<html>not a presentation</html>", "refused: holds no presentation sections"},
                   {std::string(10 << 20, 'x'), "refused: larger than 4 MiB"},
                   {version(kBlue) + std::string(1000, '\n'), "refused: cut short"}};
    for (const auto& r : refused) {
        publisher_.SetCuttingShort(&r == std::end(refused) - 1);
        publisher_.Publish("/show.tso", r.body);
        EXPECT_TRUE(Says(kiosk, r.refusal));
        EXPECT_TRUE(Shows(kGreen.rgb)) << r.refusal;
    }
    // Nothing of it was kept, its tag neither: sent whole, it comes.
    publisher_.SetCuttingShort(false);
    EXPECT_TRUE(Comes(kBlue.rgb, kPatience));

    // A redirect the rules allow is followed to the new version.
    publisher_.Publish("/moved.tso", version(kCyan));
    publisher_.Redirect("/show.tso", "/moved.tso");
    ASSERT_TRUE(Comes(kCyan.rgb, kPatience));

    // With the server down from the start, the copy kept from the last run plays.
    kiosk.Stop();
    publisher_.SetDown(true);
    Process& again = Run({publisher_.Url("/show.tso")});
    EXPECT_TRUE(Comes(kCyan.rgb, kStartUp));
    EXPECT_TRUE(Says(again, "cannot be fetched"));
}

TEST_F(PublishedTest, AFirstStartWhileTheServerIsDownOrFailingPlaysTheFirstGoodCopyAtOnce) {
    MachineSettings("\"RefreshMinutes\"=\"0.05\"\n");
    publisher_.Publish("/show.tso", Version({"/red", "/green"}));
    const struct {
        bool down;
        int status;
        const char* refusal;
    } starts[] = {{true, 0, "refused: cannot be fetched"},
                  {false, 500, "refused: answered with status 500"}};
    for (const auto& start : starts) {
        publisher_.SetDown(start.down);
        publisher_.SetFailing(start.status);
        // An address of its own for each start: no copy kept from the one before.
        Process& kiosk = Run({publisher_.Url("/show.tso?" + std::to_string(start.status))});
        EXPECT_TRUE(Says(kiosk, start.refusal, kStartUp));
        // Nothing to play: the program's page says so.
        EXPECT_TRUE(Comes(kProblem.rgb, kPatience)) << start.refusal;
        publisher_.SetDown(false);
        publisher_.SetFailing(0);
        EXPECT_TRUE(Comes(kRed.rgb, kPatience)) << start.refusal;
        EXPECT_TRUE(Comes(kGreen.rgb, kPatience)) << start.refusal;
        kiosk.Stop();
    }
}

TEST_F(PublishedTest, AnAnswerThatTricklesIsAbandonedAtItsDeadlineAndTheNextRefreshComes) {
    MachineSettings("\"RefreshMinutes\"=\"0.05\"\n");
    publisher_.Publish("/show.tso", Version({"/red"}));
    Process& kiosk = Run({publisher_.Url("/show.tso")});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp));
    // 100 000 bytes announced, one sent a second.
    publisher_.SetTrickling(true);
    publisher_.Publish("/show.tso", Version({"/green"}) + std::string(100000, '\n'));
    // A minute's deadline, and time to spare.
    EXPECT_TRUE(Says(kiosk, "refused: cannot be fetched: no whole answer within 60 seconds",
                     Millis(120000)));
    publisher_.SetTrickling(false);
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience)) << "no refresh after the trickle";
}

}  // namespace
}  // namespace pagelark::e2e
