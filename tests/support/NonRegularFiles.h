#pragma once

#include <string>

namespace tickerlux::test {

// Files that are not regular files, for tests that must refuse them. Each is made at `path`,
// which must lie inside the test's own temporary folder.
enum class NonRegularFile {
    Fifo,              // a named pipe nobody writes to
    DeviceNode,        // a character device node of the null device
    LinkToDeviceNode,  // a symbolic link to such a node beside it
    Directory,
    LinkLoop,          // a symbolic link that ends up naming itself again
};

// The kind's name, for naming test cases.
const char* NonRegularFileName(NonRegularFile kind);

// False when this process may not make device nodes (no CAP_MKNOD): the test should skip.
bool MakeNonRegularFile(NonRegularFile kind, const std::string& path);

// The type, device number and link target of `path` as lstat sees it, to check that it was left
// as it was.
std::string DescribeFile(const std::string& path);

} // namespace tickerlux::test
