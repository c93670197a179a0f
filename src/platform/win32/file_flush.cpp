// SPDX-License-Identifier: MIT
#include "src/platform/file_flush.h"

#include <windows.h>

#include <system_error>

#include "src/platform/win32/unique_handle.h"

namespace kestrova {

bool flushToDisk(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return true;  // a folder has no buffers of its own here; NTFS journals the rename
    }
    // FlushFileBuffers needs a handle with write access; it flushes the file's cached data,
    // whichever handle wrote it.
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ::FlushFileBuffers(file.get()) != 0;
}

}  // namespace kestrova
