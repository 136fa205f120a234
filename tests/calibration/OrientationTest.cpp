// The orientation tables: how a screen vector enters the frame's axes, which record value a target
// corrects, and by how much.

#include "calibration/NinePointCorrection.h"
#include "calibration/NinePointTargets.h"
#include "calibration/OrientationMap.h"
#include "calibration/TwoPointCorrection.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace zorvane {
namespace {

std::string Name(Orientation o)
{
    return "reversed " + std::to_string(o.reversed) + " rotation " + std::to_string(o.rotation);
}

// Every orientation in the column order of the tables: not reversed 0..3, then reversed 0..3.
constexpr Orientation kOrientations[8] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}};

TEST(OrientationMap, TurnsScreenVectorsIntoFrameAxes)
{
    // (a, b) = (3, 7)
    const FrameVector expected[8] = {{3, 7}, {7, -3}, {-3, -7}, {-7, 3}, {-3, 7}, {-7, -3}, {3, -7}, {7, 3}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(Name(kOrientations[i]));
        EXPECT_EQ(OrientationMap(kOrientations[i], {3, 7}), expected[i]);
    }
}

TEST(OrientationMap, OnlyReversedOneMirrorsAndOnlyRotationsZeroToThreeMap)
{
    EXPECT_EQ(OrientationMap({1, 2}, {3, 7}), OrientationMap({1, 0}, {3, 7}));
    EXPECT_EQ(OrientationMap({1, -1}, {3, 7}), OrientationMap({1, 0}, {3, 7}));
    for (int rotation : {-1, 4, 255})
        EXPECT_EQ(OrientationMap({rotation, 0}, {3, 7}), std::nullopt) << rotation;
    EXPECT_TRUE(IsUpright({0, 0}));
    EXPECT_TRUE(IsUpright({0, 2}));
    EXPECT_FALSE(IsUpright({0, 1}));
    EXPECT_FALSE(IsUpright({1, 0}));
}

TEST(TwoPointCorrection, FollowsTheCorrectionTable)
{
    // {left, top, right, bottom} after an error (3, 7) on a zero record.
    struct Row {
        Orientation orientation;
        TwoPointCalibration topLeft;
        TwoPointCalibration bottomRight;
    };
    const Row rows[] = {
        {{0, 0}, {3, 7, 0, 0, {}}, {0, 0, 3, 7, {}}},    // left += ex, top += ey | right += ex, bottom += ey
        {{1, 0}, {7, 0, 0, -3, {}}, {0, -3, 7, 0, {}}},  // left += ey, bottom -= ex | right += ey, top -= ex
        {{2, 0}, {0, 0, -3, -7, {}}, {-3, -7, 0, 0, {}}},
        {{3, 0}, {0, 3, -7, 0, {}}, {-7, 0, 0, 3, {}}},
        {{0, 1}, {0, 7, -3, 0, {}}, {-3, 0, 0, 7, {}}},
        {{1, 1}, {0, 0, -7, -3, {}}, {-7, -3, 0, 0, {}}},
        {{2, 1}, {3, 0, 0, -7, {}}, {0, -7, 3, 0, {}}},  // left += ex, bottom -= ey
        {{3, 1}, {7, 3, 0, 0, {}}, {0, 0, 7, 3, {}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Name(row.orientation));
        TwoPointCalibration topLeft;
        CorrectTwoPointRecord(topLeft, TwoPointTarget::TopLeft, {3, 7}, row.orientation);
        EXPECT_EQ(topLeft, row.topLeft);
        TwoPointCalibration bottomRight;
        CorrectTwoPointRecord(bottomRight, TwoPointTarget::BottomRight, {3, 7}, row.orientation);
        EXPECT_EQ(bottomRight, row.bottomRight);
    }
}

TEST(TwoPointCorrection, UnknownRotationChangesNothingAndValuesWrap)
{
    const TwoPointCalibration before{1, 2, 3, 4, {u'7'}};
    TwoPointCalibration record = before;
    CorrectTwoPointRecord(record, TwoPointTarget::TopLeft, {3, 7}, {4, 0});
    EXPECT_EQ(record, before);
    EXPECT_EQ(CornerFor(TwoPointTarget::TopLeft, {4, 0}), std::nullopt);

    record.left = INT32_MAX;
    CorrectTwoPointRecord(record, TwoPointTarget::TopLeft, {1, 0}, {0, 0});
    EXPECT_EQ(record.left, INT32_MIN);
}

TEST(NinePointCorrection, RecordPointFollowsThePointTable)
{
    using P = NinePoint;
    constexpr P TL = P::TopLeft, TM = P::TopMiddle, TR = P::TopRight, MR = P::MiddleRight, BR = P::BottomRight,
                BM = P::BottomMiddle, BL = P::BottomLeft, ML = P::MiddleLeft, C = P::Centre;
    // Rows: targets 0..8 (top-left, top-middle, top-right, middle-right, bottom-right, bottom-middle,
    // bottom-left, middle-left, centre); columns as kOrientations.
    const P table[9][8] = {
        {TL, BL, BR, TR, TR, BR, BL, TL}, {TM, ML, BM, MR, TM, MR, BM, ML}, {TR, TL, BL, BR, TL, TR, BR, BL},
        {MR, TM, ML, BM, ML, TM, MR, BM}, {BR, TR, TL, BL, BL, TL, TR, BR}, {BM, MR, TM, ML, BM, ML, TM, MR},
        {BL, BR, TR, TL, BR, BL, TL, TR}, {ML, BM, MR, TM, MR, BM, ML, TM}, {C, C, C, C, C, C, C, C},
    };
    for (int target = 0; target < NinePointLayout::kTargetCount; ++target) {
        for (int column = 0; column < 8; ++column) {
            SCOPED_TRACE("target " + std::to_string(target) + ", " + Name(kOrientations[column]));
            EXPECT_EQ(RecordPointFor(target, kOrientations[column]), table[target][column]);
        }
    }
    EXPECT_EQ(RecordPointFor(0, {4, 0}), std::nullopt);
}

TEST(NinePointCorrection, AddsTheTurnedErrorToThePointsValuesOnly)
{
    // Not reversed, rotation 1: an error (ex, ey) on the top-left target adds ey to bottomLeft x and
    // subtracts ex from bottomLeft y (values 6 and 7).
    NinePointCalibration record;
    CorrectNinePointRecord(record, 0, {3, 7}, {1, 0});
    NinePointCalibration expected;
    expected.values[6] = 7;
    expected.values[7] = -3;
    EXPECT_EQ(record, expected);

    // The last point, bottomMiddle, is values 16 and 17.
    NinePointCalibration last;
    CorrectNinePointRecord(last, 5, {3, 7}, {0, 0});
    EXPECT_EQ(last.values[16], 3);
    EXPECT_EQ(last.values[17], 7);

    NinePointCalibration unknown;
    CorrectNinePointRecord(unknown, 0, {3, 7}, {7, 0});
    EXPECT_EQ(unknown, NinePointCalibration{});
}

}  // namespace
}  // namespace zorvane
