#include "link/DeviceChannel.h"
#include "platform/linux/HidrawHandle.h"

#include "BlockingWrite.h"
#include "FakeHid.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <memory>
#include <mutex>
#include <vector>

// The device channel over real hidraw handles whose node stops taking reports.
namespace zorvane {
namespace {

using testing::FakeProcessList;
using testing::InBackground;
using testing::kGenerous;
using testing::WriteLatch;

// One frame whose every write stays in the kernel until the test lets it go: each open gives a
// HidrawHandle over a socket pair whose writes wait on the latch.
class StuckFrame : public HidBackend {
public:
    explicit StuckFrame(std::shared_ptr<WriteLatch> latch)
        : latch_(std::move(latch))
    {
    }
    ~StuckFrame() override
    {
        for (const int fd : deviceEnds_)
            close(fd);
    }

    std::vector<std::string> ListInterfaces() override { return {"/dev/hidraw0&col03"}; }
    std::optional<HidAttributes> GetAttributes(const std::string&) override
    {
        return HidAttributes{kFrameVendorId, 0x0002, 0x0210};
    }
    OpenResult Open(const std::string&) override
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0)
            return {};
        std::lock_guard guard(lock_);
        deviceEnds_.push_back(fds[1]);
        return {HidrawHandle::Adopt(fds[0], latch_->Call())};
    }

private:
    const std::shared_ptr<WriteLatch> latch_;
    std::mutex lock_;
    std::vector<int> deviceEnds_;
};

TEST(HidrawChannel, StuckWriteFailsTheTransactionWithinItsTimeOutAndClosesTheHandle)
{
    const auto latch = std::make_shared<WriteLatch>();
    const auto channel = std::make_shared<DeviceChannel>(
        LinkPlatform{std::make_shared<StuckFrame>(latch), std::make_shared<FakeProcessList>(), "zorvane"});
    channel->ApplyFilter(NormalFirmwareFilter());

    // Shared with the transaction, so that one a broken handle holds up cannot outlive the channel.
    auto transaction = InBackground([owner = channel]() mutable {
        const auto transacting = std::move(owner);  // dropped as the transaction returns
        const Report request{kNormalHeader, 0xA3};
        Report reply{};
        return transacting->Transact(400, request, reply);
    });
    const bool enteredKernel = latch->AwaitEntered(1);
    const auto ended = transaction.wait_for(kGenerous);
    latch->Open();  // only now does the kernel let the write go

    EXPECT_TRUE(enteredKernel);
    ASSERT_EQ(ended, std::future_status::ready) << "the transaction waited for the stuck write";
    EXPECT_EQ(transaction.get(), link_status::kWriteFailed);
    EXPECT_FALSE(channel->IsOpen());
}

}  // namespace
}  // namespace zorvane
