#pragma once

#include "widgets/CMybutton.h"
#include "app/GlobalHotKeys.h"
#include "app/PageHooks.h"
#include "link/DeviceNotices.h"
#include "pages/CHomeDlg.h"
#include "pages/DrawingPointer.h"
#include "pages/TargetPointer.h"

#include <QDialog>
#include <QEvent>

#include <array>
#include <memory>

namespace zorvane {

class CColumnNormalDlg;

// The one top-level window: a captionless 1006 x 713 window that paints its own title area, carries the
// title and navigation buttons, hosts the pages in fixed slots and switches between them, shows the
// connection light, answers the global hot keys and hands device notices to the home page.
class CZorvaneTestDlg : public QDialog {
public:
    static constexpr int kWidth = 1006;
    static constexpr int kHeight = 713;

    // The pages, in the order they are created. Each slot holds its page at a fixed rectangle.
    enum class Slot { Home, PenTest, Advanced, ChartView, SelectionPanel };
    static constexpr int kSlotCount = 5;

    // Indices of ShowPage; 2 is not assigned.
    static constexpr int kHomePage = 0;
    static constexpr int kColumnCharts = 1;
    static constexpr int kPenTestPage = 3;
    static constexpr int kAdvancedPage = 4;

    // Button ids.
    static constexpr int kMinimiseButton = 1009;
    static constexpr int kCloseButton = 1018;
    static constexpr int kHomeButton = 1019;
    static constexpr int kColumnsButton = 1021;
    static constexpr int kAdvancedButton = 1024;
    static constexpr int kAboutButton = 1025;
    static constexpr int kPenTestButton = 1027;

    // Hot key ids (each with Alt).
    static constexpr int kHotKeyAltF4 = 83;
    static constexpr int kHotKeyStartAcquisition = 1025;  // Alt+D
    static constexpr int kHotKeyInitialiseChart = 1026;   // Alt+S
    static constexpr int kHotKeyDrawingTest = 1027;       // Alt+A
    static constexpr int kHotKeyStopAcquisition = 1028;   // Alt+F
    static constexpr int kHotKeyStartFirmware = 1045;     // Alt+X
    static constexpr int kHotKeyBrowseFirmware = 1046;    // Alt+Z
    static constexpr int kHotKeyPenTest = 1055;           // Alt+E
    static constexpr int kHotKeyHome = 1056;              // Alt+Q

    // A private message another part of the program may post to the main window: accepted and ignored.
    static constexpr QEvent::Type kMessage3011 = static_cast<QEvent::Type>(QEvent::User + 3011);

    explicit CZorvaneTestDlg(QWidget* parent = nullptr);
    ~CZorvaneTestDlg() override;

    // Where the target screens of the calibration page take their pointer from; set before OnInitDialog.
    void SetTargetPointer(TargetPointerFactory factory) { targetPointer_ = std::move(factory); }
    // Whether the mouse draws on the drawing test as well as touch input.
    void SetDrawingPointer(DrawingPointer pointer) { drawingPointer_ = pointer; }
    // Before OnInitDialog: the advanced page shows its hidden simulation button.
    void SetSimulationButtonShown(bool shown) { simulationButtonShown_ = shown; }
    // Creates the pages (the home page detects the frame), places the buttons, shows the home page (a
    // second detection) and registers the hot keys.
    void OnInitDialog();

    void ShowPage(int index);
    // The home page's connection callback: drives the connection light.
    void OnConnectionState(int connected);
    void OnHotKey(int id);
    void OnDeviceChange(const DeviceNotice& notice);
    // The About box, run modally: the about button, F1 and every help request.
    void RunAboutBox();
    void Minimise();
    // The close button: ends the window through the close sequence (see done()).
    void CloseSequence();

    PageHooks& hooks() { return hooks_; }
    CHomeDlg& homePage() { return homePage_; }
    QWidget& page(Slot slot) const { return *pages_[static_cast<int>(slot)]; }
    CMybutton* button(int id);
    int deviceConnected() const { return deviceConnected_; }

    // Every way the window ends (close button, cancel, the system's close request) passes here: the
    // chart worker is stopped first.
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct ButtonPlace;
    struct Navigation;

    QWidget* CreatePage(Slot slot);
    QWidget* CreatePenTestPage();
    QWidget* CreateAdvancedPage();
    QWidget* CreateChartView();
    QWidget* CreateSelectionPanel();
    void PlaceButtons();
    void RegisterHotKeys();
    void ShowColumnCharts();
    void ShowFirmwareSubPage();
    void SetPageShown(int index, bool shown);

    PageHooks hooks_;
    TargetPointerFactory targetPointer_;
    DrawingPointer drawingPointer_ = DrawingPointer::TouchOnly;
    bool simulationButtonShown_ = false;
    CHomeDlg homePage_;
    std::array<QWidget*, kSlotCount> pages_{};
    CColumnNormalDlg* chartView_ = nullptr;  // owned by the window, like every page
    int deviceConnected_ = 0;
    bool chartWorkerStopped_ = false;
    CMybutton minimiseButton_;
    CMybutton closeButton_;
    CMybutton aboutButton_;
    CMybutton homeButton_;
    CMybutton columnsButton_;
    CMybutton penTestButton_;
    CMybutton advancedButton_;
    std::unique_ptr<GlobalHotKeys> hotKeys_;
};

}  // namespace zorvane
