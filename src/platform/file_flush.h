// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

namespace kestrova {

// Flushes a file's data, or a folder's entries, from the system's cache to the disk. False
// when the path cannot be opened or the flush failed. What a page-file save is handed.
bool flushToDisk(const std::filesystem::path& path);

}  // namespace kestrova
