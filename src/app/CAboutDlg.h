#pragma once

#include "widgets/CMybutton.h"

#include <QDialog>
#include <QLabel>

namespace zorvane {

// The About box: program name and version, two rights lines and an OK button, under a painted title band
// by which the captionless box is dragged.
class CAboutDlg : public QDialog {
public:
    static constexpr int kWidth = 380;  // 217 x 101 dialog units of a 9-point dialog font
    static constexpr int kHeight = 189;
    static constexpr int kTitleBandHeight = 40;

    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Pindaro_SL(1.10.0603)"
    static QString NameAndVersion();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CMybutton okButton_;
    QLabel icon_;
    QLabel nameAndVersion_;
    QLabel firstRightsLine_;
    QLabel secondRightsLine_;
};

}  // namespace zorvane
