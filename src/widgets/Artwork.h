#pragma once

#include <QImage>

#include <vector>

namespace zorvane {

// Every numbered bitmap the windows show, drawn in code at its resource size. A strip holds its pictures
// side by side (picture width = strip width / picture count), in the order normal, hover, pressed and,
// for four-picture strips, disabled.
//
// Needs a QGuiApplication (fonts). Call it from the UI thread: some platforms draw text on that thread
// only. Each image is drawn once and then shared; the cache is locked all the same, and the images handed
// out may be read on any thread.
class Artwork final {
public:
    Artwork() = delete;

    static constexpr int kProgramIconId = 128;

    // The strip of `resourceId` as an RGB32 image of its exact size; a null image for an unknown id.
    static QImage Bitmap(int resourceId);

    // Pictures in the strip of `resourceId`; 0 for an unknown id.
    static int PictureCount(int resourceId);

    // Every bitmap resource id, ascending.
    static std::vector<int> ResourceIds();

    // The program icon (resource 128) as a square ARGB32 image with transparent corners, side `size`
    // pixels (1 to 1024); a null image outside that range.
    static QImage ProgramIcon(int size);

    // The sizes a window icon and a desktop entry icon are offered in.
    static std::vector<int> ProgramIconSizes();
};

}  // namespace zorvane
