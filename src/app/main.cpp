#include <iostream>
#include <string_view>

#include "app/kiosk.h"

#ifndef PAGELARK_VERSION
#define PAGELARK_VERSION "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "usage: pagelark                 play the default presentation\n"
    "       pagelark FILE.tso        play that presentation\n"
    "       pagelark CONFIG          edit the default presentation, then end\n"
    "       pagelark --help | --version\n"
    "Escape or Alt+F4 ends the show while a Quit button is visible. See pagelark(1).\n";

}  // namespace

int main(int argc, char** argv) {
    // The only options: any other command line names a presentation, as it always has.
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "pagelark " << PAGELARK_VERSION << "\n";
        return 0;
    }
    return pagelark::RunKiosk(argc, argv);
}
