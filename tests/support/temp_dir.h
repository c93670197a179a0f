// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace kestrova::test {

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    // Portable (Windows builds run these tests too): a random name that did not exist yet.
    // A folder that cannot be made (an unwritable TMPDIR) throws with the system's reason.
    TempDir() {
        std::random_device random;
        for (int tries = 0; path_.empty(); ++tries) {
            auto candidate =
                std::filesystem::temp_directory_path() / ("kestrova-" + std::to_string(random()));
            std::error_code failed;
            if (std::filesystem::create_directory(candidate, failed)) {
                path_ = std::move(candidate);
            } else if (failed || tries == 100) {
                throw std::filesystem::filesystem_error("no temporary folder", candidate, failed);
            }
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// The flush handed to page-file saves that only prepare a test's files.
inline bool noFlush(const std::filesystem::path&) {
    return true;
}

// A file's bytes; empty when there is none.
inline std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// `text` with the first `from` in it replaced by `to`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

}  // namespace kestrova::test
