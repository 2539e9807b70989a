// The default browser's command line, and the browser really started through the desktop's
// association.

#include "shell/default_browser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/linux/file_registry.h"
#include "support/fake_registry.h"
#include "support/temp_folder.h"
#ifdef PAGELARK_QT_SHELL
#include "app/shell_open.h"
#endif

namespace pagelark {
namespace {

using testing::FakeRegistry;
using testing::TempFolder;

constexpr RegRoot kClasses = RegRoot::ClassesRoot;

class RecordingShell final : public Shell {
  public:
    std::vector<ShellCommand> opened;
    bool Open(const ShellCommand& command) override {
        opened.push_back(command);
        return true;
    }
};

TEST(DefaultBrowserTest, CommandLineFieldsBecomeProgramFolderAndParameters) {
    const std::string address = "http://host/a b?x=1";
    const struct {
        const char* htm;
        const char* html;
        const char* command;
        const char* program;
        const char* directory;
        const char* parameters;
    } cases[] = {
        {"htmlfile", "", "\"/opt/web browser/web\" -nohome", "/opt/web browser/web",
         "/opt/web browser/", "-nohome http://host/a b?x=1"},
        {"htmlfile", "", "/usr/bin/web \"%1\"", "/usr/bin/web", "/usr/bin/", "http://host/a b?x=1"},
        {"htmlfile", "", "web -a -b %1", "web", "", "-b -a http://host/a b?x=1"},
        {"", "htmlfile", "web \"--x=a b\" \"%1\"", "web", "", "--x=a b http://host/a b?x=1"},
        // Two blanks end the options; fields past the tenth are lost.
        {"htmlfile", "", "web -a  -b", "web", "", "-a http://host/a b?x=1"},
        {"htmlfile", "", "web 2 3 4 5 6 7 8 9 10 11", "web", "",
         "10 9 8 7 6 5 4 3 2 http://host/a b?x=1"},
        {"htmlfile", "", "\"web\" -a ", "web", "", "-a http://host/a b?x=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        FakeRegistry backend;
        Registry registry(backend);
        if (*c.htm) backend.Put(kClasses, ".htm", "", c.htm);
        if (*c.html) backend.Put(kClasses, ".html", "", c.html);
        backend.Put(kClasses, "htmlfile\\shell\\open\\command", "", c.command);
        RecordingShell shell;
        for (int twice = 0; twice < 2; ++twice)
            ASSERT_TRUE(OpenInDefaultBrowser(registry, shell, address));
        const ShellCommand& opened = shell.opened.back();
        EXPECT_EQ(opened.program, c.program);
        EXPECT_EQ(opened.directory, c.directory);
        EXPECT_EQ(opened.Parameters(), c.parameters);
        EXPECT_EQ(shell.opened.front().Parameters(), opened.Parameters());
        EXPECT_EQ(opened.document, address);
    }
}

TEST(DefaultBrowserTest, NoAssociationOrCommandStartsNothing) {
    FakeRegistry backend;
    Registry registry(backend);
    RecordingShell shell;
    EXPECT_FALSE(OpenProductWebSite(registry, shell));
    backend.Put(kClasses, ".htm", "", "htmlfile");
    EXPECT_FALSE(OpenProductWebSite(registry, shell));  // the type has no open command
    EXPECT_TRUE(shell.opened.empty());
}

#ifdef PAGELARK_QT_SHELL
// The browser the desktop names for text/html, started with the address as it was given.
TEST(DefaultBrowserTest, StartsTheDesktopsBrowserInItsFolder) {
    TempFolder temp;
    namespace fs = std::filesystem;
    fs::create_directories(temp.File("data/applications"));
    fs::create_directories(temp.File("config"));
    fs::create_directories(temp.File("bin dir"));
    const std::string script =
        temp.Write("bin dir/browser",
                   "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > ../seen.tmp\n"
                   "mv ../seen.tmp ../seen\n");
    ::chmod(script.c_str(), 0755);
    temp.Write(
        "data/applications/fake.desktop",
        "[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + script + "\" --new-window %u\n");
    temp.Write("config/mimeapps.list", "[Default Applications]\ntext/html=fake.desktop\n");
    XdgEnvironment env;
    env.Home = temp.path();
    env.DataHome = temp.File("data");
    env.DataDirs = temp.File("nothing");
    env.ConfigHome = temp.File("config");
    env.ConfigDirs = temp.File("nothing");
    FileRegistry backend(temp.File("registry"), env);
    Registry registry(backend);

    const std::string address = "https://example.org/a b?q=\"x\"&r=%41";
    QtShell shell;
    ASSERT_TRUE(OpenInDefaultBrowser(registry, shell, address));
    const std::string seen = temp.File("seen");
    for (int i = 0; i < 300 && !fs::exists(seen); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(TempFolder::Read(seen), temp.File("bin dir") + "\n--new-window\n" + address + "\n");
}
#endif

}  // namespace
}  // namespace pagelark
