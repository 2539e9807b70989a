// What one visitor leaves in the browsers never reaches the next, and the show comes back
// without a frame of anything but its pages.

#include <gtest/gtest.h>

#include <string>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

// A cookie, a local storage item and a database record; then a request for the target.
constexpr const char* kLeave =
    "<script>document.cookie = 'v=1; max-age=3600'; localStorage.setItem('v', '1');"
    "var open = indexedDB.open('v', 1);"
    "open.onupgradeneeded = function () { open.result.createObjectStore('s'); };"
    "open.onsuccess = function () { var t = open.result.transaction('s', 'readwrite');"
    " t.objectStore('s').put(1, 'v'); t.oncomplete = function () { fetch('{to}'); }; };"
    "</script>";
// Asks for the target followed by one digit for each of the three found (1) or not (0).
constexpr const char* kLook =
    "<script>var found = (document.cookie.indexOf('v=1') >= 0 ? '1' : '0') +"
    " (localStorage.getItem('v') ? '1' : '0');"
    "var open = indexedDB.open('v', 1);"
    "open.onupgradeneeded = function () { open.result.createObjectStore('s'); };"
    "open.onsuccess = function () { var get = open.result.transaction('s').objectStore('s')"
    ".get('v'); get.onsuccess = function () { fetch('{to}' + found + (get.result ? '1' : '0'));"
    " }; };</script>";

TEST_F(KioskTest, NothingOfAVisitorReachesTheNextUnlessTheOwnerKeepsIt) {
    server_.AddPage("/leave", kLeave);
    server_.AddPage("/look", kLook);
    for (const bool keep : {false, true}) {
        const std::string round = keep ? "kept" : "cleared";
        MoveTo(kPointerRest);  // where play starts counts as nobody there
        // The owner's choice comes from the machine's settings store, as a managed machine has it.
        if (keep)
            folders_.Write("registry/machine.reg",
                           "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvaro\\Pagelark]\n"
                           "\"ClearVisitorData\"=\"No\"\n");
        Kiosk& kiosk = Start("[Tessaro]\nDefaultTime=3\nOnMouseMove=1\nScreenSaveTimeOut=3\n" +
                             Pages({"/red", "/green"}));
        ASSERT_TRUE(WaitUntilKioskShows()) << round;
        ASSERT_TRUE(EnterNavigationMode()) << round;
        EnterAddress(server_.Url("/leave?color=blue&to=/left-" + round));
        ASSERT_TRUE(server_.Requested("/left-" + round, kPatience)) << round;
        ASSERT_TRUE(Comes(kBlue.rgb, kPatience)) << round;
        // The idle time runs out: the visitor's page stays until a show page replaces it.
        MoveTo(kPointerRest);
        EXPECT_EQ(Stray(12s, {kBlue, kRed, kGreen}), "") << round << ": came on show";
        ASSERT_TRUE(WaitForCentre([](Rgb seen) { return !Near(seen, kBlue.rgb); }, kPatience))
            << round << ": the show never came back";
        ASSERT_TRUE(EnterNavigationMode()) << round;
        EnterAddress(server_.Url("/look?color=blue&to=/found-" + round + "-"));
        EXPECT_TRUE(server_.Requested("/found-" + round + (keep ? "-111" : "-000"), kPatience))
            << round;
        kiosk.Stop();
    }
}

}  // namespace
}  // namespace pagelark::e2e
