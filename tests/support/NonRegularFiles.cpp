#include "tests/support/NonRegularFiles.h"

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace tickerlux::test {

namespace {

bool MakeNullDevice(const std::string& path)
{
    if (mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return true;
    if (errno == EPERM)
        return false;
    throw std::runtime_error("mknod " + path + " failed");
}

std::string DescribeOne(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return "missing";
    return "type " + std::to_string(info.st_mode & S_IFMT) + " device " +
           std::to_string(info.st_rdev);
}

} // namespace

const char* NonRegularFileName(NonRegularFile kind)
{
    switch (kind) {
    case NonRegularFile::Fifo: return "Fifo";
    case NonRegularFile::DeviceNode: return "DeviceNode";
    case NonRegularFile::LinkToDeviceNode: return "LinkToDeviceNode";
    case NonRegularFile::Directory: return "Directory";
    case NonRegularFile::LinkLoop: return "LinkLoop";
    }
    return "";
}

bool MakeNonRegularFile(NonRegularFile kind, const std::string& path)
{
    switch (kind) {
    case NonRegularFile::Fifo:
        if (mkfifo(path.c_str(), 0600) != 0)
            throw std::runtime_error("mkfifo " + path + " failed");
        return true;
    case NonRegularFile::DeviceNode:
        return MakeNullDevice(path);
    case NonRegularFile::LinkToDeviceNode:
        if (!MakeNullDevice(path + ".device"))
            return false;
        std::filesystem::create_symlink(std::filesystem::path(path).filename().string() + ".device",
                                        path);
        return true;
    case NonRegularFile::Directory:
        std::filesystem::create_directory(path);
        return true;
    case NonRegularFile::LinkLoop:
        std::filesystem::create_symlink(path + ".other", path);
        std::filesystem::create_symlink(path, path + ".other");
        return true;
    }
    return true;
}

std::string DescribeFile(const std::string& path)
{
    std::string text = DescribeOne(path);
    std::error_code notALink;
    const std::filesystem::path target = std::filesystem::read_symlink(path, notALink);
    if (!notALink) {
        text += ", a link to " + target.string() + ": " +
                DescribeOne((std::filesystem::path(path).parent_path() / target).string());
    }
    return text;
}

} // namespace tickerlux::test
