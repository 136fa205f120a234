#include "widgets/FilePath.h"

#include <QFile>

namespace zorvane {

std::filesystem::path ToFilesystemPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace zorvane
