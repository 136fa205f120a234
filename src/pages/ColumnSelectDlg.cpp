#include "pages/ColumnSelectDlg.h"

#include "signal/ScanChart.h"
#include "signal/StartAcquisition.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/CellText.h"
#include "widgets/Fonts.h"
#include "widgets/PageKeyFilter.h"
#include "widgets/Palette.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QSignalBlocker>
#include <QString>
#include <QThread>

#include <atomic>
#include <mutex>

namespace zorvane {
namespace {

constexpr int kDrawStrip = 556;
constexpr int kInitialiseStrip = 563;
constexpr int kStartStrip = 568;
constexpr int kStopStrip = 569;
constexpr int kButtonX = 10;
constexpr int kButtonWidth = 128;
constexpr int kButtonHeight = 34;

// The radios and boxes fill the two areas the painting frames: below their title, above their line.
constexpr int kControlX = 10;
constexpr int kControlWidth = 128;
constexpr int kControlHeight = 24;
constexpr int kFirstRadioY = 40;
constexpr int kRadioPitch = 30;
constexpr int kFirstBoxY = 170;
constexpr int kBoxPitch = 28;

struct DirectionRadio {
    int id;
    const char* caption;
    bool shown;
};

// In ScanDirection order.
constexpr std::array<DirectionRadio, 3> kDirectionRadios{{
    {ColumnSelectDlg::kForwardRadio, "Forward", false},
    {ColumnSelectDlg::kMiddleRadio, "Middle", true},
    {ColumnSelectDlg::kBehindRadio, "Behind", false},
}};

struct SwitchBox {
    int id;
    const char* caption;
    bool shown;
    bool initial;
    bool ScanSelection::*applied;  // none for the LED, which is a request rather than a selection
};

// In their order on the panel.
constexpr std::array<SwitchBox, 5> kSwitchBoxes{{
    {ColumnSelectDlg::kValueBox, "Value", true, true, &ScanSelection::value},
    {ColumnSelectDlg::kPowerBox, "Power", true, true, &ScanSelection::power},
    {ColumnSelectDlg::kStandardBox, "Standard", false, false, &ScanSelection::standard},
    {ColumnSelectDlg::kFluctuationBox, "Fluctuation", true, false, &ScanSelection::fluctuation},
    {ColumnSelectDlg::kLedBox, "LED_ON", false, true, nullptr},
}};

QString IdName(int id) { return QStringLiteral("id%1").arg(id); }

void Fill(QWidget& control, const QColor& colour)
{
    QPalette colours = control.palette();
    colours.setColor(QPalette::Window, colour);
    control.setPalette(colours);
}

}  // namespace

// What the stop routine needs, shared with the failure hook so that it may outlive the panel.
struct ColumnSelectDlg::Shared {
    explicit Shared(ColumnSelectDlg* owner) : interfaceThread(QThread::currentThread()), panel(owner) {}

    // The stop routine, on any thread.
    void Stop()
    {
        if (!running.exchange(false))
            return;
        if (ScanChart* const target = chart.load())
            target->requests().Stop();
        // On the interface thread a click shows its effect at once; only that thread writes `panel`.
        if (QThread::currentThread() == interfaceThread) {
            if (panel)
                panel->ShowRunning();
            return;
        }
        // Posting does not wait for the interface thread; the lock only keeps the panel from going
        // meanwhile, and a call still queued when it goes is dropped with it.
        std::lock_guard guard(panelLock);
        if (panel)
            QMetaObject::invokeMethod(panel, [target = panel] { target->ShowRunning(); }, Qt::QueuedConnection);
    }

    std::atomic<bool> running{false};
    std::atomic<ScanChart*> chart{nullptr};
    QThread* const interfaceThread;
    std::mutex panelLock;
    ColumnSelectDlg* panel;  // guarded by panelLock; cleared by the panel's destructor
};

ColumnSelectDlg::ColumnSelectDlg(QWidget* parent)
    : QWidget(parent)
    , shared_(std::make_shared<Shared>(this))
    , textFont_(MakeFont(FontFace::Kai, 16, 9, 400))
{
    setObjectName(QStringLiteral("ColumnSelectDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole panel
    SwallowPageEndingKeys(*this);
    resize(kPictureWidth, kPictureHeight);
    for (int index = 0; index < kSwitchCount; ++index)
        panelSwitches_[index] = kSwitchBoxes[index].initial;
    PlaceControls();
    ShowPanelState();

    connect(&directions_, &QButtonGroup::idClicked, this, [this](int id) { OnDirectionClicked(id); });
    for (int index = 0; index < kSwitchCount; ++index)
        connect(&boxes_[index], &QAbstractButton::clicked, this, [this, index] { OnSwitchClicked(index); });
    connect(&drawButton_, &QAbstractButton::clicked, this, [this] { OnDraw(); });
    connect(&initialiseButton_, &QAbstractButton::clicked, this, [this] { RequestInitialise(); });
    connect(&startButton_, &QAbstractButton::clicked, this, [this] { OnStart(); });
    connect(&stopButton_, &QAbstractButton::clicked, this, [this] { OnStop(); });
}

ColumnSelectDlg::~ColumnSelectDlg()
{
    // A failure hook still installed then finds nothing to stop and no panel to post to.
    shared_->running = false;
    shared_->chart = nullptr;
    std::lock_guard guard(shared_->panelLock);
    shared_->panel = nullptr;
}

void ColumnSelectDlg::PlaceControls()
{
    const auto place = [this](QAbstractButton& control, int id, const char* caption, int y) {
        control.setParent(this);
        control.setObjectName(IdName(id));
        control.setText(QString::fromLatin1(caption));
        control.setGeometry(kControlX, y, kControlWidth, kControlHeight);
        control.setBackgroundRole(QPalette::Window);
        control.setAutoFillBackground(true);
    };
    for (int index = 0; index < kDirectionCount; ++index) {
        const DirectionRadio& radio = kDirectionRadios[index];
        place(radios_[index], radio.id, radio.caption, kFirstRadioY + index * kRadioPitch);
        directions_.addButton(&radios_[index], radio.id);
    }
    for (int index = 0; index < kSwitchCount; ++index) {
        const SwitchBox& box = kSwitchBoxes[index];
        place(boxes_[index], box.id, box.caption, kFirstBoxY + index * kBoxPitch);
    }
}

void ColumnSelectDlg::SetChart(ScanChart* chart) { shared_->chart = chart; }

void ColumnSelectDlg::OnInitDialog()
{
    PlaceButtons();
    // Hidden, but they keep their place and work when shown.
    for (int index = 0; index < kDirectionCount; ++index) {
        if (!kDirectionRadios[index].shown)
            radios_[index].hide();
    }
    for (int index = 0; index < kSwitchCount; ++index) {
        if (!kSwitchBoxes[index].shown)
            boxes_[index].hide();
    }
    ShowRunning();
}

void ColumnSelectDlg::PlaceButtons()
{
    struct ButtonPlace {
        CMybutton ColumnSelectDlg::*button;
        int id;
        int y;
        int strip;
    };
    static constexpr ButtonPlace kPlaces[] = {
        {&ColumnSelectDlg::drawButton_, kDrawButton, 392, kDrawStrip},
        {&ColumnSelectDlg::initialiseButton_, kInitialiseButton, 441, kInitialiseStrip},
        {&ColumnSelectDlg::startButton_, kStartButton, 490, kStartStrip},
        {&ColumnSelectDlg::stopButton_, kStopButton, 539, kStopStrip},
    };
    for (const ButtonPlace& place : kPlaces) {
        CMybutton& button = this->*place.button;
        button.setParent(this);
        PlaceButton(button, place.id, {kButtonX, place.y, kButtonWidth, kButtonHeight}, place.strip);
    }
}

void ColumnSelectDlg::OnDirectionClicked(int)
{
    ReadControls();
    applied_.direction = panelDirection_;
    HandOver();
    ShowPanelState();  // the radios change colour with the direction
}

void ColumnSelectDlg::OnSwitchClicked(int index)
{
    ReadControls();
    const SwitchBox& box = kSwitchBoxes[index];
    if (box.applied) {
        applied_.*box.applied = panelSwitches_[index];
        HandOver();
    } else if (ScanChart* const chart = shared_->chart.load()) {
        chart->requests().RequestLed(panelSwitches_[index]);
    }
    ShowControlColours();
}

void ColumnSelectDlg::OnStart()
{
    ReadControls();
    for (int index = 0; index < kSwitchCount; ++index) {
        if (const auto applied = kSwitchBoxes[index].applied)
            applied_.*applied = panelSwitches_[index];
    }
    HandOver();
    ScanChart* const chart = shared_->chart.load();
    if (!chart)
        return;
    // Running before the chart can fail, so that a failure in its first cycles finds it running and
    // stops it. A failed query starts nothing: a panel that was running still is.
    const bool wasRunning = shared_->running.exchange(true);
    if (StartAcquisition(*chart) != link_status::kOk && !wasRunning)
        shared_->running = false;
    ShowRunning();
}

void ColumnSelectDlg::OnStop() { shared_->Stop(); }

void ColumnSelectDlg::OnDraw()
{
    OnStop();
    if (drawingTest_)
        drawingTest_();
}

void ColumnSelectDlg::RequestInitialise()
{
    if (ScanChart* const chart = shared_->chart.load())
        chart->requests().RequestInitialise();
}

AcquisitionFailureHook ColumnSelectDlg::FailureHook() const
{
    return [shared = shared_](ScanChart&) { shared->Stop(); };
}

bool ColumnSelectDlg::running() const { return shared_->running.load(); }

void ColumnSelectDlg::ReadControls()
{
    if (const int checked = directions_.checkedId(); checked >= kForwardRadio)
        panelDirection_ = static_cast<ScanDirection>(checked - kForwardRadio);
    for (int index = 0; index < kSwitchCount; ++index)
        panelSwitches_[index] = boxes_[index].isChecked();
}

// Showing the state is not a click: no handler runs.
void ColumnSelectDlg::ShowPanelState()
{
    {
        QRadioButton& radio = radios_[static_cast<int>(panelDirection_)];
        const QSignalBlocker blocker(radio);
        radio.setChecked(true);
    }
    for (int index = 0; index < kSwitchCount; ++index) {
        const QSignalBlocker blocker(boxes_[index]);
        boxes_[index].setChecked(panelSwitches_[index]);
    }
    ShowControlColours();
}

void ColumnSelectDlg::ShowControlColours()
{
    for (int index = 0; index < kDirectionCount; ++index)
        Fill(radios_[index], index == static_cast<int>(panelDirection_) ? palette::kGreen : palette::kOrange);
    for (int index = 0; index < kSwitchCount; ++index)
        Fill(boxes_[index], panelSwitches_[index] ? palette::kGreen : palette::kOrange);
}

void ColumnSelectDlg::HandOver() { SetScanSelection(applied_); }

void ColumnSelectDlg::ShowRunning() { startButton_.setEnabled(!running()); }

QImage ColumnSelectDlg::RenderPicture() const
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(palette::kPageBackground);
    QPainter painter(&picture);
    // Each line ends one pixel before its end point.
    painter.setPen(QPen(palette::kLine, 1));
    painter.drawLine(147, 0, 147, kPictureHeight - 1);
    painter.drawLine(5, 135, 141, 135);
    painter.drawLine(5, 319, 141, 319);
    painter.setFont(textFont_);
    DrawCellText(painter, 10, 15, QStringLiteral("扫描方向"));
    DrawCellText(painter, 10, 145, QStringLiteral("扫描值"));
    return picture;
}

void ColumnSelectDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

}  // namespace zorvane
