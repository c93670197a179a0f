// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "src/model/page_record.h"

namespace kestrova {

// Reads the first 203 bytes of a page file. Nothing when the path is not a regular file (a
// FIFO would block the open, a device would be read as a page), cannot be opened or read, or
// holds fewer than 203 bytes: a short file would replace only part of a page.
std::optional<PageRecord> readPageFile(const std::filesystem::path& path);

// Up to `most` bytes from the start of a regular file (the same refusals as above); fewer
// when the file is shorter.
std::optional<std::string> readFileStart(const std::filesystem::path& path, std::size_t most);

// Makes a written file's data, or a folder's entries, durable; false when that failed. Each
// program hands in its system's flush.
using FlushToDisk = bool (*)(const std::filesystem::path& path);

// Saves the 203 record bytes. Refuses a target that exists but is no regular file, or that
// the user may not open for reading and writing, and leaves it alone. Otherwise writes a
// temporary file beside the target, flushes it and renames it over the target with the old
// file's permissions, so that a failed save leaves any earlier file as it was; in a folder
// where no file can be created, an existing target is truncated and written in place, as a
// plain save would. `flush` makes the new file and then its folder durable. True on success.
bool writePageFile(const std::filesystem::path& path, const PageRecord& record, FlushToDisk flush);

// Saves any other file the same way: the same refusals, the same temporary file, flush and
// rename. True on success.
bool replaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         FlushToDisk flush);

}  // namespace kestrova
