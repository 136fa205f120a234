#include "platform/linux/UdevMonitor.h"

#include "ReportDescriptorSamples.h"
#include "Umockdev.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace zorvane {

void PrintTo(const DeviceNotice& notice, std::ostream* out)
{
    *out << (notice.kind == DeviceNotice::Kind::Arrival ? "arrival " : "removal ") << notice.interfacePath;
}

namespace {

using namespace umockdev;
using Kind = DeviceNotice::Kind;

// Runs the event loop until `count` notices arrived or a generous deadline passed.
bool AwaitNotices(const std::vector<DeviceNotice>& notices, std::size_t count)
{
    const QDeadlineTimer deadline(10000);
    while (notices.size() < count && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return notices.size() >= count;
}

TEST(UdevMonitorUmockdevTest, ANodeThatComesAndGoesIsAnnouncedUnderEachOfItsInterfacePaths)
{
#ifdef ZORVANE_ADDRESS_SANITIZER
    GTEST_SKIP() << "umockdev's preload library does not run beside AddressSanitizer";
#endif
#ifdef ZORVANE_THREAD_SANITIZER
    // Announcing a uevent hands data to umockdev's worker thread inside GLib, which ThreadSanitizer
    // cannot see synchronise; the monitor itself runs on one thread.
    GTEST_SKIP() << "umockdev's uevent worker is not instrumented for ThreadSanitizer";
#endif
    if (!UnderUmockdev())
        return RunUnderUmockdev();
    const auto testbed = UmockdevTestbed::Create();
    if (!testbed)
        GTEST_SKIP() << "libumockdev is not installed";
    int argc = 1;
    char name[] = "zorvane_platform_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    // The keyboard is there before the monitor starts; the frame comes later.
    ASSERT_TRUE(testbed->AddFromString(
        HidDeviceOnUsb("1-1", "0110", "0003:0000046D:0000C31C", samples::kBootKeyboardDescriptor, 1)));
    UdevMonitor monitor;
    std::vector<DeviceNotice> notices;
    monitor.SetHandler([&](const DeviceNotice& notice) { notices.push_back(notice); });

    ASSERT_TRUE(testbed->AddFromString(  // announces each device it adds
        HidDeviceOnUsb("1-2", "0203", "0003:00001101:00000001", samples::kTouchFrameDescriptor, 3)));
    ASSERT_TRUE(AwaitNotices(notices, 3));
    EXPECT_EQ(notices, (std::vector<DeviceNotice>{{Kind::Arrival, "/dev/hidraw3&col01"},
                                                  {Kind::Arrival, "/dev/hidraw3&col02"},
                                                  {Kind::Arrival, "/dev/hidraw3&col03"}}));

    // By the time the monitor reads a removal, the node's sysfs entry is gone.
    notices.clear();
    testbed->Uevent(HidrawSyspath("1-2", 3), "remove");
    testbed->RemoveDevice(HidrawSyspath("1-2", 3));
    testbed->Uevent(HidrawSyspath("1-1", 1), "remove");
    ASSERT_TRUE(AwaitNotices(notices, 4));
    EXPECT_EQ(notices, (std::vector<DeviceNotice>{{Kind::Removal, "/dev/hidraw3&col01"},
                                                  {Kind::Removal, "/dev/hidraw3&col02"},
                                                  {Kind::Removal, "/dev/hidraw3&col03"},
                                                  {Kind::Removal, "/dev/hidraw1"}}));
}

}  // namespace
}  // namespace zorvane
