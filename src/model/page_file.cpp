// SPDX-License-Identifier: MIT
#include "model/page_file.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

// A name in the target's folder that no other save of this process uses at the same time.
fs::path temporaryPathBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = fs::file_time_type::clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << target.filename().string() << '.' << stamp << '.' << counter++ << ".tmp";
    return target.parent_path() / name.str();
}

// Save through a symbolic link into the file it names, not over the link itself.
fs::path resolveTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        fs::path resolved = fs::weakly_canonical(path, error);
        if (!error) {
            return resolved;
        }
    }
    return path;
}

bool writeWhole(const fs::path& path, const PageBytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace

std::optional<PageRecord> readPageFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    PageBytes bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        return std::nullopt;
    }
    return fromBytes(bytes);
}

bool writePageFile(const fs::path& path, const PageRecord& record) {
    const fs::path target = resolveTarget(path);
    const fs::path temporary = temporaryPathBeside(target);
    std::error_code error;
    if (!writeWhole(temporary, toBytes(record))) {
        fs::remove(temporary, error);
        return false;
    }
    // Keep the permissions of a file that is being replaced.
    const fs::file_status old = fs::status(target, error);
    if (!error && fs::is_regular_file(old)) {
        fs::permissions(temporary, old.permissions(), error);
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace kestrova
