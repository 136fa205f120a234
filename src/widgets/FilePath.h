#pragma once

#include <QString>

#include <filesystem>

namespace zorvane {

// A path as a dialog or a drop names it, in the bytes the file system knows it by.
std::filesystem::path ToFilesystemPath(const QString& path);

}  // namespace zorvane
