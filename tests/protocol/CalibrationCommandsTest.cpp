#include "LinkFixtures.h"
#include "protocol/CalibrationCommands.h"
#include "protocol/SendCommand.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace zorvane {
namespace {

using testing::Bytes;
using testing::ReplyTo;

constexpr int kCalibration = 0xA1;
constexpr int kLayout = 0xA5;

CalibrationDeviceId DeviceId(std::u16string_view text)
{
    CalibrationDeviceId id{};
    std::copy(text.begin(), text.end(), id.begin());
    return id;
}

// A frame that answers record reads with `record` from byte 6 and size reads with 320 x 240 receivers.
class CalibrationWire : public testing::ScriptedLink {
protected:
    void SetUp() override
    {
        ScriptedLink::SetUp();
        script = [this](const Report& request) -> std::optional<Report> {
            if (request[1] == failing[0] && request[2] == failing[1])
                return std::nullopt;
            Report reply = ReplyTo(request);
            if (request[1] == kCalibration && request[2] == 0x03)
                std::copy(record.begin(), record.end(), reply.begin() + 6);
            if (request[1] == kLayout)
                reply[6] = 0x40, reply[7] = 0x01, reply[8] = 0xF0, reply[9] = 0x00;
            return reply;
        };
    }

    std::vector<std::uint8_t> record;
    std::array<int, 2> failing{-1, -1};  // command and sub-command that get no reply
};

TEST_F(CalibrationWire, WritesSendTheRecordsLow16BitsHighByteFirst)
{
    const TwoPointCalibration two{.left = 0x0102, .top = 0x0304, .right = 0x0506, .bottom = 0x0708};
    NinePointCalibration nine;
    std::iota(nine.values.begin(), nine.values.end(), 0x1110);
    nine.values[0] = -1;
    nine.values[17] = 0x10005;

    ASSERT_EQ(WriteTwoPointRecord(GetDeviceProtocol(), two), link_status::kOk);
    ASSERT_EQ(WriteNinePointRecord(GetDeviceProtocol(), nine), link_status::kOk);

    const std::vector<Report> sent = Requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Bytes(sent[0], 0, 4), (std::vector<int>{0xFD, 0xA1, 0x01, 0x01}));
    EXPECT_EQ(Bytes(sent[0], 6, 17), (std::vector<int>{1, 2, 3, 4, 5, 6, 3, 4, 5, 6, 7, 8, 1, 2, 7, 8, 0}));
    EXPECT_EQ(Bytes(sent[1], 0, 4), (std::vector<int>{0xFD, 0xA1, 0x01, 0x02}));
    EXPECT_EQ(Bytes(sent[1], 6, 4), (std::vector<int>{0xFF, 0xFF, 0x11, 0x11}));
    EXPECT_EQ(Bytes(sent[1], 40, 3), (std::vector<int>{0x00, 0x05, 0}));
}

TEST_F(CalibrationWire, TwoPointReadTakesTheFirstAndThirdCornerAndTheFrameSize)
{
    // Bytes 10..13 and 18..21 repeat corners the record does not need.
    record = {0x00, 0x64, 0x00, 0xC8, 0xEE, 0xEE, 0xEE, 0xEE, 0x0F, 0xA0, 0x0B, 0xB8, 0xEE, 0xEE, 0xEE, 0xEE};
    TwoPointCalibration read;

    ASSERT_EQ(ReadTwoPointRecord(GetDeviceProtocol(), read), link_status::kOk);

    EXPECT_EQ(read, (TwoPointCalibration{100, 200, 4000, 3000, DeviceId(u"320-240")}));
    // The size request goes out in the record request's buffer: byte 3 still names the record.
    EXPECT_EQ(Heads(), (std::vector<std::vector<int>>{{0xFD, 0xA1, 0x03, 0x01}, {0xFD, 0xA5, 0x00, 0x01}}));
}

TEST_F(CalibrationWire, NinePointReadWidensEveryValue)
{
    record = {0xFF, 0xFF};
    for (std::uint8_t i = 1; i < 18; ++i)
        record.insert(record.end(), {0, i});
    NinePointCalibration read;

    ASSERT_EQ(ReadNinePointRecord(GetDeviceProtocol(), read), link_status::kOk);

    std::array<std::int32_t, 18> expected{};
    std::iota(expected.begin(), expected.end(), 0);
    expected[0] = 65535;  // written as -1
    EXPECT_EQ(read.values, expected);
    EXPECT_EQ(read.deviceId, DeviceId(u"320-240"));
    EXPECT_EQ(Heads(), (std::vector<std::vector<int>>{{0xFD, 0xA1, 0x03, 0x02}, {0xFD, 0xA5, 0x00, 0x02}}));
}

TEST_F(CalibrationWire, FailedReadsKeepWhatTheyHadNotYetRead)
{
    record = std::vector<std::uint8_t>(36, 0x01);
    struct Case {
        const char* name;
        std::array<int, 2> failing;
        bool valuesRead;
    };
    const Case cases[] = {{"record request", {kCalibration, 0x03}, false}, {"size request", {kLayout, 0x00}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        failing = c.failing;
        const TwoPointCalibration oldTwo{-7, -7, -7, -7, DeviceId(u"old")};
        NinePointCalibration oldNine;
        oldNine.values.fill(-7);
        oldNine.deviceId = DeviceId(u"old");
        TwoPointCalibration two = oldTwo;
        NinePointCalibration nine = oldNine;

        EXPECT_EQ(ReadTwoPointRecord(GetDeviceProtocol(), two), link_status::kNoReply);
        EXPECT_EQ(ReadNinePointRecord(GetDeviceProtocol(), nine), link_status::kNoReply);

        EXPECT_EQ(two.deviceId, oldTwo.deviceId);
        EXPECT_EQ(nine.deviceId, oldNine.deviceId);
        EXPECT_EQ(two.left, c.valuesRead ? 0x0101 : -7);
        EXPECT_EQ(two.bottom, c.valuesRead ? 0x0101 : -7);
        EXPECT_EQ(nine.values[17], c.valuesRead ? 0x0101 : -7);
    }
}

TEST_F(CalibrationWire, StoreCommitsOnlyAfterTheWriteSucceeded)
{
    struct Case {
        const char* name;
        std::array<int, 2> failing;
        LinkStatus status;
        std::vector<int> subCommandsSent;  // of both stores, a failed request twice
    };
    const Case cases[] = {
        {"both answered", {-1, -1}, link_status::kOk, {0x01, 0x02, 0x01, 0x02}},
        {"write unanswered", {kCalibration, 0x01}, link_status::kNoReply, {0x01, 0x01, 0x01, 0x01}},
        {"commit unanswered", {kCalibration, 0x02}, link_status::kNoReply, {0x01, 0x02, 0x02, 0x01, 0x02, 0x02}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        failing = c.failing;
        ClearRequests();

        EXPECT_EQ(StoreTwoPointRecord(GetDeviceProtocol(), {}), c.status);
        EXPECT_EQ(StoreNinePointRecord(GetDeviceProtocol(), {}), c.status);

        std::vector<int> subCommands;
        std::vector<int> kinds;
        for (const Report& request : Requests()) {
            subCommands.push_back(request[2]);
            kinds.push_back(request[3]);
        }
        EXPECT_EQ(subCommands, c.subCommandsSent);
        EXPECT_EQ(kinds.front(), 1);
        EXPECT_EQ(kinds.back(), 2);
    }
}

// Write, store and reset against the simulated frame, read back each time.
template <typename Record>
struct RecordOperations {
    std::function<LinkStatus(DeviceProtocol&, Record&)> read;
    std::function<LinkStatus(DeviceProtocol&, const Record&)> write;
    std::function<LinkStatus(DeviceProtocol&, const Record&)> store;
    std::function<Record(int)> make;  // a distinct record for each number
};

template <typename Record>
void RoundTrip(const RecordOperations<Record>& ops, SimulatedFrame& frame)
{
    DeviceProtocol& protocol = GetDeviceProtocol();
    Record factory;
    ASSERT_EQ(ops.read(protocol, factory), link_status::kOk);
    EXPECT_EQ(factory.deviceId, DeviceId(u"192-108"));
    const auto withId = [&factory](Record record) {
        record.deviceId = factory.deviceId;
        return record;
    };
    const auto readBack = [&] {
        Record record;
        EXPECT_EQ(ops.read(protocol, record), link_status::kOk);
        return record;
    };

    ASSERT_EQ(ops.write(protocol, ops.make(1)), link_status::kOk);
    EXPECT_EQ(readBack(), withId(ops.make(1))) << "a write applies at once";
    EXPECT_EQ(frame.state().calibration.stored, frame.state().calibration.factory) << "but is not kept";

    ASSERT_EQ(ops.store(protocol, ops.make(2)), link_status::kOk);
    ASSERT_EQ(ops.write(protocol, ops.make(3)), link_status::kOk);
    EXPECT_EQ(readBack(), withId(ops.make(3)));
    FrameState powerCycled = frame.state();  // a power cycle applies the kept record again
    powerCycled.calibration.current = powerCycled.calibration.stored;
    frame.SetState(powerCycled);
    EXPECT_EQ(readBack(), withId(ops.make(2))) << "a store keeps the record";

    ASSERT_EQ(SendCommand(protocol, commands::ResetCalibration()), link_status::kOk);
    EXPECT_EQ(readBack(), factory);
}

using CalibrationOnSimulatedFrame = testing::SimulatedLink;

TEST_F(CalibrationOnSimulatedFrame, TwoPointRecordRoundTrips)
{
    RoundTrip<TwoPointCalibration>({ReadTwoPointRecord, WriteTwoPointRecord, StoreTwoPointRecord,
                                    [](int n) {
                                        return TwoPointCalibration{100 * n, 50 * n, 1800 + n, 1000 + n};
                                    }},
                                   backend->frame());
}

TEST_F(CalibrationOnSimulatedFrame, NinePointRecordRoundTrips)
{
    RoundTrip<NinePointCalibration>({ReadNinePointRecord, WriteNinePointRecord, StoreNinePointRecord,
                                     [](int n) {
                                         NinePointCalibration record;
                                         std::iota(record.values.begin(), record.values.end(), 1000 * n);
                                         return record;
                                     }},
                                    backend->frame());
}

}  // namespace
}  // namespace zorvane
