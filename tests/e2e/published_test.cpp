// A presentation published on a web server: refreshed, a new version shown at a page boundary,
// a broken or oversized one refused, the copy kept played while the server is down.

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

TEST_F(KioskTest, APublishedPresentationIsRefreshedGuardedAndKept) {
    // A refresh every 3 seconds or so, from the machine's settings store.
    MachineSettings("\"RefreshMinutes\"=\"0.05\"\n");
    const auto version = [&](const NamedColor& color) {
        return WithServer("[Tessaro]\nDefaultTime=2\n" + Pages({"/" + std::string(color.name)}));
    };
    // The pages' server stays up while the presentation's goes down.
    HttpServer publisher;
    publisher.Publish("/show.tso", version(kRed));
    Kiosk& kiosk =
        Run({publisher.Url("/show.tso")}, {"QT_LOGGING_RULES=pagelark.document.debug=true"});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp));

    // Unchanged: each refresh is answered 304 and nothing is parsed again.
    const std::size_t before = kiosk.Output().size();
    ASSERT_TRUE(WaitUntil([&] { return publisher.Answered("/show.tso", 304) >= 2; }, kPatience));
    EXPECT_EQ(kiosk.Output().find("pagelark.document: loaded ", before), std::string::npos);

    // The new version comes at a page boundary, its first page loaded behind the page on show.
    publisher.Publish("/show.tso", version(kGreen));
    std::optional<Rgb> between;
    ASSERT_TRUE(WaitForCentre(
        [&](Rgb seen) {
            if (!Near(seen, kRed.rgb) && !Near(seen, kGreen.rgb)) between = seen;
            return Near(seen, kGreen.rgb);
        },
        kPatience));
    EXPECT_FALSE(between) << ToHex(*between) << " came on show between the versions";

    const struct {
        std::string body;
        const char* refusal;
    } refused[] = {{"<html>not a presentation</html>", "refused: holds no presentation sections"},
                   {std::string(10 << 20, 'x'), "refused: larger than 4 MiB"}};
    for (const auto& r : refused) {
        publisher.Publish("/show.tso", r.body);
        EXPECT_TRUE(Says(kiosk, r.refusal));
        EXPECT_TRUE(Shows(kGreen.rgb)) << r.refusal;
    }

    // A redirect the rules allow is followed to the new version.
    publisher.Publish("/moved.tso", version(kBlue));
    publisher.Redirect("/show.tso", "/moved.tso");
    ASSERT_TRUE(Comes(kBlue.rgb, kPatience));

    // With the server down from the start, the copy kept from the last run plays.
    kiosk.Stop();
    publisher.SetDown(true);
    Kiosk& again = Run({publisher.Url("/show.tso")});
    EXPECT_TRUE(Comes(kBlue.rgb, kStartUp));
    EXPECT_TRUE(Says(again, "cannot be fetched"));
}

TEST_F(KioskTest, AFirstStartWhileTheServerIsDownOrFailingPlaysTheFirstGoodCopyAtOnce) {
    MachineSettings("\"RefreshMinutes\"=\"0.05\"\n");
    HttpServer publisher;
    publisher.Publish("/show.tso",
                      WithServer("[Tessaro]\nDefaultTime=2\n" + Pages({"/red", "/green"})));
    const struct {
        bool down;
        int status;
        const char* refusal;
    } starts[] = {{true, 0, "refused: cannot be fetched"},
                  {false, 500, "refused: answered with status 500"}};
    for (const auto& start : starts) {
        publisher.SetDown(start.down);
        publisher.SetFailing(start.status);
        // An address of its own for each start: no copy kept from the one before.
        Kiosk& kiosk = Run({publisher.Url("/show.tso?" + std::to_string(start.status))});
        EXPECT_TRUE(Says(kiosk, start.refusal, kStartUp));
        publisher.SetDown(false);
        publisher.SetFailing(0);
        EXPECT_TRUE(Comes(kRed.rgb, kPatience)) << start.refusal;
        EXPECT_TRUE(Comes(kGreen.rgb, kPatience)) << start.refusal;
        kiosk.Stop();
    }
}

}  // namespace
}  // namespace pagelark::e2e
