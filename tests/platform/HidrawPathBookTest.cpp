#include "platform/linux/HidrawPathBook.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

using Paths = std::vector<std::string>;

TEST(HidrawPathBook, ARemovalNamesEveryPathTheNodeHadAndOnlyOnce)
{
    HidrawPathBook book;
    const Paths frame{"/dev/hidraw0&col01", "/dev/hidraw0&col02", "/dev/hidraw0&col03"};
    EXPECT_EQ(book.Arrived("/dev/hidraw0", frame), frame);
    book.Arrived("/dev/hidraw1", {"/dev/hidraw1"});

    EXPECT_EQ(book.Removed("/dev/hidraw0"), frame);
    EXPECT_EQ(book.Removed("/dev/hidraw0"), Paths{"/dev/hidraw0"}) << "forgotten after its removal";
    EXPECT_EQ(book.Removed("/dev/hidraw1"), Paths{"/dev/hidraw1"});
}

TEST(HidrawPathBook, ANodeNeverSeenIsRemovedUnderItsOwnName)
{
    HidrawPathBook book;
    EXPECT_EQ(book.Removed("/dev/hidraw7"), Paths{"/dev/hidraw7"});
}

TEST(HidrawPathBook, ANodeNumberReusedByAnotherDeviceTakesItsNewPaths)
{
    HidrawPathBook book;
    book.Arrived("/dev/hidraw2", {"/dev/hidraw2&col01", "/dev/hidraw2&col02"});
    book.Arrived("/dev/hidraw2", {"/dev/hidraw2"});
    EXPECT_EQ(book.Removed("/dev/hidraw2"), Paths{"/dev/hidraw2"});
}

}  // namespace
}  // namespace zorvane
