#pragma once

#include <QPoint>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace zorvane {

// What one touch input says of its contact, as bits: a down wins over a move and an up in the same input.
namespace touch_flag {
inline constexpr int kMove = 1;
inline constexpr int kDown = 2;
inline constexpr int kUp = 4;
}  // namespace touch_flag

// One piece of a stroke not painted yet: a line through `path` (window pixels). `path` starts at the
// last point already painted, or at the stroke's start when `fromStart` (whose dot then is new too).
struct InkPiece {
    std::vector<QPoint> path;
    bool fromStart = false;
};

// Every touch contact's strokes, written by the touch handler on the interface thread and read by the
// drawing worker, each operation whole under one lock. A down starts a new stroke of its contact, moves
// add points to it, an up ends it; a move or up with no stroke under way is ignored. A stroke whose
// contact is lost (no up) stays under way: it is never finished, and its contact's next down starts
// another.
//
// The worker paints each stroke piece by piece as it grows, so the picture keeps every stroke and no
// stroke is painted twice: TakeNewInk() hands out only what came since the last take, in time
// proportional to that, however many strokes and points the store holds. TakeAllInk() hands out
// everything again, for a picture painted afresh (another pen, another screen).
class StrokeStore {
public:
    using ContactId = std::uint32_t;

    // One touch input of `contact` at `at`, with touch_flag bits.
    void Touch(ContactId contact, QPoint at, int flags);
    // Forgets every contact and stroke.
    void Clear();

    std::vector<InkPiece> TakeNewInk();
    std::vector<InkPiece> TakeAllInk();

    // How many strokes and points the store holds.
    std::size_t strokeCount() const;
    std::size_t pointCount() const;

private:
    struct Stroke {
        QPoint start;
        std::optional<QPoint> end;  // set by the up
        std::vector<QPoint> points;
        // What the worker has painted of it.
        bool startPainted = false;
        std::size_t paintedPoints = 0;  // of `points`
        bool endPainted = false;
        bool queued = false;  // in changed_
    };
    struct Contact {
        std::vector<Stroke> strokes;  // oldest first
    };
    struct StrokeRef {
        std::size_t contact;
        std::size_t stroke;
    };

    void Changed(Stroke& stroke, StrokeRef ref);
    static std::optional<InkPiece> NewInk(Stroke& stroke);

    mutable std::mutex lock_;
    std::vector<Contact> contacts_;  // guarded by lock_, in order of first touch
    std::unordered_map<ContactId, std::size_t> contactIndex_;  // guarded by lock_
    std::vector<StrokeRef> changed_;  // guarded by lock_: strokes with something not painted yet
    std::size_t pointCount_ = 0;      // guarded by lock_
};

}  // namespace zorvane
