#include "FakeHid.h"
#include "link/DeviceChannel.h"

#include <gtest/gtest.h>

#include <future>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using testing::EchoReply;
using testing::FakeHandle;
using testing::FakeHid;
using testing::FakeInterface;
using testing::FakeProcessList;

constexpr HidAttributes kFrame{0x1101, 0x0002, 0x0210};
const FakeInterface kCommandInterface{"/dev/hidraw0&col03", kFrame};

Report Request(std::uint8_t header, std::uint8_t command, std::uint8_t subCommand = 0)
{
    Report r{};
    r[0] = header;
    r[1] = command;
    r[2] = subCommand;
    return r;
}

// Polls until `condition` holds; the deadline only guards against a hang.
template <typename Condition>
bool Eventually(Condition condition)
{
    for (auto deadline = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < deadline;) {
        if (condition())
            return true;
        std::this_thread::sleep_for(1ms);
    }
    return condition();
}

class Channel : public ::testing::Test {
protected:
    void Start(std::vector<FakeInterface> interfaces, DeviceFilter filter = NormalFirmwareFilter(),
               std::string ownName = "zorvane")
    {
        hid = std::make_shared<FakeHid>(std::move(interfaces));
        hid->responder = EchoReply;
        processes = std::make_shared<FakeProcessList>();
        LinkPlatform platform{hid, processes, std::move(ownName),
                              [this] { return std::chrono::steady_clock::time_point(clock.load()); }};
        channel = std::make_unique<DeviceChannel>(std::move(platform));
        channel->ApplyFilter(filter);
    }

    LinkStatus Send(const Report& request, Report* reply = nullptr, int timeoutMs = 100)
    {
        Report ignored{};
        return channel->Transact(timeoutMs, request, reply ? *reply : ignored);
    }

    void Advance(std::chrono::milliseconds by) { clock = clock.load() + by; }

    const Report identity = Request(kNormalHeader, 0xA3);
    std::atomic<std::chrono::steady_clock::duration> clock{1000s};
    std::shared_ptr<FakeHid> hid;
    std::shared_ptr<FakeProcessList> processes;
    std::unique_ptr<DeviceChannel> channel;
};

TEST_F(Channel, TransactsWithTheMatchingInterface)
{
    Start({kCommandInterface});
    Report reply{};
    ASSERT_EQ(Send(identity, &reply), link_status::kOk);
    EXPECT_EQ(reply[1], 0xA3);
    EXPECT_EQ(reply[2], 0x80);
    EXPECT_EQ(channel->filter().devicePath, "/dev/hidraw0&col03");
    EXPECT_EQ(channel->filter().versionNumber, 0x0210);
    // The handle stays open: a second transaction does not scan.
    ASSERT_EQ(Send(identity), link_status::kOk);
    EXPECT_EQ(hid->scans, 1);
}

TEST_F(Channel, ThrottlesScansWhileNoFrameIsAttached)
{
    Start({});
    EXPECT_EQ(Send(identity), link_status::kNoDevice);
    EXPECT_EQ(hid->scans, 1);
    Advance(3000ms);
    EXPECT_EQ(Send(identity), link_status::kNoDevice);
    EXPECT_EQ(hid->scans, 1) << "within 3 s no scan";
    Advance(1ms);
    EXPECT_EQ(Send(identity), link_status::kNoDevice);
    EXPECT_EQ(hid->scans, 2);
}

TEST_F(Channel, BootloaderFilterScansEveryTime)
{
    Start({}, BootloaderFilter());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Send(Request(kBootloaderHeader, 0xA0)), link_status::kNoDevice);
    EXPECT_EQ(hid->scans, 3);
}

TEST_F(Channel, RetriesOnlyNormalFirmwareRequestsAndClosesOnFailure)
{
    struct Case {
        DeviceFilter filter;
        HidAttributes attributes;
        std::uint8_t header;
        int writes;
    };
    const Case cases[] = {{NormalFirmwareFilter(), kFrame, kNormalHeader, 2},
                          {BootloaderFilter(), {0x1101, 0xFFFF, 0x1606}, kBootloaderHeader, 1}};
    for (const auto& c : cases) {
        Start({{"/dev/hidraw0&col03", c.attributes}}, c.filter);
        hid->responder = nullptr;  // the frame stays silent
        EXPECT_EQ(Send(Request(c.header, 0xA0), nullptr, 20), link_status::kNoReply);
        ASSERT_TRUE(hid->lastHandle());
        EXPECT_EQ(hid->lastHandle()->writes, c.writes);
        EXPECT_TRUE(hid->lastHandle()->closed());
        EXPECT_FALSE(channel->IsOpen());
    }
}

TEST_F(Channel, RefusedWriteIsWriteFailure)
{
    Start({kCommandInterface});
    ASSERT_EQ(Send(identity), link_status::kOk);
    hid->lastHandle()->refuseWrites = true;
    EXPECT_EQ(Send(identity), link_status::kWriteFailed);
    EXPECT_FALSE(channel->IsOpen());
}

TEST_F(Channel, OpensTheFirstMatchInEnumerationOrder)
{
    struct Case {
        const char* name;
        std::vector<FakeInterface> interfaces;
        std::vector<std::string> opened;
        LinkStatus result;
    };
    const Case cases[] = {
        {"only the second has &col03",
         {{"/dev/hidraw0&col01", kFrame}, {"/dev/hidraw0&col03", kFrame}},
         {"/dev/hidraw0&col03"}, link_status::kOk},
        {"two matches", {{"/dev/hidraw1&col03", kFrame}, {"/dev/hidraw2&col03", kFrame}},
         {"/dev/hidraw1&col03"}, link_status::kOk},
        {"other vendor", {{"/dev/hidraw0&col03", {0x046D, 0x0002, 1}}}, {}, link_status::kNoDevice},
        {"path filter is case-sensitive", {{"/dev/hidraw0&COL03", kFrame}}, {}, link_status::kNoDevice},
        {"a failed open ends the scan",
         {{"/dev/hidraw1&col03", kFrame, false}, {"/dev/hidraw2&col03", kFrame}},
         {"/dev/hidraw1&col03"}, link_status::kNoDevice},
    };
    for (const auto& c : cases) {
        Start(c.interfaces);
        EXPECT_EQ(Send(identity), c.result) << c.name;
        EXPECT_EQ(hid->opened(), c.opened) << c.name;
    }
}

// A frame that is there but refuses this user is still "no frame" (40), but the channel remembers why
// until its next scan, so that the home page can say what to do.
TEST_F(Channel, RemembersUntilTheNextScanThatTheFrameRefusedAccess)
{
    const FakeInterface refusing{"/dev/hidraw0&col03", kFrame, false, true};
    const FakeInterface broken{"/dev/hidraw0&col03", kFrame, false, false};
    Start({refusing});
    EXPECT_EQ(Send(identity), link_status::kNoDevice);
    EXPECT_TRUE(channel->lastScanRefusedAccess());
    hid->SetInterfaces({kCommandInterface});
    EXPECT_EQ(Send(identity), link_status::kNoDevice) << "throttled";
    EXPECT_TRUE(channel->lastScanRefusedAccess()) << "a throttled scan changes nothing";

    const struct {
        const char* machine;
        std::vector<FakeInterface> interfaces;
        LinkStatus result;
    } laterScans[] = {
        {"the frame opens", {kCommandInterface}, link_status::kOk},
        {"no frame", {}, link_status::kNoDevice},
        {"the frame fails to open for another reason", {broken}, link_status::kNoDevice},
    };
    for (const auto& c : laterScans) {
        Start({refusing});
        ASSERT_EQ(Send(identity), link_status::kNoDevice);
        hid->SetInterfaces(c.interfaces);
        Advance(4s);
        EXPECT_EQ(Send(identity), c.result) << c.machine;
        EXPECT_FALSE(channel->lastScanRefusedAccess()) << c.machine;
    }
}

TEST_F(Channel, ApplyingAFilterResetsItsResultsButKeepsTheHandle)
{
    Start({kCommandInterface});
    ASSERT_EQ(Send(identity), link_status::kOk);
    channel->ApplyFilter(NormalFirmwareFilter());
    EXPECT_EQ(channel->filter().devicePath, "");
    EXPECT_EQ(channel->filter().versionNumber, 0);
    EXPECT_TRUE(channel->IsOpen());
}

TEST_F(Channel, SuspensionRefusesAtOnceWithoutTouchingTheMutexOrHandle)
{
    Start({kCommandInterface});
    ASSERT_EQ(Send(identity), link_status::kOk);
    // A transaction that holds the mutex: the frame answers it only much later.
    std::promise<void> release;
    hid->lastHandle()->responder = [gate = release.get_future().share()](const Report& r, FakeHandle& h) {
        gate.wait();
        EchoReply(r, h);
    };
    auto busy = std::async(std::launch::async, [&] { return Send(identity, nullptr, 5000); });
    ASSERT_TRUE(Eventually([&] { return hid->lastHandle()->writes == 2; }));

    EXPECT_EQ(Send(identity, nullptr, 10), link_status::kBusy) << "the mutex is held";
    processes->running = true;
    ASSERT_TRUE(Eventually([&] { return channel->accessSuspended(); }));
    EXPECT_EQ(Send(identity, nullptr, 10), link_status::kSuspended) << "refused before the mutex";

    release.set_value();
    EXPECT_EQ(busy.get(), link_status::kOk) << "a transaction already running completes";
    EXPECT_TRUE(channel->IsOpen());

    processes->running = false;
    ASSERT_TRUE(Eventually([&] { return !channel->accessSuspended(); }));
    EXPECT_EQ(Send(identity), link_status::kOk);
    EXPECT_EQ(hid->scans, 1) << "access resumes on the handle that stayed open";
}

TEST_F(Channel, ProgramNamedLikeTheWatchedOneNeverSuspendsItself)
{
    Start({kCommandInterface}, NormalFirmwareFilter(), kWatchedProgram);
    processes->running = true;
    std::this_thread::sleep_for(30ms);  // several watcher cycles
    EXPECT_FALSE(channel->accessSuspended());
    EXPECT_EQ(Send(identity), link_status::kOk);
}

TEST_F(Channel, KeepsTheMatchedReplyWhenLaterReportsArrive)
{
    Start({kCommandInterface});
    hid->responder = [](const Report& request, FakeHandle& handle) {
        EchoReply(request, handle);
        Report later = Request(kNormalHeader, request[1], static_cast<std::uint8_t>(request[2] + 0x80));
        later[10] = 0xEE;  // a second answer right behind the first
        handle.Push(later);
    };
    Report reply{};
    ASSERT_EQ(Send(identity, &reply), link_status::kOk);
    EXPECT_EQ(reply[10], 0);
    ASSERT_TRUE(Eventually([&] { return channel->response()[10] == 0xEE; }));
}

TEST_F(Channel, DropsShortForeignAndUnmatchedReports)
{
    Start({kCommandInterface});
    hid->responder = [](const Report& request, FakeHandle& handle) {
        Report reply = Request(kNormalHeader, request[1], static_cast<std::uint8_t>(request[2] + 0x80));
        handle.Push(std::vector<std::uint8_t>(reply.begin(), reply.begin() + 63));  // short
        Report foreign = reply;
        foreign[0] = 0x00;
        handle.Push(foreign);
        handle.Push(Request(kNormalHeader, request[1], 0x81));  // stored, wakes nobody
    };
    EXPECT_EQ(Send(identity, nullptr, 30), link_status::kNoReply);
    EXPECT_EQ(channel->response()[2], 0x81);
}

TEST_F(Channel, DispatchesEventReportsToTheirCallbacksOnly)
{
    static std::array<int, 6> slots;
    static std::atomic<int> trayCalls;
    static int point0[4];
    static std::uint32_t point1[2];
    trayCalls = 0;
    Start({kCommandInterface});

    // Without a callback the pen-tray report is dropped, never taken as the reply to an 0xAC request.
    hid->responder = [](const Report&, FakeHandle& handle) {
        Report tray = Request(kNormalHeader, 0xAC, 0);
        tray[5] = 1;
        handle.Push(tray);
    };
    EXPECT_EQ(Send(Request(kNormalHeader, 0xAC, 0), nullptr, 20), link_status::kNoReply);

    channel->penTrayCallback = [](int a, int b, int c, int d, int e, int f) {
        slots = {a, b, c, d, e, f};
        ++trayCalls;
    };
    channel->pointCallback0 = [](int v5, int v6, const TouchPoint& p) {
        point0[0] = v5, point0[1] = v6, point0[2] = p.x, point0[3] = p.y;
    };
    channel->pointCallback1 = [](int v5, std::uint32_t packed) { point1[0] = static_cast<std::uint32_t>(v5), point1[1] = packed; };

    Report tray = Request(kNormalHeader, 0xAC, 0);
    tray[5] = 1, tray[7] = 1, tray[10] = 1;
    channel->DispatchReport(tray);
    EXPECT_EQ(trayCalls, 1);
    EXPECT_EQ(slots, (std::array<int, 6>{2, 1, 2, 1, 1, 2}));

    Report p0 = Request(kNormalHeader, 0xAB, 2);
    p0[5] = 7, p0[6] = 8, p0[16] = 0x20, p0[18] = 0x40;
    channel->DispatchReport(p0);
    EXPECT_EQ((std::vector<int>(point0, point0 + 4)), (std::vector<int>{7, 8, 2, 3}));

    Report p1 = Request(kBootloaderHeader, 0xAB, 2);
    p1[4] = 1, p1[5] = 9, p1[6] = 0x20, p1[8] = 0x40;
    channel->DispatchReport(p1);
    EXPECT_EQ(point1[0], 9u);
    EXPECT_EQ(point1[1], 2u | (3u << 16));

    Report foreign = tray;
    foreign[0] = 0;
    channel->DispatchReport(foreign);
    EXPECT_EQ(trayCalls, 1);
}

TEST_F(Channel, ClosingWakesAWaitingTransactionAndTheReaderRecovers)
{
    Start({{"/dev/hidraw0", {0x1101, 0xFFFF, 0x1606}}}, BootloaderFilter());
    hid->responder = nullptr;
    auto waiting = std::async(std::launch::async, [&] { return Send(Request(kBootloaderHeader, 0xA0), nullptr, 5000); });
    ASSERT_TRUE(Eventually([&] { return !hid->opened().empty(); }));
    const auto handle = hid->lastHandle();
    ASSERT_TRUE(handle);
    ASSERT_TRUE(Eventually([&] { return handle->writes == 1; }));
    channel->CloseDeviceHandle();
    EXPECT_EQ(waiting.get(), link_status::kNoReply) << "woken by the close, and that is no reply";

    hid->responder = EchoReply;
    EXPECT_EQ(Send(Request(kBootloaderHeader, 0xA0)), link_status::kOk) << "reopened and read again";
}

TEST_F(Channel, ReaderWaitsOutAFailedDeviceUntilItIsClosed)
{
    Start({kCommandInterface});
    ASSERT_EQ(Send(identity), link_status::kOk);
    auto first = hid->lastHandle();
    first->Fail();  // e.g. unplugged: reads fail at once
    first->responder = nullptr;
    EXPECT_EQ(Send(identity, nullptr, 20), link_status::kNoReply);
    EXPECT_TRUE(first->closed());
    Advance(4s);
    EXPECT_EQ(Send(identity), link_status::kOk);
    EXPECT_NE(hid->lastHandle(), first);
}

}  // namespace
}  // namespace zorvane
