#include "calibration/CalibrationText.h"

#include <gtest/gtest.h>

#include <climits>

namespace zorvane {
namespace {

CalibrationDeviceId Id(std::u16string_view text)
{
    CalibrationDeviceId id{};
    std::copy_n(text.begin(), std::min(text.size(), id.size()), id.begin());
    return id;
}

TEST(CalibrationText, DataTextIsUpperCaseHexWithoutLeadingZeros)
{
    EXPECT_EQ(CalibrationDataText(TwoPointCalibration{150, 150, 1920, 1080, {}}), "96-96-780-438");
    EXPECT_EQ(CalibrationDataText(TwoPointCalibration{}), "0-0-0-0");
    EXPECT_EQ(CalibrationDataText(TwoPointCalibration{-1, INT32_MIN, 65535, 0xABCDEF, {}}),
              "FFFFFFFF-80000000-FFFF-ABCDEF");
}

TEST(CalibrationText, NinePointTextShowsTopLeftThenBottomRight)
{
    NinePointCalibration record;
    for (std::size_t i = 0; i < record.values.size(); ++i)
        record.values[i] = static_cast<std::int32_t>(0x10 + i);
    // topLeft is values 0 and 1, bottomRight values 4 and 5.
    EXPECT_EQ(CalibrationDataText(record), "10-11-14-15");
}

TEST(CalibrationText, DeviceIdEndsAtTheFirstZeroUnitOrAfterSixteen)
{
    CalibrationDeviceId full;
    full.fill(u'9');
    CalibrationDeviceId gap = Id(u"32-18");
    gap[8] = u'X';

    EXPECT_EQ(DeviceIdText(Id(u"32-18")), u"32-18");
    EXPECT_EQ(DeviceIdText(full), std::u16string(16, u'9'));
    EXPECT_EQ(DeviceIdText(gap), u"32-18");
    EXPECT_EQ(DeviceIdText({}), u"");
    CalibrationDeviceId leadingZero{};
    leadingZero[1] = u'X';
    EXPECT_TRUE(HasDeviceId(Id(u"1")));
    EXPECT_FALSE(HasDeviceId(leadingZero));
    EXPECT_FALSE(HasDeviceId({}));
}

TEST(CalibrationText, ExportNameCarriesTheDeviceId)
{
    EXPECT_EQ(ExportFileName(Id(u"32-18")), u"Zorvane_32-18.cdat");
    EXPECT_EQ(ExportFileName(Id(u"65535-65535")), u"Zorvane_65535-65535.cdat");
}

}  // namespace
}  // namespace zorvane
