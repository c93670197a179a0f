// SPDX-License-Identifier: MIT
#include "serial/file_flush.h"

#include <windows.h>

#include <memory>
#include <system_error>

namespace kestrova {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

}  // namespace

bool flushToDisk(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return true;  // a folder has no buffers of its own here; NTFS journals the rename
    }
    // FlushFileBuffers needs a handle with write access; it flushes the file's cached data,
    // whichever handle wrote it.
    const HANDLE opened = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return false;
    }
    const UniqueHandle file(opened);
    return ::FlushFileBuffers(file.get()) != 0;
}

}  // namespace kestrova
