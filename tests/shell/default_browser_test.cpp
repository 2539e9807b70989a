// The default browser's command line, and the browser really started through the desktop's
// association.

#include "shell/default_browser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "support/fake_registry.h"
#include "support/temp_registry.h"
#ifdef PAGELARK_QT_SHELL
#include "app/shell_open.h"
#endif

namespace pagelark::testing {
namespace {

// The options and the document joined by single blanks: the shell's parameter text.
std::string Parameters(const ShellCommand& command) {
    std::string text;
    for (const std::string& option : command.options)
        text += option + " ";
    return text + command.document;
}

struct RecordingShell final : Shell {
    std::vector<ShellCommand> opened;
    bool Open(const ShellCommand& command) override {
        opened.push_back(command);
        return true;
    }
};

TEST(DefaultBrowserTest, CommandLineFieldsBecomeProgramFolderAndParameters) {
    const struct {
        const char* htm;
        const char* html;
        const char* command;
        const char* program;  // "": nothing is started
        const char* directory;
        const char* options;  // the parameters before the address
    } cases[] = {
        {"htmlfile", "", "\"/opt/web browser/web\" -nohome", "/opt/web browser/web",
         "/opt/web browser/", "-nohome "},
        {"htmlfile", "", "/usr/bin/web \"%1\"", "/usr/bin/web", "/usr/bin/", ""},
        {"htmlfile", "", "web -a -b %1", "web", "", "-b -a "},
        {"", "htmlfile", "web \"--x=a b\" \"%1\"", "web", "", "--x=a b "},
        // Two blanks end the options; fields past the tenth are lost.
        {"htmlfile", "", "web -a  -b", "web", "", "-a "},
        {"htmlfile", "", "web 2 3 4 5 6 7 8 9 10 11", "web", "", "10 9 8 7 6 5 4 3 2 "},
        {"", "", "web", "", "", ""},
        {"htmlfile", "", "", "", "", ""},
    };
    const std::string address = "http://host/a b?x=1";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        FakeRegistry backend;
        Registry registry(backend);
        if (*c.htm) backend.Put(RegRoot::ClassesRoot, ".htm", "", c.htm);
        if (*c.html) backend.Put(RegRoot::ClassesRoot, ".html", "", c.html);
        backend.Put(RegRoot::ClassesRoot, "htmlfile\\shell\\open\\command", "", c.command);
        RecordingShell shell;
        for (int twice = 0; twice < 2; ++twice)
            EXPECT_EQ(OpenInDefaultBrowser(registry, shell, address), *c.program != '\0');
        if (shell.opened.empty()) continue;
        const ShellCommand& opened = shell.opened.back();
        EXPECT_EQ(opened.program, c.program);
        EXPECT_EQ(opened.directory, c.directory);
        EXPECT_EQ(Parameters(opened), c.options + address);
        EXPECT_EQ(Parameters(shell.opened.front()), Parameters(opened));
    }
}

#ifdef PAGELARK_QT_SHELL
TEST(DefaultBrowserTest, StartsTheDesktopsBrowserInItsFolderWithTheAddressAsGiven) {
    TempRegistry world;
    TempFolder& temp = world.temp;
    const std::string script = temp.Write(
        "bin dir/browser",
        "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > ../seen.tmp; mv ../seen.tmp ../seen\n");
    ::chmod(script.c_str(), 0755);
    temp.Write(
        "share/applications/fake.desktop",
        "[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + script + "\" --new-window %u\n");
    temp.Write("etc/mimeapps.list", "[Default Applications]\ntext/html=fake.desktop\n");
    Registry registry(*world.store);

    const std::string address = "https://example.org/a b?q=\"x\"&r=%41";
    QtShell shell;
    ASSERT_TRUE(OpenInDefaultBrowser(registry, shell, address));
    for (int i = 0; i < 300 && !std::filesystem::exists(temp.File("seen")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(TempFolder::Read(temp.File("seen")),
              temp.File("bin dir") + "\n--new-window\n" + address + "\n");
}
#endif

}  // namespace
}  // namespace pagelark::testing
