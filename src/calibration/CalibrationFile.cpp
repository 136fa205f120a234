#include "calibration/CalibrationFile.h"

#include <atomic>
#include <cerrno>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvane {
namespace {

// Closes the descriptor on every way out; Close() is for the one close whose result matters.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// Reads until the buffer is full or the file ends; the number of bytes read, none on a read error.
std::optional<std::size_t> ReadUpTo(int fd, std::span<std::uint8_t> buffer)
{
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

std::filesystem::path FolderOf(const std::filesystem::path& target)
{
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// Truncating a file in place writes through a symbolic link, even one whose file does not exist
// yet; replacing it must as well.
std::filesystem::path ReplacementTarget(const std::filesystem::path& path)
{
    constexpr int kMostLinks = 40;  // as the kernel follows them
    std::filesystem::path target = path;
    std::error_code error;
    for (int hop = 0; hop < kMostLinks && std::filesystem::is_symlink(target, error); ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : FolderOf(target) / next;
    }
    return target;
}

struct TemporaryFile {
    std::filesystem::path path;
    int fd;
};

// A new file in the folder under a name no other writer uses. The name does not grow with the
// target's, so any target name that fits the folder leaves room for it.
std::optional<TemporaryFile> CreateTemporary(const std::filesystem::path& folder)
{
    static std::atomic<unsigned> sequence{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = ".cdat-" + std::to_string(::getpid()) + "-" + std::to_string(sequence++) + ".tmp";
        std::filesystem::path candidate = folder / name;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return TemporaryFile{std::move(candidate), fd};
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

// Opening such a file for writing would fail; a rename would replace it all the same.
bool ExistsUnwritable(const std::filesystem::path& target)
{
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT;
}

void KeepPermissions(int fd, const std::filesystem::path& target)
{
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        (void)::fchmod(fd, existing.st_mode & 07777);
}

// Makes the rename itself durable. The new file is already in place, so a failure here is not one
// of the write.
void SyncFolder(const std::filesystem::path& folder)
{
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        (void)::fsync(fd.get());
}

}  // namespace

CalibrationFileResult WriteCalibrationFile(const std::filesystem::path& path, const TwoPointCalibration& record)
{
    const std::filesystem::path target = ReplacementTarget(path);
    if (ExistsUnwritable(target))
        return CalibrationFileResult::CannotOpen;
    const std::filesystem::path folder = FolderOf(target);
    const auto temporary = CreateTemporary(folder);
    if (!temporary)
        return CalibrationFileResult::CannotOpen;
    FileDescriptor fd(temporary->fd);
    KeepPermissions(fd.get(), target);
    const CalibrationFileBytes bytes = EncodeCalibrationFile(record);
    bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    written = fd.Close() && written;
    if (!written || ::rename(temporary->path.c_str(), target.c_str()) != 0) {
        ::unlink(temporary->path.c_str());
        return CalibrationFileResult::CannotOpen;
    }
    SyncFolder(folder);
    return CalibrationFileResult::Success;
}

CalibrationFileResult ReadCalibrationFile(const std::filesystem::path& path, TwoPointCalibration& out)
{
    // Without O_NONBLOCK a FIFO under the chosen name would hold the caller up for ever.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat file {};
    if (!fd.valid() || ::fstat(fd.get(), &file) != 0 || !S_ISREG(file.st_mode))
        return CalibrationFileResult::CannotOpen;
    CalibrationFileBytes buffer{};
    const auto size = ReadUpTo(fd.get(), buffer);
    if (!size)
        return CalibrationFileResult::CannotOpen;
    return DecodeCalibrationFile(std::span(buffer).first(*size), out);
}

}  // namespace zorvane
