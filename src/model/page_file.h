// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>

#include "model/page_record.h"

namespace kestrova {

// Reads the first 203 bytes of a page file. Nothing when the file cannot be opened or read,
// or holds fewer than 203 bytes: a short file would replace only part of a page.
std::optional<PageRecord> readPageFile(const std::filesystem::path& path);

// Writes the 203 record bytes to a temporary file beside the target and renames it over the
// target, so that a failed save leaves any earlier file as it was. True on success.
bool writePageFile(const std::filesystem::path& path, const PageRecord& record);

}  // namespace kestrova
