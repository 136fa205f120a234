#pragma once

#include "widgets/CMybutton.h"
#include "link/DeviceNotices.h"
#include "protocol/DeviceInfo.h"

#include <QFont>
#include <QWidget>

#include <functional>

class QPainter;

namespace zorvane {

// The home page: detects the frame, shows whether it is connected and, while it is, its identification.
// Every change of the connection state (and every detection) is reported through the connection callback.
class CHomeDlg : public QWidget {
public:
    using ConnectionCallback = std::function<void(int connected)>;

    // The page paints into an off-screen picture of this size and copies it in one go.
    static constexpr int kPictureWidth = 1004;
    static constexpr int kPictureHeight = 584;

    explicit CHomeDlg(QWidget* parent = nullptr);

    // Set before OnInitDialog, which already reports the first detection.
    void SetConnectionCallback(ConnectionCallback callback) { connectionCallback_ = std::move(callback); }
    // Places the re-detect button and runs the first detection.
    void OnInitDialog();

    // Queries the frame's identification (on this thread, for as long as the transactions take).
    void Redetect();
    // Any HID arrival detects again; the removal of the interface the last query opened shows the
    // not-connected state at once and closes the device handle.
    void OnDeviceChange(const DeviceNotice& notice);

    bool connected() const { return connected_; }
    // The last detection found the frame but this user may not open it: the not-connected state then
    // says how to give the user access.
    bool accessRefused() const { return accessRefused_; }
    const DeviceInfo& deviceInfo() const { return deviceInfo_; }
    CMybutton& redetectButton() { return redetectButton_; }

    // The whole page as the next paint shows it.
    QImage RenderPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void EnterState(bool connected);
    void PaintInformationTable(QPainter& painter) const;
    void PaintAccessHint(QPainter& painter) const;

    ConnectionCallback connectionCallback_;
    CMybutton redetectButton_;
    DeviceInfo deviceInfo_;
    bool connected_ = false;
    bool accessRefused_ = false;
    const QFont titleFont_;
    const QFont rowFont_;
};

}  // namespace zorvane
