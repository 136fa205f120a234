#include "pages/CUpdateFirmDlg.h"

#include "protocol/DeviceProtocol.h"
#include "protocol/FirmwareUpdater.h"
#include "protocol/ImageRefusal.h"
#include "protocol/SendCommand.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/CellText.h"
#include "widgets/FilePath.h"
#include "widgets/Fonts.h"
#include "widgets/PageKeyFilter.h"
#include "widgets/Palette.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QUrl>

namespace zorvane {
namespace {

constexpr QRect kProgressRect(28, 250, 580, 25);
constexpr int kRowLines[] = {140, 175, 210, 245, 280, 315};

// The static texts, in the order of the page's text slots.
struct StaticText {
    int id;
    QRect rect;
};

constexpr StaticText kStaticTexts[] = {
    {CUpdateFirmDlg::kPathText, {150, 38, 480, 20}},
    {CUpdateFirmDlg::kDetectText, {28, 112, 580, 20}},
    {CUpdateFirmDlg::kVersionText, {28, 148, 580, 20}},
    {CUpdateFirmDlg::kMatchText, {28, 183, 580, 20}},
    {CUpdateFirmDlg::kTransferText, {28, 218, 580, 20}},
    {CUpdateFirmDlg::kResultText, {28, 288, 580, 20}},
};

// In the order of the page's button slots.
constexpr ButtonPlace kButtons[] = {
    {CUpdateFirmDlg::kBrowseButton, {670, 30, 128, 34}, 548},
    {CUpdateFirmDlg::kStartButton, {670, 120, 128, 34}, 568},
    {CUpdateFirmDlg::kStopButton, {670, 170, 128, 34}, 569},
    {CUpdateFirmDlg::kAutoJumpButton, {670, 220, 128, 34}, 597},
};

const QString kDetecting = QStringLiteral("检测设备");
const QString kAllDots = QStringLiteral("  . . .");

// The detection line's dots cycle through "  .", "  . .", "  . . ." and none, one step per failed probe.
QString NextProbeDots(int& probeDots)
{
    switch (++probeDots) {
    case 0:
        return {};
    case 1:
        return QStringLiteral("  .");
    case 2:
        return QStringLiteral("  . .");
    default:
        probeDots = -1;
        return kAllDots;
    }
}

// Only the image's own faults have a text; a failed transaction leaves the line empty.
QString PrepareFailureText(LinkStatus status)
{
    const std::string_view text = ImageRefusalText(status);
    if (text.empty())
        return {};
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())) + kAllDots;
}

}  // namespace

CUpdateFirmDlg::CUpdateFirmDlg(QWidget* parent)
    : QWidget(parent)
    , openDialog_(SystemOpenDialog())
    , textFont_(MakeFont(FontFace::Kai, 17, 9, 400))
    , titleFont_(MakeFont(FontFace::Kai, 20, 10, 700))
{
    setObjectName(QStringLiteral("CUpdateFirmDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole page
    setAcceptDrops(true);
    SwallowPageEndingKeys(*this);
    searchTimer_.setInterval(kSearchIntervalMs);
    progressTimer_.setInterval(kProgressIntervalMs);
    autoJumpTimer_.setInterval(kAutoJumpPauseMs);
    autoJumpTimer_.setSingleShot(true);
    connect(&searchTimer_, &QTimer::timeout, this, [this] { SearchTick(); });
    connect(&progressTimer_, &QTimer::timeout, this, [this] { ProgressTick(); });
    connect(&autoJumpTimer_, &QTimer::timeout, this, [this] {
        if (homeRequest_)
            homeRequest_();
    });
    PlaceTexts();
}

CUpdateFirmDlg::~CUpdateFirmDlg() = default;

void CUpdateFirmDlg::PlaceTexts()
{
    for (std::size_t index = 0; index < texts_.size(); ++index) {
        QLabel& text = texts_[index];
        text.setParent(this);
        text.setObjectName(QStringLiteral("id%1").arg(kStaticTexts[index].id));
        text.setGeometry(kStaticTexts[index].rect);
        text.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        text.setFont(textFont_);
    }
}

void CUpdateFirmDlg::OnInitDialog()
{
    PlaceButtons();
    SetText(kPathSlot, {});
    ResetStatus(ResultLine::Clear);
}

void CUpdateFirmDlg::PlaceButtons()
{
    zorvane::PlaceButtons(buttons_, kButtons, *this, [this](int id) {
        switch (id) {
        case kBrowseButton:
            return BrowseImage();
        case kStartButton:
            return StartUpdate();
        case kStopButton:
            return StopSearch();
        case kAutoJumpButton:
            return ToggleAutoJump();
        }
    });
}

void CUpdateFirmDlg::ResetStatus(ResultLine result)
{
    for (TextSlot slot : {kDetectSlot, kVersionSlot, kMatchSlot, kTransferSlot})
        SetText(slot, {});
    if (result == ResultLine::Clear)
        SetText(kResultSlot, {});
    shownProgress_ = 0.0f;
    detected_ = false;
    update(kProgressRect);
}

void CUpdateFirmDlg::SetText(TextSlot slot, const QString& text) { texts_[slot].setText(text); }

void CUpdateFirmDlg::BrowseImage()
{
    // The hot key can ask again while the dialog is open.
    if (browseOpen_)
        return;
    browseOpen_ = true;
    const QString path = openDialog_(this);
    if (!path.isEmpty())
        SetText(kPathSlot, path);
    browseOpen_ = false;
}

void CUpdateFirmDlg::DropFile(const QString& path)
{
    if (path.indexOf(QStringLiteral(".bin"), 2, Qt::CaseSensitive) >= 0)
        SetText(kPathSlot, path);
}

void CUpdateFirmDlg::StartUpdate() { Start(ResultLine::Clear); }

void CUpdateFirmDlg::Start(ResultLine result)
{
    if (!buttons_[kStartSlot].isEnabled())
        return;  // a transfer runs
    ResetStatus(result);
    searching_ = QFileInfo(texts_[kPathSlot].text()).isFile();
    if (searching_)
        searchTimer_.start();
    else
        SetText(kDetectSlot, QStringLiteral("固件文件不存在, 请重新选择。"));
    ShowStageColours();
}

void CUpdateFirmDlg::StopSearch()
{
    // Once the bootloader has answered the update can no longer be stopped.
    if (detected_)
        return;
    ResetStatus(ResultLine::Clear);
    searchTimer_.stop();
}

void CUpdateFirmDlg::ToggleAutoJump()
{
    CMybutton& button = buttons_[kAutoJumpSlot];
    if (!button.isEnabled())
        return;
    // The pinned picture is the setting; one press sets it for the rest of the run.
    if (button.pinned())
        button.Unpin(false);
    else
        button.Pin(false);
    button.setEnabled(false);
}

bool CUpdateFirmDlg::autoJump() const { return buttons_[kAutoJumpSlot].pinned(); }

void CUpdateFirmDlg::SearchTick()
{
    // The frame restarts into its bootloader instead of answering, so the result says nothing.
    SendCommand(GetDeviceProtocol(), commands::EnterBootloader());
    FirmwareUpdater& updater = GetFirmwareUpdater();
    if (updater.ProbeBootloader() != link_status::kOk) {
        SetText(kDetectSlot, kDetecting + NextProbeDots(probeDots_));
        return;
    }
    searchTimer_.stop();
    detected_ = true;
    SetText(kDetectSlot, kDetecting + kAllDots);
    SetText(kVersionSlot, QString::asprintf("设备连接成功, BOOTLOAD版本号:0x%4x  . . .",
                                            static_cast<unsigned>(updater.ReadBootloaderVersion())));
    matched_ = false;
    const LinkStatus status = updater.PrepareImage(ToFilesystemPath(texts_[kPathSlot].text()));
    if (status == link_status::kOk)
        BeginTransfer();
    else
        SetText(kMatchSlot, PrepareFailureText(status));
    ShowStageColours();
}

void CUpdateFirmDlg::BeginTransfer()
{
    SetUpdateButtonsEnabled(false);
    matched_ = true;
    SetText(kMatchSlot, QStringLiteral("固件匹配成功  . . ."));
    SetText(kTransferSlot, QStringLiteral("正在更新固件到设备  . . ."));
    // The worker takes its own copy of the path: the line may be changed while it runs. The hold
    // is taken here so no page request slips in before the worker takes over the channel.
    transfer_ = std::jthread([this, path = ToFilesystemPath(texts_[kPathSlot].text()),
                              hold = NormalTrafficHold(GetDeviceProtocol())](std::stop_token stop) {
        const LinkStatus status = GetFirmwareUpdater().TransferImage(path, stop);
        if (!stop.stop_requested())
            QMetaObject::invokeMethod(this, [this, status] { OnTransferEnded(status); }, Qt::QueuedConnection);
    });
    progressTimer_.start();
}

void CUpdateFirmDlg::OnTransferEnded(LinkStatus status)
{
    transfer_.join();  // it has nothing left to do but return
    succeeded_ = status == link_status::kOk;
    if (succeeded_) {
        retryCount_ = 0;
        SetText(kResultSlot, QStringLiteral("固件更新完成  . . ."));
    } else {
        progressTimer_.stop();
        SetText(kResultSlot, QStringLiteral("设备连接异常, 请重试。"));
    }
    SetUpdateButtonsEnabled(true);
    ShowStageColours();
    if (!succeeded_ && retryCount_ < kMaxRestarts) {
        ++retryCount_;
        Start(ResultLine::Keep);
    } else {
        retryCount_ = 0;
    }
}

void CUpdateFirmDlg::ProgressTick()
{
    shownProgress_ = GetFirmwareUpdater().progress.load();
    if (shownProgress_ == 100.0f) {
        progressTimer_.stop();
        if (autoJump())
            autoJumpTimer_.start();
    }
    update(kProgressRect);
}

void CUpdateFirmDlg::SetUpdateButtonsEnabled(bool enabled)
{
    buttons_[kStartSlot].setEnabled(enabled);
    buttons_[kStopSlot].setEnabled(enabled);
}

void CUpdateFirmDlg::ShowStageColours()
{
    const auto colour = [this](TextSlot slot, bool passed) {
        QPalette palette = texts_[slot].palette();
        palette.setColor(QPalette::WindowText, passed ? QColor(Qt::black) : palette::kRed);
        texts_[slot].setPalette(palette);
    };
    colour(kDetectSlot, searching_);
    colour(kMatchSlot, matched_);
    colour(kResultSlot, succeeded_);
}

QImage CUpdateFirmDlg::RenderPicture() const
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), palette::kPageBackground);
    painter.setFont(titleFont_);
    DrawCellText(painter, 20, 38, QStringLiteral("选择固件文件"), Qt::black, palette::kPageBackground);
    painter.setPen(QPen(palette::kLine, 1));
    painter.drawLine(5, 90, 820, 90);
    painter.drawLine(635, 90, 635, 579);
    for (int y : kRowLines)
        painter.drawLine(20, y, 615, y);
    if (shownProgress_ > 0.0f) {
        const int width = static_cast<int>(shownProgress_ * kProgressRect.width() / 100.0f);
        painter.fillRect(QRect(kProgressRect.topLeft(), QSize(width, kProgressRect.height())), palette::kBlue);
        if (width > 40) {
            painter.setFont(textFont_);
            painter.setPen(palette::kPageBackground);
            painter.drawText(QRect(40, 255, width, kProgressRect.height()), Qt::AlignLeft | Qt::AlignTop,
                             QStringLiteral("%1%").arg(static_cast<int>(shownProgress_)));
        }
    }
    return picture;
}

void CUpdateFirmDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

void CUpdateFirmDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CUpdateFirmDlg::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    DropFile(urls.first().toLocalFile());
    event->acceptProposedAction();
}

CUpdateFirmDlg::OpenDialog CUpdateFirmDlg::SystemOpenDialog()
{
    return [](QWidget* parent) {
        // Qt's open dialog has no read-only box; the filter's pattern also sets the extension shown.
        return QFileDialog::getOpenFileName(parent, QStringLiteral("选择固件文件"), QString(),
                                            QStringLiteral("FirmWare (*.bin)"));
    };
}

}  // namespace zorvane
