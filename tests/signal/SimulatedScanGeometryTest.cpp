// The scan geometry the simulation view prepares for its 192 x 108 frame, and the beams drawn from it.

#include "signal/SimulatedScanGeometry.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

const SimulatedScanGeometry kFrame = PrepareScanGeometry(192, 108);

TEST(SimulatedScanGeometry, TheTableOfTheThreeDirections)
{
    struct Case {
        int direction;
        ScanAxisGeometry x;
        ScanAxisGeometry y;
    };
    const Case cases[] = {
        {0, {-48, 48, 191, -1536, 3504}, {-38, 38, 107, 1216, 6176}},
        {1, {0, 0, 191, 0, 3504}, {0, 0, 107, 0, 6176}},
        {2, {48, 0, 143, 1536, 3504}, {38, 0, 69, -1216, 6176}},
    };
    const auto fields = [](const ScanAxisGeometry& g) {
        return std::array{g.offset, g.first, g.last, g.vectorAlong, g.vectorAcross};
    };
    for (const Case& c : cases) {
        const ScanDirectionGeometry& d = kFrame.directions[c.direction];
        EXPECT_EQ(fields(d.x), fields(c.x)) << "X, direction " << c.direction;
        EXPECT_EQ(fields(d.y), fields(c.y)) << "Y, direction " << c.direction;
    }
    EXPECT_EQ(kFrame.logicalWidth(), 6208);
    EXPECT_EQ(kFrame.logicalHeight(), 3520);
}

// Each beam joins the centres of two receiver pitches that exist, inside the drawing space.
TEST(SimulatedScanGeometry, BeamsJoinReceiversThatExist)
{
    const auto centre = [](int index) { return 32 * index + 48; };
    for (int d = 0; d < SimulatedScanGeometry::kDirectionCount; ++d) {
        const ScanAxisGeometry& x = kFrame.directions[d].x;
        const auto xBeams = BeamsOf(kFrame, d, ScanAxis::X);
        ASSERT_EQ(static_cast<int>(xBeams.size()), x.last - x.first + 1) << d;
        for (std::size_t k = 0; k < xBeams.size(); ++k) {
            const int receiver = x.first + static_cast<int>(k);
            const LogicalBeam& b = xBeams[k];
            EXPECT_EQ(b.fromX, centre(receiver));
            EXPECT_EQ(b.toX, centre(receiver + x.offset));
            EXPECT_GE(b.toX, centre(0));
            EXPECT_LE(b.toX, centre(191));
            EXPECT_EQ(b.fromY, 8);
            EXPECT_EQ(b.toY, 3512);
        }
        const ScanAxisGeometry& y = kFrame.directions[d].y;
        const auto yBeams = BeamsOf(kFrame, d, ScanAxis::Y);
        ASSERT_EQ(static_cast<int>(yBeams.size()), y.last - y.first + 1) << d;
        for (std::size_t k = 0; k < yBeams.size(); ++k) {
            const int receiver = y.first + static_cast<int>(k);
            const LogicalBeam& b = yBeams[k];
            EXPECT_EQ(b.fromY, centre(receiver + y.offset));
            EXPECT_GE(b.fromY, centre(0));
            EXPECT_LE(b.fromY, centre(107));
            EXPECT_EQ(b.toY, centre(receiver));
            EXPECT_EQ(b.fromX, 16);
            EXPECT_EQ(b.toX, 6192);
        }
    }
}

}  // namespace
}  // namespace zorvane
