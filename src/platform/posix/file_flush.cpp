// SPDX-License-Identifier: MIT
#include "src/platform/file_flush.h"

#include <fcntl.h>
#include <unistd.h>

#include "src/platform/posix/unique_fd.h"

namespace kestrova {

bool flushToDisk(const std::filesystem::path& path) {
    // fsync flushes the file, not the descriptor: a read-only one serves, for a folder too.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

}  // namespace kestrova
