#include "app/CZorvaneTestDlg.h"

#include "app/CAboutDlg.h"
#include "pages/CAdvancecdDlg.h"
#include "pages/CColumnNormalDlg.h"
#include "pages/CDrawDlg.h"
#include "pages/CPenTestDlg.h"
#include "pages/ColumnSelectDlg.h"
#include "pages/CUpdateFirmDlg.h"
#include "signal/AcquisitionFailureHook.h"
#include "widgets/Artwork.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/Palette.h"
#include "widgets/ProgramIcon.h"

#include <QColor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRect>
#include <QWindow>

namespace zorvane {
namespace {

const QColor& kTitleBlue = palette::kBlue;
constexpr int kLogo = 586;
constexpr int kLightConnected = 542;
constexpr int kLightNotConnected = 543;
const QRect kLightRect(975, 100, 20, 20);

// Client rectangles of the page slots, in Slot order.
constexpr std::array<QRect, CZorvaneTestDlg::kSlotCount> kSlotRects{{
    {2, 127, 1002, 584},  // home page
    {2, 127, 1002, 584},  // pen test page
    {2, 127, 1002, 584},  // advanced page
    {150, 127, 854, 584}, // chart view
    {2, 127, 148, 584},   // selection panel
}};

template <typename Hook, typename... Args>
void Call(const Hook& hook, Args... args)
{
    if (hook)
        hook(args...);
}

}  // namespace

struct CZorvaneTestDlg::ButtonPlace {
    CMybutton CZorvaneTestDlg::*button;
    int id;
    QRect rect;
    int bitmap;
};

// A navigation button and the page index it shows, in the order ShowPage visits them.
struct CZorvaneTestDlg::Navigation {
    int page;
    CMybutton CZorvaneTestDlg::*button;
};

CZorvaneTestDlg::CZorvaneTestDlg(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint)
    , homePage_(this)
    , minimiseButton_(this)
    , closeButton_(this)
    , aboutButton_(this)
    , homeButton_(this)
    , columnsButton_(this)
    , penTestButton_(this)
    , advancedButton_(this)
{
    setObjectName(QStringLiteral("CZorvaneTestDlg"));
    setWindowTitle(QStringLiteral("Zorvane"));
    setWindowIcon(ProgramIconSet());
    homePage_.hide();
}

CZorvaneTestDlg::~CZorvaneTestDlg() { SetAcquisitionFailureHook(nullptr); }

void CZorvaneTestDlg::OnInitDialog()
{
    setFixedSize(kWidth, kHeight);
    homePage_.SetConnectionCallback([this](int connected) { OnConnectionState(connected); });
    for (int slot = 0; slot < kSlotCount; ++slot) {
        pages_[slot] = CreatePage(static_cast<Slot>(slot));
        pages_[slot]->setGeometry(kSlotRects[slot]);
    }
    homePage_.show();
    PlaceButtons();
    ShowPage(kHomePage);
    RegisterHotKeys();
}

// The pages are created in this order and set their hooks. Every page is owned by the window.
QWidget* CZorvaneTestDlg::CreatePage(Slot slot)
{
    switch (slot) {
    case Slot::Home:
        homePage_.OnInitDialog();  // the first detection, before any other page talks to the frame
        return &homePage_;
    case Slot::Advanced:
        return CreateAdvancedPage();
    case Slot::ChartView:
        return CreateChartView();
    case Slot::SelectionPanel:
        return CreateSelectionPanel();
    case Slot::PenTest:
        return CreatePenTestPage();
    }
    return nullptr;
}

// Its pen tray callback stays registered for the rest of the run.
QWidget* CZorvaneTestDlg::CreatePenTestPage()
{
    auto* penTest = new CPenTestDlg(this);
    penTest->hide();
    penTest->OnInitDialog();
    return penTest;
}

// Its calibration sub-page reads the frame's calibration kind and data while it is created.
QWidget* CZorvaneTestDlg::CreateAdvancedPage()
{
    auto* advanced = new CAdvancecdDlg(this, targetPointer_);
    advanced->hide();
    advanced->OnInitDialog();
    if (simulationButtonShown_)
        advanced->button(CAdvancecdDlg::kNoSubPage).show();
    hooks_.showAdvancedSubPage = [advanced](int index) { advanced->ShowSubPage(index); };
    CUpdateFirmDlg* firmware = &advanced->firmwarePage();
    hooks_.startFirmwareUpdate = [firmware] { firmware->StartUpdate(); };
    hooks_.browseFirmware = [firmware] { firmware->BrowseImage(); };
    // AutoJump asks for what Alt+Q does.
    firmware->SetHomeRequest([this] { OnHotKey(kHotKeyHome); });
    return advanced;
}

QWidget* CZorvaneTestDlg::CreateChartView()
{
    chartView_ = new CColumnNormalDlg(this);
    chartView_->hide();
    chartView_->OnInitDialog();
    hooks_.stopChartWorker = [view = chartView_] { view->EndWorker(); };
    return chartView_;
}

// Beside the chart view it steers; its stop routine also ends acquisition after a failed read. Its
// draw button opens the drawing test over this window.
QWidget* CZorvaneTestDlg::CreateSelectionPanel()
{
    auto* panel = new ColumnSelectDlg(this);
    panel->hide();
    panel->SetChart(&chartView_->chart());
    panel->SetDrawingTest([this] { RunDrawingTest(this, drawingPointer_); });
    panel->OnInitDialog();
    SetAcquisitionFailureHook(panel->FailureHook());
    hooks_.stopAcquisition = [panel] { panel->OnStop(); };
    hooks_.startAcquisition = [panel] { panel->OnStart(); };
    hooks_.requestChartInitialise = [panel] { panel->RequestInitialise(); };
    hooks_.runDrawingTest = [panel] { panel->OnDraw(); };
    return panel;
}

void CZorvaneTestDlg::PlaceButtons()
{
    constexpr int kRight = kWidth;
    static const ButtonPlace kPlaces[] = {
        {&CZorvaneTestDlg::aboutButton_, kAboutButton, {kRight - 102, 0, 30, 27}, 524},
        {&CZorvaneTestDlg::minimiseButton_, kMinimiseButton, {kRight - 72, 0, 30, 27}, 505},
        {&CZorvaneTestDlg::closeButton_, kCloseButton, {kRight - 42, 0, 42, 27}, 506},
        {&CZorvaneTestDlg::homeButton_, kHomeButton, {0, 83, 121, 44}, 561},
        {&CZorvaneTestDlg::columnsButton_, kColumnsButton, {121, 83, 121, 44}, 553},
        {&CZorvaneTestDlg::penTestButton_, kPenTestButton, {242, 83, 121, 44}, 573},
        {&CZorvaneTestDlg::advancedButton_, kAdvancedButton, {363, 83, 121, 44}, 547},
    };
    for (const ButtonPlace& place : kPlaces) {
        PlaceButton(this->*place.button, place.id, place.rect, place.bitmap);
    }
    connect(&homeButton_, &QAbstractButton::clicked, this, [this] { ShowPage(kHomePage); });
    connect(&columnsButton_, &QAbstractButton::clicked, this, [this] { ShowPage(kColumnCharts); });
    connect(&penTestButton_, &QAbstractButton::clicked, this, [this] { ShowPage(kPenTestPage); });
    connect(&advancedButton_, &QAbstractButton::clicked, this, [this] { ShowPage(kAdvancedPage); });
    connect(&aboutButton_, &QAbstractButton::clicked, this, [this] { RunAboutBox(); });
    connect(&minimiseButton_, &QAbstractButton::clicked, this, [this] { Minimise(); });
    connect(&closeButton_, &QAbstractButton::clicked, this, [this] { CloseSequence(); });
}

void CZorvaneTestDlg::RegisterHotKeys()
{
    hotKeys_ = std::make_unique<GlobalHotKeys>(this, [this](int id) { OnHotKey(id); });
    // Alt+F4 is taken so that it cannot close the window; nothing handles it.
    hotKeys_->Register(kHotKeyAltF4, Qt::Key_F4);
    hotKeys_->Register(kHotKeyDrawingTest, Qt::Key_A);
    hotKeys_->Register(kHotKeyInitialiseChart, Qt::Key_S);
    hotKeys_->Register(kHotKeyStartAcquisition, Qt::Key_D);
    hotKeys_->Register(kHotKeyStopAcquisition, Qt::Key_F);
    hotKeys_->Register(kHotKeyBrowseFirmware, Qt::Key_Z);
    hotKeys_->Register(kHotKeyStartFirmware, Qt::Key_X);
    hotKeys_->Register(kHotKeyHome, Qt::Key_Q);
    hotKeys_->Register(kHotKeyPenTest, Qt::Key_E);
}

CMybutton* CZorvaneTestDlg::button(int id)
{
    for (CMybutton* candidate : {&minimiseButton_, &closeButton_, &aboutButton_, &homeButton_, &columnsButton_,
                                 &penTestButton_, &advancedButton_}) {
        if (candidate->objectName() == QStringLiteral("id%1").arg(id))
            return candidate;
    }
    return nullptr;
}

void CZorvaneTestDlg::ShowPage(int index)
{
    static const Navigation kNavigation[] = {
        {kHomePage, &CZorvaneTestDlg::homeButton_},
        {kColumnCharts, &CZorvaneTestDlg::columnsButton_},
        {kPenTestPage, &CZorvaneTestDlg::penTestButton_},
        {kAdvancedPage, &CZorvaneTestDlg::advancedButton_},
    };
    if (index == 2)
        return;
    for (const Navigation& entry : kNavigation) {
        const bool chosen = entry.page == index;
        SetPageShown(entry.page, chosen);
        CMybutton& navigationButton = this->*entry.button;
        if (chosen)
            navigationButton.Pin(false);
        else
            navigationButton.Unpin(false);
    }
}

void CZorvaneTestDlg::SetPageShown(int index, bool shown)
{
    switch (index) {
    case kHomePage:
        page(Slot::Home).setVisible(shown);
        if (shown)
            homePage_.Redetect();
        return;
    case kColumnCharts:
        page(Slot::ChartView).setVisible(shown);
        page(Slot::SelectionPanel).setVisible(shown);
        Call(hooks_.stopAcquisition);
        return;
    case kPenTestPage:
        page(Slot::PenTest).setVisible(shown);
        return;
    case kAdvancedPage:
        page(Slot::Advanced).setVisible(shown);
        return;
    }
}

void CZorvaneTestDlg::OnConnectionState(int connected)
{
    deviceConnected_ = connected;
    update(kLightRect);
}

void CZorvaneTestDlg::ShowColumnCharts()
{
    if (page(Slot::SelectionPanel).isHidden())
        ShowPage(kColumnCharts);
}

// Only a hidden advanced page is brought forward; one that shows another sub-page keeps it in front.
void CZorvaneTestDlg::ShowFirmwareSubPage()
{
    if (!page(Slot::Advanced).isHidden())
        return;
    ShowPage(kAdvancedPage);
    Call(hooks_.showAdvancedSubPage, 0);
}

void CZorvaneTestDlg::OnHotKey(int id)
{
    switch (id) {
    case kHotKeyStartAcquisition:
        ShowColumnCharts();
        Call(hooks_.startAcquisition);
        return;
    case kHotKeyInitialiseChart:
        ShowColumnCharts();
        Call(hooks_.requestChartInitialise);
        return;
    case kHotKeyDrawingTest:
        ShowColumnCharts();
        Call(hooks_.runDrawingTest);
        return;
    case kHotKeyStopAcquisition:
        ShowColumnCharts();
        Call(hooks_.stopAcquisition);
        return;
    case kHotKeyStartFirmware:
        ShowFirmwareSubPage();
        Call(hooks_.startFirmwareUpdate);
        return;
    case kHotKeyBrowseFirmware:
        ShowFirmwareSubPage();
        Call(hooks_.browseFirmware);
        return;
    case kHotKeyPenTest:
        ShowPage(kPenTestPage);
        return;
    case kHotKeyHome:
        ShowPage(kHomePage);
        return;
    default:
        return;  // Alt+F4 and unknown ids
    }
}

void CZorvaneTestDlg::OnDeviceChange(const DeviceNotice& notice) { homePage_.OnDeviceChange(notice); }

void CZorvaneTestDlg::RunAboutBox()
{
    CAboutDlg about(this);
    about.exec();
}

void CZorvaneTestDlg::Minimise() { showMinimized(); }

void CZorvaneTestDlg::CloseSequence() { done(Accepted); }

void CZorvaneTestDlg::done(int result)
{
    // The chart worker must have left its loop before the window and its pages go.
    if (!chartWorkerStopped_) {
        chartWorkerStopped_ = true;
        Call(hooks_.stopChartWorker);
    }
    QDialog::done(result);
}

bool CZorvaneTestDlg::event(QEvent* event)
{
    if (event->type() == kMessage3011) {
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

void CZorvaneTestDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kTitleBlue);
    painter.drawImage(5, 5, Artwork::Bitmap(kLogo));
    painter.drawImage(kLightRect.topLeft(), Artwork::Bitmap(deviceConnected_ ? kLightConnected : kLightNotConnected));
}

// Presses that reach the window itself, outside every page and button, drag it.
void CZorvaneTestDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()) && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CZorvaneTestDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::HelpContents)) {
        RunAboutBox();
        return;
    }
    // Escape must not end the window, nor Alt+F4 close it.
    const bool altF4 = event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier;
    if (event->key() == Qt::Key_Escape || altF4)
        return;
    QDialog::keyPressEvent(event);
}

}  // namespace zorvane
