// Files and path text, on Linux and on Windows (under Wine) alike.

#include "platform/files.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#endif

#include "platform/paths.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

TEST(Paths, AbsoluteIsFromARootNeverFromADrivesWorkingFolder) {
    const struct {
        const char* path;
        bool absolute;
    } cases[] = {
        {"/srv/a", true}, {"a/b", false}, {"", false},   {"C:", false},
        {"C:x", false},
#ifdef _WIN32
        {"C:\\x", true},  {"c:/x", true}, {"\\x", true}, {"\\\\server\\share", true},
        {"1:\\x", false},
#else
        {"C:\\x", false}, {"\\x", false},
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << c.path;
}

// Not read in the ANSI code page (Windows).
TEST(Paths, ANormalPathKeepsItsUtf8) {
    EXPECT_EQ(NormalPath("im\xC3\xA1genes/./a.gif"),
              "im\xC3\xA1genes" + std::string(1, kPathSeparator) + "a.gif");
}

#ifndef _WIN32
// Root is bound by permissions once it drops its capabilities, which a child does here.
int WithoutCapabilities(const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct none[2] = {};
        ::_exit(::syscall(SYS_capset, &header, none) == 0 ? work() : 255);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 254;
}

TEST(MakeFolder, AFolderThatCannotBeEnteredGivesTheRealReason) {
    TempFolder temp;
    const std::string shut = temp.File("shut");
    ASSERT_EQ(::mkdir(shut.c_str(), 0600), 0);
    EXPECT_EQ(WithoutCapabilities([&] { return MakeFolder(shut, 0700); }), EACCES);
    EXPECT_EQ(WithoutCapabilities([&] { return MakeFolder(shut + "/in", 0700); }), EACCES);
    EXPECT_EQ(MakeFolder(temp.path(), 0700), 0);
    EXPECT_EQ(MakeFolder(temp.Write("file", "") + "/in", 0700), ENOTDIR);
}
#endif

}  // namespace
}  // namespace pagelark
