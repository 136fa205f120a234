#include "ProcFakeTree.h"
#include "platform/linux/OwnExecutableName.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

TEST(OwnExecutableName, IsTheFileNameOfTheRunningProgram)
{
    EXPECT_EQ(OwnExecutableName(), "zorvane_platform_tests");
}

TEST(OwnExecutableName, DropsTheDirectoryAndTheDeletedMark)
{
    const struct {
        const char* target;
        const char* name;
    } cases[] = {
        {"/opt/zorvane/zorvane", "zorvane"},
        {"/home/tech/Merovan.exe", "Merovan.exe"},
        {"/opt/zorvane/zorvane (deleted)", "zorvane"},
        {"/opt/zorvane/", ""},
    };
    for (const auto& c : cases) {
        testing::FakeProcTree tree;
        std::filesystem::create_directory(tree.root() + "/self");
        std::filesystem::create_symlink(c.target, tree.root() + "/self/exe");
        EXPECT_EQ(OwnExecutableName(tree.root()), c.name) << c.target;
    }
}

TEST(OwnExecutableName, IsEmptyWhenItCannotBeRead)
{
    testing::FakeProcTree tree;
    EXPECT_EQ(OwnExecutableName(tree.root()), "");
}

}  // namespace
}  // namespace zorvane
