#include "pages/TargetPointer.h"

#include <utility>

namespace zorvane {
namespace {

class SystemPointer final : public TargetPointer {
public:
    explicit SystemPointer(Sink sink) : sink_(std::move(sink)) {}

    void MousePressed(ScreenPoint at) override { sink_.press(at); }
    void MouseMoved(ScreenPoint to) override { sink_.move(to); }
    void MouseReleased() override { sink_.release(); }

private:
    const Sink sink_;
};

}  // namespace

void TargetPointer::PaintOverlay(QPainter&) const {}

std::unique_ptr<TargetPointer> MakeTargetPointer(const TargetPointerFactory& factory, TargetPointer::Sink sink)
{
    if (factory)
        return factory(std::move(sink));
    return std::make_unique<SystemPointer>(std::move(sink));
}

}  // namespace zorvane
