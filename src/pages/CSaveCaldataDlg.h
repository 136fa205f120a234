#pragma once

#include "widgets/CMybutton.h"

#include <QDialog>
#include <QImage>

namespace zorvane {

// The prompt that ends a calibration run: a caption-less modal popup asking "是否保存校准数据?". Its
// three buttons end it with the save_answer results 1 "是", 7 "否" and 2 "取消"; Enter and Esc are
// swallowed, so only the buttons answer. UI thread only; it owns its buttons and talks to no device.
class CSaveCaldataDlg : public QDialog {
public:
    // 248 x 105 dialog units.
    static constexpr int kWidth = 372;
    static constexpr int kHeight = 170;

    explicit CSaveCaldataDlg(QWidget* parent = nullptr);

    // The prompt's own picture (without its buttons), as a paint shows it.
    QImage RenderPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PlaceAnswer(CMybutton& button, int result, QPoint at, int bitmap);

    CMybutton yesButton_;
    CMybutton noButton_;
    CMybutton cancelButton_;
};

}  // namespace zorvane
