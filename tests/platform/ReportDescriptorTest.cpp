#include "platform/linux/ReportDescriptor.h"

#include "ReportDescriptorSamples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace zorvane {

static void PrintTo(const TopLevelCollection& collection, std::ostream* out)
{
    *out << std::hex << "{page 0x" << collection.usagePage << ", usage 0x" << collection.usage << "}";
}

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint16_t kGenericDesktop = 0x01;
constexpr std::uint16_t kDigitizers = 0x0D;
constexpr std::uint16_t kVendorPage = 0xFF00;

TEST(ReportDescriptorTest, TouchFrameHasMouseTouchScreenAndVendorCollections)
{
    EXPECT_THAT(ParseTopLevelCollections(samples::kTouchFrameDescriptor),
                ElementsAre(TopLevelCollection{kGenericDesktop, 0x02}, TopLevelCollection{kDigitizers, 0x04},
                            TopLevelCollection{kVendorPage, 0x01}));
}

TEST(ReportDescriptorTest, BootKeyboardHasOneCollection)
{
    EXPECT_THAT(ParseTopLevelCollections(samples::kBootKeyboardDescriptor),
                ElementsAre(TopLevelCollection{kGenericDesktop, 0x06}));
}

// However the device's bytes end, what was found before the cut stays and nothing is read past it.
TEST(ReportDescriptorTest, EveryTruncationYieldsAPrefixOfTheWholeResult)
{
    const auto& bytes = samples::kTouchFrameDescriptor;
    const auto whole = ParseTopLevelCollections(bytes);
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        // A copy of exactly `length` bytes, so that a read past the end is caught by the sanitizers.
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        const auto found = ParseTopLevelCollections(cut);
        ASSERT_LE(found.size(), whole.size()) << "length " << length;
        EXPECT_TRUE(std::equal(found.begin(), found.end(), whole.begin())) << "length " << length;
    }
}

struct DescriptorCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::vector<TopLevelCollection> expected;

    friend void PrintTo(const DescriptorCase& testCase, std::ostream* out) { *out << testCase.name; }
};

class ReportDescriptorCaseTest : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(ReportDescriptorCaseTest, FindsTheTopLevelApplicationCollections)
{
    EXPECT_EQ(ParseTopLevelCollections(GetParam().bytes), GetParam().expected);
}

const DescriptorCase kDescriptorCases[] = {
    {"Empty", {}, {}},
    {"TwoByteItemCutAfterOneByte", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0x06, 0x00}, {{0x01, 0x02}}},
    {"CollectionItemWithoutItsData", {0x05, 0x01, 0x09, 0x02, 0xA1}, {}},
    {"FourByteItemCutShort", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0x0B, 0x04, 0x00}, {{0x01, 0x02}}},
    {"LongItemIsSkipped", {0xFE, 0x02, 0x10, 0xA1, 0x01, 0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xC0}, {{0x01, 0x06}}},
    {"LongItemDataPastTheEnd", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0xFE, 0x10, 0x00, 0x01}, {{0x01, 0x02}}},
    {"LongItemHeaderCut", {0xFE, 0x05}, {}},
    {"StrayEndCollectionsAreIgnored", {0xC0, 0xC0, 0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0}, {{0x01, 0x02}}},
    {"UnclosedCollectionNestsTheNext", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x06, 0xA1, 0x01}, {{0x01, 0x02}}},
    {"NestedApplicationIsNotTopLevel",
     {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x01, 0xC0, 0xC0, 0x09, 0x06, 0xA1, 0x01, 0xC0},
     {{0x01, 0x02}, {0x01, 0x06}}},
    {"PhysicalCollectionIsNotAnApplication", {0x05, 0x01, 0x09, 0x01, 0xA1, 0x00, 0xC0}, {}},
    {"CollectionWithoutUsage", {0x05, 0x0D, 0xA1, 0x01, 0xC0}, {{0x0D, 0x00}}},
    {"UsageEndsAtTheNextMainItem", {0x05, 0x01, 0x09, 0x02, 0x81, 0x02, 0xA1, 0x01, 0xC0}, {{0x01, 0x00}}},
    {"FirstOfSeveralUsagesNamesTheCollection", {0x05, 0x01, 0x09, 0x02, 0x09, 0x01, 0xA1, 0x01, 0xC0}, {{0x01, 0x02}}},
    {"ExtendedUsageCarriesItsPage", {0x05, 0x01, 0x0B, 0x04, 0x00, 0x0D, 0x00, 0xA1, 0x01, 0xC0}, {{0x0D, 0x04}}},
    {"UsagePageInForceAtTheMainItemApplies", {0x09, 0x02, 0x05, 0x01, 0xA1, 0x01, 0xC0}, {{0x01, 0x02}}},
    {"PopRestoresThePushedUsagePage",
     {0x05, 0x0D, 0xA4, 0x05, 0x01, 0xB4, 0x09, 0x04, 0xA1, 0x01, 0xC0},
     {{0x0D, 0x04}}},
    {"PopWithoutPushIsIgnored", {0xB4, 0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0}, {{0x01, 0x02}}},
    {"ReservedItemTypeIsSkipped", {0x0D, 0xA1, 0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0}, {{0x01, 0x02}}},
    {"FourByteUsagePageKeepsItsLowHalf",
     {0x07, 0x00, 0xFF, 0x01, 0x00, 0x09, 0x01, 0xA1, 0x01, 0xC0},
     {{0xFF00, 0x01}}},
};

INSTANTIATE_TEST_SUITE_P(Items, ReportDescriptorCaseTest, ::testing::ValuesIn(kDescriptorCases),
                         [](const auto& testCase) { return testCase.param.name; });

}  // namespace
}  // namespace zorvane
