// The calibration page's operations on the simulated frame, without a window: which operations the
// frame's calibration kind allows, and what a failed kind query leaves.

#include "LinkFixtures.h"

#include "calibration/CalibrationFile.h"
#include "calibration/CalibrationPageModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace zorvane::testing {
namespace {

class CalibrationPageModelTest : public SimulatedLink {
protected:
    void SetKind(std::uint8_t kind)
    {
        FrameState state = State();
        state.calibration.kind = static_cast<CalibrationKind>(kind);
        backend->frame().SetState(state);
    }

    std::size_t RequestCount() const { return backend->ReceivedRequests().size(); }

    std::filesystem::path GoodFile() const
    {
        const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "model-good.cdat";
        TwoPointCalibration record{96, 96, 1920, 1080};
        record.deviceId = {u'1', u'-', u'2'};
        EXPECT_EQ(WriteCalibrationFile(path, record), CalibrationFileResult::Success);
        return path;
    }

    CalibrationPageModel model{GetDeviceProtocol()};
};

TEST_F(CalibrationPageModelTest, TheFramesKindDecidesWhatThePageMayDo)
{
    struct Case {
        const char* name;
        std::uint8_t frameKind;
        bool selected;
        const char* deviceData;  // the device section after the query
        bool proposesExport;
        bool mayBrowse;
        bool imports;
    };
    const Case cases[] = {
        {"two-point", 1, true, "96-96-6EA-3A2", true, true, true},
        {"nine-point", 2, true, "3C-21-744-417", false, false, false},
        {"no kind", 0, false, "", false, true, false},
        {"unknown kind", 7, false, "", false, true, false},
    };
    for (const Case& c : cases) {
        SetKind(c.frameKind);
        CalibrationPageModel fresh(GetDeviceProtocol());
        fresh.QueryKind();
        EXPECT_EQ(fresh.kind(), c.frameKind) << c.name;
        EXPECT_EQ(fresh.selectedKind().has_value(), c.selected) << c.name;
        EXPECT_EQ(fresh.deviceSection().data, c.deviceData) << c.name;
        EXPECT_EQ(fresh.message(), CalibrationMessage::None) << c.name;
        EXPECT_EQ(fresh.BeginExport().has_value(), c.proposesExport) << c.name;
        EXPECT_EQ(fresh.MayBrowse(), c.mayBrowse) << c.name;

        fresh.LoadFile(GoodFile());
        const std::size_t before = RequestCount();
        fresh.Import();
        EXPECT_EQ(RequestCount() > before, c.imports) << c.name;
    }
}

TEST_F(CalibrationPageModelTest, ANinePointFetchKeepsTheTwoPointRecordAndTheExportProposesItsName)
{
    model.QueryKind();
    const TwoPointCalibration fetched = model.deviceRecord();
    EXPECT_EQ(model.BeginExport(), std::optional<std::u16string>(u"Zorvane_192-108.cdat"));

    model.SelectKind(CalibrationKind::NinePoint);
    EXPECT_EQ(model.kind(), 2);
    EXPECT_EQ(model.deviceRecord(), fetched);
    EXPECT_EQ(model.deviceSection().data, "3C-21-744-417");
}

TEST_F(CalibrationPageModelTest, AnUnansweredKindQueryLeavesNoKindAndAsksForTheFrame)
{
    model.QueryKind();
    ASSERT_EQ(model.kind(), 1);
    backend->FailAll(Fault::NoReply());
    model.QueryKind();
    EXPECT_EQ(model.kind(), 0);
    EXPECT_EQ(model.message(), CalibrationMessage::ConnectDevice);
    EXPECT_EQ(model.deviceSection(), CalibrationSectionText{});
    EXPECT_EQ(model.deviceRecord().left, 150) << "the fetched record stays";
}

}  // namespace
}  // namespace zorvane::testing
