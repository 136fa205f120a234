#pragma once

#include "pages/DrawSettings.h"
#include "widgets/CMybutton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QRadioButton>
#include <QString>

#include <array>

namespace zorvane {

// The drawing test's modal setup popup: pen colour, line width and grid, edited on a copy of the
// drawing settings, which the drawing test takes back only after OK. The arrow buttons keep the line
// width within 1..10 and the grid spacing within 10..100; the spacing ones do nothing while the grid
// is off. Dragged by its title band. Interface thread only; no device traffic.
class CDrawSetupDlg : public QDialog {
public:
    // Control ids, also the controls' object names ("id2003", ...).
    enum ControlId : int {
        kOkButton = 1,
        kCancelButton = 2,
        kRedRadio = 2003,
        kGreenRadio = 2004,
        kYellowRadio = 2005,
        kBlueRadio = 2006,
        kWidthUpButton = 1014,
        kWidthDownButton = 1015,
        kSpacingUpButton = 1016,
        kSpacingDownButton = 1017,
        kGridBox = 1524,
    };

    // 308 x 140 dialog units.
    static constexpr int kWidth = 462;
    static constexpr int kHeight = 227;
    static constexpr int kTitleBandHeight = 40;
    static constexpr int kColourCount = 4;

    explicit CDrawSetupDlg(const DrawSettings& settings, QWidget* parent = nullptr);

    const DrawSettings& settings() const { return settings_; }
    // The selected colour radio, by the order of the drawing colours; -1 for a colour not among them.
    int colourIndex() const { return colourIndex_; }

    // The operations of the four arrow buttons.
    void WidthUp();
    void WidthDown();
    void SpacingUp();
    void SpacingDown();

    // "线宽( 03 )", "网格( 20 )": the two values as the dialog writes them.
    QString LineWidthText() const;
    QString GridText() const;

    // The dialog's own painting (not its controls) as the next paint shows it.
    QImage RenderPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceControls();
    void PlaceButtons();
    // Framework data exchange: the controls into the settings.
    void ReadControls();

    DrawSettings settings_;
    int colourIndex_;
    const QFont textFont_;
    std::array<QRadioButton, kColourCount> colours_;
    QButtonGroup colourGroup_;
    QCheckBox gridBox_;
    std::array<CMybutton, 6> buttons_;
};

}  // namespace zorvane
