#pragma once

#include <unistd.h>

namespace zorvane {

// Owns one descriptor and closes it when it goes; a negative number owns nothing.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) noexcept
        : fd_(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }

private:
    const int fd_;
};

}  // namespace zorvane
