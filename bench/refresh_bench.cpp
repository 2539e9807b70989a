// The cost of refreshing a presentation published on a web server: bytes on the wire and CPU
// time of one refresh that is answered 304, and of one that brings a changed presentation of
// 1 000 pages (fetched, parsed whole, kept as the copy). The kiosk's own fetcher against the
// end-to-end page server on loopback, refreshing back to back.

#include <sys/resource.h>
#include <time.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "app/published_fetcher.h"
#include "core/ports/presentation_updates.h"
#include "e2e/support/http_server.h"
#include "model/toolbar_buttons.h"
#include "platform/clock.h"
#include "publish/publication.h"
#include "publish/refresh_schedule.h"
#include "storage/document_session.h"
#include "storage/presentation_file.h"

using namespace pagelark;

namespace {

constexpr int kPages = 1000;
constexpr long kRefreshes = 200;

std::string Version(int version) {
    std::string text = "[Tessaro]\r\nHomeURL=http://home.example/" + std::to_string(version) +
                       "\r\nDefaultTime=10\r\n";
    for (int i = 1; i <= kPages; ++i)
        text += "[Page" + std::to_string(i) + "]\r\nURL=http://pages.example/show/" +
                std::to_string(i) + ".html\r\n";
    return text;
}

double CpuMs(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Counter final : PresentationUpdates {
    long offers = 0;
    std::function<void()> onOffer;
    void TakeShow(Show, ShowChange) override {
        ++offers;
        if (onOffer) onOffer();
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    char pattern[] = "/tmp/pagelark-bench-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    DocumentSession session(folder + "/registry", RegistryAccess::ReadWrite);
    MachineSettings machine;
    ToolbarButtons buttons;
    const std::string startupFolder = folder + "/";
    const HelpDocumentList help{};
    DocumentContext context{session.settings, session.files, machine, buttons, help, startupFolder};

    e2e::HttpServer server;
    int version = 1;
    server.Publish("/show.tso", Version(version));
    Publication publication(server.Url("/show.tso"), folder + "/cache", context, "");
    SystemClock clock;
    SystemRandom random;
    RefreshSchedule schedule(std::chrono::milliseconds(0), clock, random);  // back to back
    Counter counter;
    PublishedFetcher fetcher(publication, schedule, counter);

    // Runs the fetcher until done() holds; the figures of what happened meanwhile.
    struct Figures {
        double bytes, cpu, mainThread, wall;
    };
    const auto measure = [&](long refreshes, const std::function<long()>& count) {
        const long before = count();
        const std::size_t exchanges = server.Exchanges().size();
        const double cpu = CpuMs(CLOCK_PROCESS_CPUTIME_ID), main = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        const auto start = std::chrono::steady_clock::now();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (count() - before >= refreshes) QCoreApplication::quit();
        });
        poll.start(5);
        QCoreApplication::exec();
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        const long done = count() - before;
        double bytes = 0;
        const auto all = server.Exchanges();
        for (std::size_t i = exchanges; i < all.size(); ++i)
            bytes += static_cast<double>(all[i].bytes);
        const auto n = static_cast<double>(done);
        return Figures{bytes / n, (CpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu) / n,
                       (CpuMs(CLOCK_THREAD_CPUTIME_ID) - main) / n, wall / n};
    };

    fetcher.Start();
    measure(1, [&] { return counter.offers; });  // the first version, not counted
    const Figures unchanged =
        measure(kRefreshes, [&] { return server.Answered("/show.tso", 304); });
    // Every version taken is followed by the next, so each refresh brings a change.
    counter.onOffer = [&] { server.Publish("/show.tso", Version(++version)); };
    server.Publish("/show.tso", Version(++version));
    const Figures changed = measure(kRefreshes, [&] { return counter.offers; });

    std::printf("refresh of a published presentation of %d pages (%.1f KiB), mean of %ld\n", kPages,
                static_cast<double>(Version(version).size()) / 1024.0, kRefreshes);
    std::printf("  %-16s %10s %12s %14s %10s\n", "", "wire bytes", "CPU ms", "main thread ms",
                "wall ms");
    for (const auto& [name, f] :
         {std::pair{"unchanged (304)", unchanged}, {"changed (200)", changed}})
        std::printf("  %-16s %10.0f %12.3f %14.3f %10.3f\n", name, f.bytes, f.cpu, f.mainThread,
                    f.wall);
    std::printf(
        "  CPU is the whole process's, the loopback server's threads included; the main\n"
        "  thread does what the kiosk's does: take the answer, parse it, keep the copy.\n");
    std::filesystem::remove_all(folder);
    return 0;
}
