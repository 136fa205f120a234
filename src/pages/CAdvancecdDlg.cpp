#include "pages/CAdvancecdDlg.h"

#include "pages/CCalibrationDlg.h"
#include "pages/CDeviceSetUpDlg.h"
#include "pages/CSimulationDlg.h"
#include "pages/CUpdateFirmDlg.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/PageKeyFilter.h"
#include "widgets/Palette.h"

#include <QColor>
#include <QPainter>
#include <QPen>

namespace zorvane {
namespace {

const QColor kBarColour(215, 231, 246);
const QColor kBarLineColour(193, 213, 232);
constexpr int kBarWidth = 175;
constexpr QRect kSubPageRect(178, 0, 826, 584);

struct ButtonPlace {
    int id;
    int y;
    int strip;
};

// By SubPage, the simulation button last.
constexpr ButtonPlace kButtons[] = {
    {CAdvancecdDlg::kFirmwareButton, 27, 570},
    {CAdvancecdDlg::kCalibrationButton, 81, 551},
    {CAdvancecdDlg::kSettingsButton, 135, 590},
    {CAdvancecdDlg::kSimulationButton, 189, 582},
};

}  // namespace

CAdvancecdDlg::CAdvancecdDlg(QWidget* parent, TargetPointerFactory targetPointer)
    : QWidget(parent)
    , targetPointer_(std::move(targetPointer))
{
    setObjectName(QStringLiteral("CAdvancecdDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole page
    SwallowPageEndingKeys(*this);
}

void CAdvancecdDlg::OnInitDialog()
{
    firmwarePage_ = new CUpdateFirmDlg(this);
    subPages_[kFirmwarePage] = firmwarePage_;
    calibrationPage_ = new CCalibrationDlg(this, targetPointer_);
    subPages_[kCalibrationPage] = calibrationPage_;
    setupPage_ = new CDeviceSetUpDlg(this);
    subPages_[kSetupPage] = setupPage_;
    for (QWidget* page : subPages_) {
        page->setGeometry(kSubPageRect);
        page->setVisible(page == subPages_[kFirmwarePage]);
    }
    firmwarePage_->OnInitDialog();
    calibrationPage_->OnInitDialog();
    setupPage_->OnInitDialog();
    PlaceButtons();
    ShowSubPage(kFirmwarePage);
}

void CAdvancecdDlg::PlaceButtons()
{
    for (std::size_t index = 0; index < buttons_.size(); ++index) {
        CMybutton& button = buttons_[index];
        button.setParent(this);
        PlaceButton(button, kButtons[index].id, {8, kButtons[index].y, 168, 54}, kButtons[index].strip);
        button.setFocusPolicy(Qt::TabFocus);  // Tab and Space choose a sub-page without the mouse
    }
    buttons_[kNoSubPage].hide();
    connect(&buttons_[kFirmwarePage], &QAbstractButton::clicked, this, [this] { ShowSubPage(kFirmwarePage); });
    connect(&buttons_[kCalibrationPage], &QAbstractButton::clicked, this, [this] {
        calibrationPage_->QueryKind();
        ShowSubPage(kCalibrationPage);
    });
    connect(&buttons_[kSetupPage], &QAbstractButton::clicked, this, [this] {
        setupPage_->ReadSettings();
        ShowSubPage(kSetupPage);
    });
    connect(&buttons_[kNoSubPage], &QAbstractButton::clicked, this, [this] { RunSimulation(); });
}

void CAdvancecdDlg::ShowSubPage(int index)
{
    for (int page = 0; page < kSubPageCount; ++page)
        subPages_[page]->setVisible(page == index);
    for (int page = 0; page < static_cast<int>(buttons_.size()); ++page) {
        if (page == index)
            buttons_[page].Pin(true);
        else
            buttons_[page].Unpin(true);
    }
}

void CAdvancecdDlg::RunSimulation()
{
    ShowSubPage(kNoSubPage);
    CSimulationDlg simulation(this);
    simulation.OnInitDialog();
    simulation.exec();
}

QImage CAdvancecdDlg::RenderPicture() const
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), palette::kPageBackground);
    painter.fillRect(QRect(0, 0, kBarWidth, kPictureHeight), kBarColour);
    painter.setPen(QPen(kBarLineColour, 1));
    painter.drawLine(kBarWidth, 0, kBarWidth, kPictureHeight);
    return picture;
}

void CAdvancecdDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

}  // namespace zorvane
