#include "platform/process_memory.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

namespace pagelark {
namespace {

// The browser engine's renderers are the kiosk's grandchildren: they count too.
TEST(ProcessTreeTest, HoldsChildrenAndGrandchildrenAndTheirMemory) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const pid_t grandchild = ::fork();
        if (grandchild == 0) ::pause();
        // Tells the test whom to end, and reaps it.
        ::write(ready[1], &grandchild, sizeof grandchild);
        ::waitpid(grandchild, nullptr, 0);
        ::_exit(0);
    }
    pid_t grandchild = 0;
    ASSERT_EQ(::read(ready[0], &grandchild, sizeof grandchild), sizeof grandchild);
    const std::vector<int> tree = ProcessTree(CurrentProcessId());
    ::kill(grandchild, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(tree.front(), CurrentProcessId());
    EXPECT_EQ(tree.size(), 3u);
    EXPECT_NE(std::find(tree.begin(), tree.end(), grandchild), tree.end());
    const ProcessMemory own = MemoryOfProcess(CurrentProcessId());
    EXPECT_GT(own.pssKiB, 0);
    EXPECT_GT(own.privateKiB, 0);
    EXPECT_EQ(MemoryOfProcess(0).pssKiB, 0);
}

}  // namespace
}  // namespace pagelark
