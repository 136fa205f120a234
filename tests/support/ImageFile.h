#pragma once

// A firmware image in a file of its own for the length of a test.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace zorvane::testing {

class ImageFile {
public:
    explicit ImageFile(const std::vector<std::uint8_t>& bytes)
        : path_(std::filesystem::path(::testing::TempDir()) /
                ("zorvane-image-" + std::to_string(getpid()) + "-" + std::to_string(++count_) + ".bin"))
    {
        Write(bytes);
    }
    ~ImageFile() { std::filesystem::remove(path_); }
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    void Write(const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream file(path_, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    const std::filesystem::path& path() const { return path_; }

private:
    static inline std::atomic<int> count_{0};
    std::filesystem::path path_;
};

}  // namespace zorvane::testing
