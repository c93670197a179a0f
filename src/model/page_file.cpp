// SPDX-License-Identifier: MIT
#include "src/model/page_file.h"

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <random>
#include <sstream>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

enum class Written { NotOpened, Failed, Done };

// A short unused name in the target's folder: it fits wherever the target's name fits,
// however long that is.
std::optional<fs::path> temporaryPathBeside(const fs::path& target) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::ostringstream name;
        name << ".kpf" << std::hex << std::setw(8) << std::setfill('0') << random() << ".tmp";
        fs::path candidate = target.parent_path() / name.str();
        std::error_code error;
        if (!fs::exists(fs::symlink_status(candidate, error))) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Save through a symbolic link into the file it names, not over the link itself.
fs::path resolveTarget(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return path;
    }
    if (fs::is_symlink(fs::symlink_status(absolute, error))) {
        fs::path resolved = fs::weakly_canonical(absolute, error);
        if (!error) {
            return resolved;
        }
    }
    return absolute;
}

// Opens the existing file for reading and writing, as a plain save does, without truncating.
bool mayWrite(const fs::path& path) {
    const std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    return file.is_open();
}

Written writeWhole(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return Written::NotOpened;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out.fail() ? Written::Failed : Written::Done;
}

// The data is on disk before the rename and the rename after it, so that a crash leaves
// either the old file or the whole new one.
bool replaceWith(const fs::path& temporary, const fs::path& target, const fs::file_status& old,
                 FlushToDisk flush) {
    std::error_code error;
    if (!flush(temporary)) {
        fs::remove(temporary, error);
        return false;
    }
    if (fs::exists(old)) {
        fs::permissions(temporary, old.permissions(), error);
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    // The page is saved by now: a folder that cannot be flushed does not make it a failure.
    flush(target.parent_path());
    return true;
}

}  // namespace

std::optional<std::string> readFileStart(const fs::path& path, std::size_t most) {
    std::error_code error;
    if (!fs::is_regular_file(fs::status(path, error))) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(most, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(most));
    if (in.bad()) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<PageRecord> readPageFile(const fs::path& path) {
    const std::optional<std::string> start = readFileStart(path, kPageRecordSize);
    if (!start || start->size() != kPageRecordSize) {
        return std::nullopt;
    }
    PageBytes bytes{};
    std::ranges::copy(*start, bytes.begin());
    return fromBytes(bytes);
}

bool writePageFile(const fs::path& path, const PageRecord& record, FlushToDisk flush) {
    return replaceFileContents(path, toBytes(record), flush);
}

bool replaceFileContents(const fs::path& path, std::span<const std::uint8_t> bytes,
                         FlushToDisk flush) {
    const fs::path target = resolveTarget(path);
    std::error_code error;
    const fs::file_status old = fs::status(target, error);
    if (fs::exists(old) && !(fs::is_regular_file(old) && mayWrite(target))) {
        return false;  // a folder, device or FIFO, or a file the user may not write
    }
    const std::optional<fs::path> temporary = temporaryPathBeside(target);
    switch (temporary ? writeWhole(*temporary, bytes) : Written::NotOpened) {
        case Written::NotOpened:
            // No new file in this folder: an existing file is saved in place instead.
            return fs::exists(old) && writeWhole(target, bytes) == Written::Done && flush(target);
        case Written::Failed:
            fs::remove(*temporary, error);
            return false;
        case Written::Done:
            break;
    }
    return replaceWith(*temporary, target, old, flush);
}

}  // namespace kestrova
