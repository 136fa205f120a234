#pragma once

// The main window on the simulated frame, initialised as at start-up, with every page hook recorded.
// Every test runs in a process of its own, so the channel and the protocol start fresh.

#include "LinkFixtures.h"
#include "TestApplication.h"
#include "app/CZorvaneTestDlg.h"
#include "pages/CAdvancecdDlg.h"
#include "pages/CUpdateFirmDlg.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zorvane::testing {

class OnMainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        SetLinkPlatformFactory([this] { return PlatformWithoutThrottle(backend); });
        window = NewWindow();
    }

    // A window initialised as at start-up, every hook recording into `calls` before it does its page's work.
    std::unique_ptr<CZorvaneTestDlg> NewWindow()
    {
        auto created = std::make_unique<CZorvaneTestDlg>();
        created->OnInitDialog();
        // Alt+Z browses: the firmware page's dialog must not wait for a technician.
        dynamic_cast<CAdvancecdDlg&>(created->page(CZorvaneTestDlg::Slot::Advanced))
            .firmwarePage()
            .SetOpenDialog([](QWidget*) { return QString(); });
        PageHooks& hooks = created->hooks();
        Record("stopAcquisition", hooks.stopAcquisition);
        Record("startAcquisition", hooks.startAcquisition);
        Record("requestChartInitialise", hooks.requestChartInitialise);
        Record("runDrawingTest", hooks.runDrawingTest);
        hooks.showAdvancedSubPage = [this, page = std::move(hooks.showAdvancedSubPage)](int index) {
            calls.push_back("showAdvancedSubPage " + std::to_string(index));
            if (page)
                page(index);
        };
        Record("startFirmwareUpdate", hooks.startFirmwareUpdate);
        Record("browseFirmware", hooks.browseFirmware);
        Record("stopChartWorker", hooks.stopChartWorker);
        calls.clear();
        return created;
    }

    // Device-information queries the frame has seen (each starts with the identity request).
    int IdentityQueries() const
    {
        const Report identity = commands::GetDeviceIdentity().request;
        const auto requests = backend->ReceivedRequests();
        return static_cast<int>(std::ranges::count_if(requests, [&](const Report& request) {
            return std::equal(request.begin(), request.begin() + 4, identity.begin());
        }));
    }

    // The page whose navigation button is pinned; -1 when none or several are.
    int PinnedPage() const
    {
        const std::pair<int, int> navigation[] = {{CZorvaneTestDlg::kHomeButton, CZorvaneTestDlg::kHomePage},
                                                  {CZorvaneTestDlg::kColumnsButton, CZorvaneTestDlg::kColumnCharts},
                                                  {CZorvaneTestDlg::kPenTestButton, CZorvaneTestDlg::kPenTestPage},
                                                  {CZorvaneTestDlg::kAdvancedButton, CZorvaneTestDlg::kAdvancedPage}};
        int pinned = -1;
        for (const auto& [id, page] : navigation) {
            if (window->button(id)->pinned())
                pinned = pinned == -1 ? page : -2;
        }
        return pinned < 0 ? -1 : pinned;
    }

    // The slots that show, as a list of slot numbers.
    std::vector<int> ShownSlots() const
    {
        std::vector<int> shown;
        for (int slot = 0; slot < CZorvaneTestDlg::kSlotCount; ++slot) {
            if (!window->page(static_cast<CZorvaneTestDlg::Slot>(slot)).isHidden())
                shown.push_back(slot);
        }
        return shown;
    }

    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
    std::unique_ptr<CZorvaneTestDlg> window;
    std::vector<std::string> calls;

private:
    void Record(std::string name, std::function<void()>& hook)
    {
        hook = [this, name = std::move(name), page = std::move(hook)] {
            calls.push_back(name);
            if (page)
                page();
        };
    }
};

}  // namespace zorvane::testing
