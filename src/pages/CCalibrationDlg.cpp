#include "pages/CCalibrationDlg.h"

#include "pages/CCal9ViewDlg.h"
#include "pages/CCalViewDlg.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/CellText.h"
#include "widgets/FilePath.h"
#include "widgets/Fonts.h"
#include "widgets/PageKeyFilter.h"
#include "widgets/Palette.h"

#include <QColor>
#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPalette>

namespace zorvane {
namespace {

const QColor kBandColour(215, 231, 246);
const QColor kSeparatorColour(193, 213, 232);

// Dialog units of the 8-point dialog font, in pixels.
constexpr QRect FromDialogUnits(int x, int y, int width, int height)
{
    return {x * 6 / 4, y * 13 / 8, width * 6 / 4, height * 13 / 8};
}

// The static texts, in the order of the page's text slots.
struct StaticText {
    int id;
    QRect rect;
    Qt::Alignment alignment;
};

constexpr StaticText kStaticTexts[] = {
    {CCalibrationDlg::kDeviceIdText, FromDialogUnits(176, 106, 128, 16), Qt::AlignLeft},
    {CCalibrationDlg::kDeviceDataText, FromDialogUnits(176, 126, 128, 16), Qt::AlignLeft},
    {CCalibrationDlg::kFileIdText, FromDialogUnits(176, 216, 128, 16), Qt::AlignLeft},
    {CCalibrationDlg::kFileDataText, FromDialogUnits(176, 237, 128, 16), Qt::AlignLeft},
    {CCalibrationDlg::kFilePathText, FromDialogUnits(50, 182, 417, 16), Qt::AlignHCenter},
    {CCalibrationDlg::kMessageText, FromDialogUnits(26, 66, 430, 16), Qt::AlignHCenter},
};

constexpr QSize kActionPicture(128, 34);
constexpr QSize kLargePicture(152, 52);
constexpr QSize kKindPicture(168, 54);

constexpr ButtonPlace kButtons[] = {
    {CCalibrationDlg::kFetchButton, {620, 160, 129, 34}, 550, kActionPicture},
    {CCalibrationDlg::kExportButton, {620, 210, 129, 34}, 559, kActionPicture},
    {CCalibrationDlg::kBrowseButton, {620, 335, 129, 34}, 548, kActionPicture},
    {CCalibrationDlg::kImportButton, {620, 385, 129, 34}, 562, kActionPicture},
    {CCalibrationDlg::kCalibrateButton, {230, 490, 152, 52}, 552, kLargePicture},
    {CCalibrationDlg::kResetButton, {432, 490, 152, 52}, 566, kLargePicture},
    {CCalibrationDlg::kTwoPointButton, {80, 28, 168, 54}, 580, kKindPicture},
    {CCalibrationDlg::kNinePointButton, {248, 28, 168, 54}, 581, kKindPicture},
};

QString MessageText(CalibrationMessage message)
{
    switch (message) {
    case CalibrationMessage::None:
        return {};
    case CalibrationMessage::FetchFailed:
        return QStringLiteral("获取校准数据失败");
    case CalibrationMessage::ConnectDevice:
        return QStringLiteral("请连接设备");
    case CalibrationMessage::FetchFirst:
        return QStringLiteral("请先获取校准数据");
    case CalibrationMessage::ExportFailed:
        return QStringLiteral("导出校准数据失败");
    case CalibrationMessage::OpenFailed:
        return QStringLiteral("打开校准数据文件失败");
    case CalibrationMessage::BadFormat:
        return QStringLiteral("数据文件格式错误");
    case CalibrationMessage::ChooseFile:
        return QStringLiteral("请选择校准数据文件");
    case CalibrationMessage::ImportFailed:
        return QStringLiteral("校准数据导入失败");
    case CalibrationMessage::ResetFailed:
        return QStringLiteral("校准数据重置失败");
    }
    return {};
}

void ShowSection(QLabel& deviceId, QLabel& data, const CalibrationSectionText& section)
{
    deviceId.setText(QString::fromStdU16String(section.deviceId));
    data.setText(QString::fromStdString(section.data));
}

}  // namespace

CCalibrationDlg::CCalibrationDlg(QWidget* parent, TargetPointerFactory targetPointer)
    : QWidget(parent)
    , model_(GetDeviceProtocol())
    , targetPointer_(std::move(targetPointer))
    , dialogs_(SystemFileDialogs())
    , textFont_(MakeFont(FontFace::Kai, 17, 9, 400))
    , titleFont_(MakeFont(FontFace::Kai, 20, 10, 700))
{
    setObjectName(QStringLiteral("CCalibrationDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole page
    SwallowPageEndingKeys(*this);
    PlaceTexts();
}

CCalibrationDlg::~CCalibrationDlg() = default;

void CCalibrationDlg::PlaceTexts()
{
    QPalette message = palette();
    message.setColor(QPalette::WindowText, palette::kRed);
    for (std::size_t index = 0; index < texts_.size(); ++index) {
        const StaticText& place = kStaticTexts[index];
        QLabel& text = texts_[index];
        text.setParent(this);
        text.setObjectName(QStringLiteral("id%1").arg(place.id));
        text.setGeometry(place.rect);
        text.setAlignment(place.alignment | Qt::AlignVCenter);
        text.setFont(textFont_);
    }
    texts_[kMessageSlot].setPalette(message);
}

void CCalibrationDlg::OnInitDialog()
{
    twoPointScreen_ = new CCalViewDlg(this, targetPointer_);
    ninePointScreen_ = new CCal9ViewDlg(this, targetPointer_);
    twoPointScreen_->SetRefreshCallback([this] { FetchDeviceData(); });
    ninePointScreen_->SetRefreshCallback([this] { FetchDeviceData(); });
    PlaceButtons();
    QueryKind();
}

void CCalibrationDlg::PlaceButtons()
{
    zorvane::PlaceButtons(buttons_, kButtons, *this, [this](int id) {
        switch (id) {
        case kFetchButton:
            return FetchDeviceData();
        case kExportButton:
            return ExportToFile();
        case kBrowseButton:
            return BrowseFile();
        case kImportButton:
            return ImportToDevice();
        case kCalibrateButton:
            return StartCalibration();
        case kResetButton:
            return ResetDeviceData();
        case kTwoPointButton:
            return SelectKind(CalibrationKind::TwoPoint);
        case kNinePointButton:
            return SelectKind(CalibrationKind::NinePoint);
        }
    });
}

void CCalibrationDlg::QueryKind()
{
    model_.QueryKind();
    ShowModel();
}

void CCalibrationDlg::SelectKind(CalibrationKind kind)
{
    model_.SelectKind(kind);
    ShowModel();
}

void CCalibrationDlg::FetchDeviceData()
{
    model_.FetchDeviceData();
    ShowModel();
}

void CCalibrationDlg::ExportToFile()
{
    const std::optional<std::u16string> proposed = model_.BeginExport();
    ShowModel();
    if (!proposed)
        return;
    const QString path = dialogs_.save(this, QString::fromStdU16String(*proposed));
    if (path.isEmpty())
        return;
    model_.Export(ToFilesystemPath(path));
    ShowModel();
}

void CCalibrationDlg::BrowseFile()
{
    if (!model_.MayBrowse())
        return;
    const QString path = dialogs_.open(this);
    if (path.isEmpty())
        return;
    filePath_ = QDir::toNativeSeparators(path);
    model_.LoadFile(ToFilesystemPath(path));
    ShowModel();
}

void CCalibrationDlg::ImportToDevice()
{
    model_.Import();
    ShowModel();
}

void CCalibrationDlg::StartCalibration()
{
    const std::optional<CalibrationKind> kind = model_.PrepareCalibration();
    ShowModel();
    if (!kind)
        return;
    switch (*kind) {
    case CalibrationKind::TwoPoint:
        twoPointScreen_->Start();
        return;
    case CalibrationKind::NinePoint:
        ninePointScreen_->Start();
        return;
    }
}

void CCalibrationDlg::ResetDeviceData()
{
    model_.Reset();
    ShowModel();
}

void CCalibrationDlg::ShowModel()
{
    ShowSection(texts_[kDeviceIdSlot], texts_[kDeviceDataSlot], model_.deviceSection());
    ShowSection(texts_[kFileIdSlot], texts_[kFileDataSlot], model_.fileSection());
    texts_[kFilePathSlot].setText(filePath_);
    texts_[kMessageSlot].setText(MessageText(model_.message()));
    // The chosen kind stays marked until the next accepted selection.
    const std::optional<CalibrationKind> selected = model_.selectedKind();
    if (!selected)
        return;
    for (std::size_t index = 0; index < buttons_.size(); ++index) {
        const int id = kButtons[index].id;
        if (id != kTwoPointButton && id != kNinePointButton)
            continue;
        const bool chosen = (id == kTwoPointButton) == (*selected == CalibrationKind::TwoPoint);
        if (chosen)
            buttons_[index].Pin(true);
        else
            buttons_[index].Unpin(true);
    }
}

QImage CCalibrationDlg::RenderPicture() const
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), palette::kPageBackground);
    painter.setFont(titleFont_);
    DrawCellText(painter, 40, 167, QStringLiteral("设备校准数据"));
    DrawCellText(painter, 40, 347, QStringLiteral("文件校准数据"));
    painter.fillRect(QRect(0, 0, kPictureWidth, 82), kBandColour);
    painter.setPen(QPen(kSeparatorColour, 1));
    painter.drawLine(10, 260, 814, 260);
    painter.drawLine(10, 440, 814, 440);
    painter.drawLine(220, 200, 450, 200);
    painter.drawLine(245, 160, 245, 240);
    painter.drawLine(220, 380, 450, 380);
    painter.drawLine(245, 330, 245, 420);
    return picture;
}

void CCalibrationDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

CCalibrationDlg::FileDialogs CCalibrationDlg::SystemFileDialogs()
{
    return {
        [](QWidget* parent, const QString& proposedName) {
            // Qt's file dialogs ask before overwriting and have no read-only box.
            return QFileDialog::getSaveFileName(parent, QStringLiteral("导出校准数据"), proposedName,
                                                QStringLiteral("Touch (*.cdat)"));
        },
        [](QWidget* parent) {
            return QFileDialog::getOpenFileName(parent, QString(), QString(), QStringLiteral("Zorvane (*.cdat)"));
        },
    };
}

}  // namespace zorvane
