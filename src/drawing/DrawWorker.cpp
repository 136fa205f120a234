#include "drawing/DrawWorker.h"

#include <utility>

namespace zorvane {

DrawWorker::DrawWorker(StrokeStore& store, QSize size, const DrawStyle& style, HandOver handOver,
                       std::chrono::milliseconds idlePeriod)
    : store_(store)
    , handOver_(std::move(handOver))
    , idlePeriod_(idlePeriod)
    , requests_{size, style}
    , thread_([this] { Run(); })
{
}

DrawWorker::~DrawWorker() { Stop(); }

void DrawWorker::SetStyle(const DrawStyle& style)
{
    std::lock_guard guard(lock_);
    requests_.style = style;
    Wake();
}

void DrawWorker::SetSize(QSize size)
{
    std::lock_guard guard(lock_);
    requests_.size = size;
    Wake();
}

void DrawWorker::RequestClear()
{
    std::lock_guard guard(lock_);
    requests_.clear = true;
    Wake();
}

void DrawWorker::NotifyInput()
{
    std::lock_guard guard(lock_);
    Wake();
}

void DrawWorker::Wake()
{
    news_ = true;
    wake_.notify_one();
}

void DrawWorker::Stop()
{
    {
        std::lock_guard guard(lock_);
        exitRequested_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void DrawWorker::Run()
{
    std::unique_lock guard(lock_);
    while (!exitRequested_) {
        const DrawingPicture::Requests requests = requests_;
        requests_.clear = false;
        news_ = false;
        guard.unlock();
        handOver_(picture_.Compose(store_, requests));
        guard.lock();
        wake_.wait_for(guard, idlePeriod_, [this] { return exitRequested_ || news_; });
    }
}

}  // namespace zorvane
