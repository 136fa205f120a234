#include "sim/SimulatedHidBackend.h"

#include "link/EventReport.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <thread>

namespace zorvane {
namespace {

using namespace std::chrono_literals;

constexpr auto kGenerous = 5s;  // long enough never to decide a passing test
const std::string kCommandPath = SimulatedHidBackend::kCommandPath;

bool Answers(const ReadResult& result, const Report& reply, const Report& request)
{
    return result.outcome == ReadOutcome::Data && result.length == kReportSize &&
           ClassifyReport(reply) == ReportKind::Command && IsReplyTo(reply, request);
}

class SimulatedBackend : public ::testing::Test {
protected:
    SimulatedBackend() { sim.SetReplyLatency(0ms); }

    std::shared_ptr<HidHandle> OpenCommand()
    {
        auto handle = sim.Open(kCommandPath).handle;
        EXPECT_NE(handle, nullptr);
        return handle;
    }

    // With no latency a reply is queued before Write returns, so a zero time-out tells whether one came.
    std::optional<Report> ExchangeAtOnce(HidHandle& handle, const Report& request)
    {
        Report reply{};
        if (!handle.Write(request, 1s) || handle.Read(reply, 0ms).outcome != ReadOutcome::Data)
            return std::nullopt;
        return reply;
    }

    SimulatedHidBackend sim;
    const Report modelName = commands::GetModelName().request;
};

TEST_F(SimulatedBackend, PresentsTheFramesCollectionsAndAnUnrelatedDevice)
{
    EXPECT_EQ(sim.ListInterfaces(), (std::vector<std::string>{"/dev/hidraw0&col01", "/dev/hidraw0&col02",
                                                              "/dev/hidraw0&col03", "/dev/hidraw1"}));
    for (const char* path : SimulatedHidBackend::kFramePaths) {
        const auto attributes = sim.GetAttributes(path);
        ASSERT_TRUE(attributes) << path;
        EXPECT_EQ(attributes->vendorId, 0x1101);
        EXPECT_EQ(attributes->productId, 0x0C21);
        EXPECT_EQ(attributes->versionNumber, 0x0316);
    }
    EXPECT_EQ(sim.GetAttributes("/dev/hidraw1")->vendorId, SimulatedHidBackend::kUnrelatedAttributes.vendorId);
    EXPECT_FALSE(sim.GetAttributes("/dev/hidraw7"));
    EXPECT_EQ(sim.Open("/dev/hidraw7").handle, nullptr);
}

TEST_F(SimulatedBackend, OnlyTheCommandCollectionTakesCommandReports)
{
    const struct {
        const char* path;
        bool accepted;
    } cases[] = {{"/dev/hidraw0&col01", false},
                 {"/dev/hidraw0&col02", false},
                 {"/dev/hidraw0&col03", true},
                 {"/dev/hidraw1", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto handle = sim.Open(c.path).handle;
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(handle->Write(modelName, 1s), c.accepted);
    }
    EXPECT_EQ(sim.ReceivedRequests().size(), 1u);
}

TEST_F(SimulatedBackend, EachFaultShapesWhatComesBack)
{
    const struct {
        const char* name;
        std::optional<Fault> fault;
        bool written;
        ReadOutcome outcome;
        std::size_t length;
        bool answers;
    } cases[] = {
        {"none", std::nullopt, true, ReadOutcome::Data, 64, true},
        {"refused write", Fault::RefusedWrite(), false, ReadOutcome::TimedOut, 0, false},
        {"no reply", Fault::NoReply(), true, ReadOutcome::TimedOut, 0, false},
        {"wrong reply code", Fault::WrongReplyCode(), true, ReadOutcome::Data, 64, false},
        {"status reply", Fault::StatusReply(0x83), true, ReadOutcome::Data, 64, true},
        {"code 2", Fault::CodeTwoReply(), true, ReadOutcome::Data, 64, true},
        {"foreign report", Fault::ForeignReport(), true, ReadOutcome::Data, 64, false},
        {"garbage", Fault::Garbage(), true, ReadOutcome::Data, 64, false},
        {"short report", Fault::ShortReport(20), true, ReadOutcome::Data, 20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedHidBackend backend;
        if (c.fault)
            backend.FailNext(*c.fault);
        const auto handle = backend.Open(kCommandPath).handle;
        ASSERT_NE(handle, nullptr);

        EXPECT_EQ(handle->Write(modelName, 1s), c.written);
        Report reply{};
        const ReadResult result = handle->Read(reply, c.outcome == ReadOutcome::Data ? kGenerous : 20ms);

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.length, c.length);
        EXPECT_EQ(Answers(result, reply, modelName), c.answers);
        EXPECT_EQ(backend.ReceivedRequests().size(), c.written ? 1u : 0u);
    }
}

TEST_F(SimulatedBackend, ReplyFormsCarryTheirMarkers)
{
    const auto handle = OpenCommand();
    sim.FailNext(Fault::StatusReply(0x83));
    sim.FailNext(Fault::CodeTwoReply());
    sim.FailNext(Fault::ForeignReport());

    const auto status = ExchangeAtOnce(*handle, modelName);
    const auto codeTwo = ExchangeAtOnce(*handle, modelName);
    const auto foreign = ExchangeAtOnce(*handle, modelName);

    ASSERT_TRUE(status && codeTwo && foreign);
    EXPECT_EQ(((*status)[2]), 0x83);
    EXPECT_EQ(((*status)[5]), modelName[1]);
    EXPECT_EQ(((*status)[6]), modelName[2]);
    EXPECT_EQ(((*codeTwo)[2]), 2);
    EXPECT_EQ(((*codeTwo)[3]), sim.frame().state().identity.modelName.size());  // the payload is intact
    EXPECT_FALSE(HasValidHeader(*foreign));
}

TEST_F(SimulatedBackend, FaultsHitTheNextRequestsThenTheStandingOneUntilCleared)
{
    const auto handle = OpenCommand();
    sim.FailNext(Fault::NoReply(), 2);
    sim.FailAll(Fault::CodeTwoReply());

    EXPECT_FALSE(ExchangeAtOnce(*handle, modelName));
    EXPECT_FALSE(ExchangeAtOnce(*handle, modelName));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ExchangeAtOnce(*handle, modelName).value_or(Report{})[2], 2);
    sim.ClearFaults();
    EXPECT_EQ(ExchangeAtOnce(*handle, modelName).value_or(Report{})[2], 0x81);
}

TEST_F(SimulatedBackend, DelayedRepliesArriveAfterTheirDelay)
{
    const struct {
        const char* name;
        std::function<void(SimulatedHidBackend&)> delay;
    } cases[] = {
        {"reply latency", [](SimulatedHidBackend& backend) { backend.SetReplyLatency(300ms); }},
        {"late reply", [](SimulatedHidBackend& backend) { backend.FailNext(Fault::LateReply(300ms)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedHidBackend backend;
        c.delay(backend);
        const auto handle = backend.Open(kCommandPath).handle;
        ASSERT_TRUE(handle->Write(modelName, 1s));
        Report reply{};

        EXPECT_EQ(handle->Read(reply, 0ms).outcome, ReadOutcome::TimedOut);
        const ReadResult result = handle->Read(reply, kGenerous);
        EXPECT_TRUE(Answers(result, reply, modelName));
    }
}

// As over USB full speed, where the frame's endpoint moves one report a millisecond, until a test
// asks for no latency.
TEST_F(SimulatedBackend, AFreshFrameAnswersAfterAReportInterval)
{
    FrameEndpoint endpoint(std::make_shared<SimulatedFrame>());
    const auto replies = endpoint.Exchange(modelName);
    ASSERT_TRUE(replies);
    ASSERT_EQ(replies->size(), 1u);
    EXPECT_GE(replies->front().delay, 1ms);
    EXPECT_LE(replies->front().delay, 2ms);
}

TEST_F(SimulatedBackend, BlockingReadWakesForWhatEndsTheWait)
{
    const struct {
        const char* name;
        std::function<void(SimulatedHidBackend&, HidHandle&)> wake;
        ReadOutcome outcome;
    } cases[] = {
        {"close", [](SimulatedHidBackend&, HidHandle& handle) { handle.Close(); }, ReadOutcome::Woken},
        {"unplug", [](SimulatedHidBackend& backend, HidHandle&) { backend.Unplug(); }, ReadOutcome::Failed},
        {"late reply",
         [](SimulatedHidBackend& backend, HidHandle& handle) {
             backend.FailNext(Fault::LateReply(50ms));
             handle.Write(commands::GetModelName().request, 1s);
         },
         ReadOutcome::Data},
        {"injected report",
         [](SimulatedHidBackend& backend, HidHandle&) { backend.SendInputReport(Report{0xFD, 0xAC}); },
         ReadOutcome::Data},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedHidBackend backend;
        const auto handle = backend.Open(kCommandPath).handle;
        ReadResult result;
        std::thread reader([&] {
            Report into{};
            result = handle->Read(into, std::nullopt);
        });
        std::this_thread::sleep_for(30ms);  // let the reader block first
        c.wake(backend, *handle);
        reader.join();
        EXPECT_EQ(result.outcome, c.outcome);
    }
}

TEST_F(SimulatedBackend, AwaitCloseReturnsOnceClosed)
{
    const auto handle = OpenCommand();
    std::thread waiter([&] { handle->AwaitClose(); });
    handle->Close();
    waiter.join();
    handle->AwaitClose();  // already closed: returns at once
}

TEST_F(SimulatedBackend, UnplugKillsOpenHandlesForGoodAndReplugBringsTheFrameBack)
{
    const auto old = OpenCommand();
    Report into{};

    sim.Unplug();

    EXPECT_EQ(sim.ListInterfaces(), std::vector<std::string>{"/dev/hidraw1"});
    EXPECT_FALSE(sim.GetAttributes(kCommandPath));
    EXPECT_EQ(sim.Open(kCommandPath).handle, nullptr);
    EXPECT_FALSE(old->Write(modelName, 1s));
    EXPECT_EQ(old->Read(into, kGenerous).outcome, ReadOutcome::Failed);

    sim.Replug();

    EXPECT_EQ(sim.ListInterfaces().size(), 4u);
    const auto fresh = OpenCommand();
    EXPECT_TRUE(ExchangeAtOnce(*fresh, modelName));
    EXPECT_FALSE(old->Write(modelName, 1s));
    EXPECT_EQ(old->Read(into, kGenerous).outcome, ReadOutcome::Failed);
}

TEST_F(SimulatedBackend, OpenFailureLeavesTheFrameListedButUnopenable)
{
    sim.SetOpenFails(true);
    for (const char* path : SimulatedHidBackend::kFramePaths) {
        EXPECT_TRUE(sim.GetAttributes(path)) << path;
        EXPECT_EQ(sim.Open(path).handle, nullptr) << path;
    }
    sim.SetOpenFails(false);
    EXPECT_NE(sim.Open(kCommandPath).handle, nullptr);
}

TEST_F(SimulatedBackend, InjectedReportsReachOnlyOpenCommandHandles)
{
    const Report penTray{0xFD, 0xAC, 0x00, 0, 0, 1, 0, 1, 0, 0, 1};
    EXPECT_FALSE(sim.SendInputReport(penTray));

    const auto touch = sim.Open("/dev/hidraw0&col02").handle;
    const auto command = OpenCommand();
    EXPECT_TRUE(sim.SendInputReport(penTray));
    EXPECT_TRUE(sim.SendInputReport(penTray, 10));

    Report into{};
    EXPECT_EQ(touch->Read(into, 0ms).outcome, ReadOutcome::TimedOut);
    const ReadResult whole = command->Read(into, 0ms);
    EXPECT_EQ(whole.length, kReportSize);
    EXPECT_EQ(into, penTray);
    EXPECT_EQ(command->Read(into, 0ms).length, 10u);
}

}  // namespace
}  // namespace zorvane
