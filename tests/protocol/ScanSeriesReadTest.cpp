#include "LinkFixtures.h"
#include "protocol/ScanSeriesRead.h"
#include "protocol/SendCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <utility>

namespace zorvane {
namespace {

using testing::ReplyTo;
using Chunk = std::pair<int, int>;  // first index, length

ScanSeries Iota(int from, int to)
{
    ScanSeries values(static_cast<std::size_t>(to - from));
    std::iota(values.begin(), values.end(), from);
    return values;
}

// A frame whose receiver i reads i; `answer` may reshape the reply to each chunk request.
class ScanSeriesWire : public testing::ScriptedLink {
protected:
    void SetUp() override
    {
        ScriptedLink::SetUp();
        script = [this](const Report& request) -> std::optional<Report> {
            Report reply = ReplyTo(request);
            const int first = request[6] | request[7] << 8;
            const int length = request[8] | request[9] << 8;
            reply[8] = static_cast<std::uint8_t>(length);
            for (int i = 0; i < length && 9 + i < 64; ++i)
                reply[static_cast<std::size_t>(9 + i)] = static_cast<std::uint8_t>(first + i);
            return answer(static_cast<int>(Requests().size()) - 1, reply);
        };
    }

    std::vector<Chunk> Chunks() const
    {
        std::vector<Chunk> chunks;
        for (const Report& request : Requests())
            chunks.emplace_back(request[6] | request[7] << 8, request[8] | request[9] << 8);
        return chunks;
    }

    // Gets the index of the chunk request and the reply a whole chunk would get.
    std::function<std::optional<Report>(int, Report)> answer = [](int, Report reply) { return reply; };
};

TEST_F(ScanSeriesWire, CountIsReadInChunksOf55)
{
    struct Case {
        std::int32_t count;
        std::vector<Chunk> chunks;
    };
    const Case cases[] = {
        {-3, {}},
        {0, {}},
        {1, {{0, 1}}},
        {55, {{0, 55}}},
        {56, {{0, 55}, {55, 1}}},
        {110, {{0, 55}, {55, 55}}},
        {111, {{0, 55}, {55, 55}, {110, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        ClearRequests();
        ScanSeries series{99};

        EXPECT_EQ(ReadScanSeries(GetDeviceProtocol(), 9, series, c.count), link_status::kOk);

        EXPECT_EQ(Chunks(), c.chunks);
        EXPECT_EQ(series, Iota(0, std::max(c.count, 0)));
        for (const Report& request : Requests())
            EXPECT_EQ(testing::Bytes(request, 0, 6), (std::vector<int>{0xFD, 0xA5, 0x01, 0, 0, 9}));
    }
}

TEST_F(ScanSeriesWire, ShortChunkLeavesLaterChunksInPlace)
{
    answer = [](int chunk, Report reply) {
        if (chunk == 0)
            reply[8] = 40;
        return reply;
    };
    ScanSeries series;

    EXPECT_EQ(ReadScanSeries(GetDeviceProtocol(), 0, series, 110), link_status::kOk);

    EXPECT_EQ(Chunks(), (std::vector<Chunk>{{0, 55}, {55, 55}}));
    ScanSeries expected = Iota(0, 40);
    const ScanSeries rest = Iota(55, 110);
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(series, expected);
}

TEST_F(ScanSeriesWire, ValueCountBeyondTheReportTakesOnlyWhatItHolds)
{
    answer = [](int, Report reply) {
        reply[8] = 200;
        return reply;
    };
    ScanSeries series;

    EXPECT_EQ(ReadScanSeries(GetDeviceProtocol(), 0, series, 55), link_status::kOk);

    EXPECT_EQ(series, Iota(0, 55));
}

TEST_F(ScanSeriesWire, EarlyEndKeepsWhatArrived)
{
    struct Case {
        const char* name;
        int endingChunk;
        std::optional<std::uint8_t> replyCode;  // nothing: no reply at all
        LinkStatus status;
        ScanSeries series;
    };
    const Case cases[] = {
        {"first reply a status 0x80", 0, 0x80, link_status::kOk, {}},
        {"second reply a status 0x80", 1, 0x80, link_status::kOk, Iota(0, 55)},
        {"second reply coded 2", 1, 2, link_status::kOk, Iota(0, 55)},
        {"second chunk unanswered", 1, std::nullopt, link_status::kNoReply, Iota(0, 55)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearRequests();
        answer = [&c](int chunk, Report reply) -> std::optional<Report> {
            if (chunk < c.endingChunk)
                return reply;
            if (!c.replyCode)
                return std::nullopt;
            reply[2] = *c.replyCode;
            if (reply[2] != 2)  // 0x80 answers this request only in the status-reply form
                reply[5] = 0xA5, reply[6] = 0x01;
            return reply;
        };
        ScanSeries series;

        EXPECT_EQ(ReadScanSeries(GetDeviceProtocol(), 0, series, 165), c.status);

        EXPECT_EQ(series, c.series);
        EXPECT_EQ(Chunks().back().first, 55 * c.endingChunk) << "nothing is asked after the end";
    }
}

TEST_F(ScanSeriesWire, CountIsReadAgainBeforeEveryChunk)
{
    struct Case {
        std::int32_t before;
        std::int32_t after;  // set while the first chunk is on its way
        std::vector<Chunk> chunks;
    };
    const Case cases[] = {
        {165, 60, {{0, 55}, {55, 5}}},
        {165, 40, {{0, 55}}},
        {50, 120, {{0, 50}, {50, 55}, {105, 15}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        ClearRequests();
        std::int32_t count = c.before;
        answer = [&](int chunk, Report reply) {
            if (chunk == 0)
                count = c.after;
            return reply;
        };
        ScanSeries series;

        EXPECT_EQ(ReadScanSeries(GetDeviceProtocol(), 0, series, count), link_status::kOk);

        EXPECT_EQ(Chunks(), c.chunks);
    }
}

class ScanSeriesOnSimulatedFrame : public testing::SimulatedLink {
protected:
    // As the chart worker does before its first read: the frame serves series only in scan mode.
    void SwitchScanModeOn()
    {
        ASSERT_EQ(SendCommand(GetDeviceProtocol(), commands::SetTouchMode(touch_mode::kScanOn)), link_status::kOk);
    }

    std::size_t ChunkRequests() const
    {
        const Report chunk = commands::ReadSignalChunk(0, 0, 0).request;
        const auto requests = backend->ReceivedRequests();
        return static_cast<std::size_t>(std::count_if(requests.begin(), requests.end(), [&](const Report& request) {
            return request[1] == chunk[1] && request[2] == chunk[2];
        }));
    }
};

TEST_F(ScanSeriesOnSimulatedFrame, EverySelectorReadsOneValuePerReceiver)
{
    SwitchScanModeOn();
    const FrameState state = State();
    for (std::uint8_t selector = 0; selector < 18; ++selector) {
        SCOPED_TRACE(static_cast<int>(selector));
        const int axis = selector % 2;
        const int direction = selector % 6 / 2;
        const std::int32_t count = axis ? state.layout.yReceivers : state.layout.xReceivers;
        const int threshold = direction == 1 ? state.layout.straightThreshold : state.layout.obliqueThreshold;
        const std::vector<int>& weak = axis ? state.signal.yWeakReceivers : state.signal.xWeakReceivers;
        ScanSeries series;

        ASSERT_EQ(ReadScanSeries(GetDeviceProtocol(), selector, series, count), link_status::kOk);

        ASSERT_EQ(series.size(), static_cast<std::size_t>(count));
        if (selector >= 6)
            continue;
        // Values: healthy receivers clear twice the threshold, the weak ones do not, the unpaired read 2.
        std::vector<int> below;
        for (int i = 0; i < count; ++i) {
            if (series[static_cast<std::size_t>(i)] != 2 && series[static_cast<std::size_t>(i)] < 2 * threshold)
                below.push_back(i);
        }
        EXPECT_EQ(below, weak);
    }
}

TEST_F(ScanSeriesOnSimulatedFrame, CountBeyondTheFrameGivesTheReceiversItHas)
{
    SwitchScanModeOn();
    ScanSeries series;
    EXPECT_EQ(ReadScanSeries(GetDeviceProtocol(), 3, series, 200), link_status::kOk);
    EXPECT_EQ(series.size(), static_cast<std::size_t>(State().layout.yReceivers));
}

// Out of scan mode the frame answers the first chunk at once with a reply that ends the read: an
// empty series and no failure, so the chart shows nothing rather than a broken link.
TEST_F(ScanSeriesOnSimulatedFrame, OutOfScanModeTheReadEndsAtOnceEmptyAndWithoutAFailure)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> modes;  // sent before the read
    };
    const Case cases[] = {
        {"never switched on", {}},
        {"switched on and off again", {touch_mode::kScanOn, touch_mode::kScanOff}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::uint8_t mode : c.modes)
            ASSERT_EQ(SendCommand(GetDeviceProtocol(), commands::SetTouchMode(mode)), link_status::kOk);
        const std::size_t chunksBefore = ChunkRequests();
        ScanSeries series{1, 2, 3};

        EXPECT_EQ(ReadScanSeries(GetDeviceProtocol(), 2, series, State().layout.xReceivers), link_status::kOk);

        EXPECT_TRUE(series.empty());
        EXPECT_EQ(ChunkRequests() - chunksBefore, 1u) << "answered, neither retried nor read on";
        EXPECT_TRUE(GetDeviceChannel().IsOpen());
    }
}

}  // namespace
}  // namespace zorvane
