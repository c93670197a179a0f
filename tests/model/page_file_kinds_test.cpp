// SPDX-License-Identifier: MIT
// What a page file may be and how a save replaces one: regular files only, never blocking on
// a FIFO, never writing what the user may not write, the data on disk before the rename.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "src/model/page_file.h"
#include "tests/support/temp_dir.h"

using namespace kestrova;
namespace fs = std::filesystem;

namespace {

// The pages saved here: an old one of zeros, then the default page.
std::string held(const fs::path& file) {
    return readPageFile(file) == defaultPageRecord() ? "new" : "old";
}

}  // namespace

// A FIFO would block the open until a writer comes; a device would be read as a page. A save
// keeps the old file's mode, fits a name of any length and flushes the data before the rename.
TEST(PageFileKinds, OnlyRegularFilesAreUsedAndASaveIsFlushedBeforeTheRename) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.kpf").c_str(), 0644), 0);
    fs::create_symlink(dir / "pipe.kpf", dir / "to-pipe.kpf");
    fs::create_symlink("/dev/zero", dir / "zero.kpf");
    for (const char* name : {"pipe.kpf", "to-pipe.kpf", "zero.kpf"}) {
        EXPECT_EQ(readPageFile(dir / name), std::nullopt) << name;
    }
    // Saving is tried on the FIFO only: a system device must never be written, even in error.
    for (const char* name : {"pipe.kpf", "to-pipe.kpf"}) {
        EXPECT_FALSE(writePageFile(dir / name, defaultPageRecord(), test::noFlush)) << name;
    }
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(dir / "pipe.kpf")));

    static fs::path target;  // where the flush below looks
    target = dir / (std::string(250, 'g') + ".kpf");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    ASSERT_TRUE(writePageFile(target, PageRecord{}, test::noFlush));
    fs::permissions(target, mode);
    // Records each flush: the page flushed over the page the target holds. The first one fails.
    static std::vector<std::string> flushes;
    const FlushToDisk recorded = [](const fs::path& path) {
        const bool folder = path == target.parent_path();
        flushes.push_back((folder ? "folder " : "file ") + held(folder ? target : path) + " over " +
                          held(target));
        return flushes.size() > 1;
    };
    EXPECT_FALSE(writePageFile(target, defaultPageRecord(), recorded));
    EXPECT_TRUE(writePageFile(target, defaultPageRecord(), recorded));
    EXPECT_EQ(flushes, (std::vector<std::string>{"file new over old", "file new over old",
                                                 "folder new over new"}));
    EXPECT_EQ(fs::status(target).permissions(), mode);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 4) << "no temporary file";
}

TEST(PageFileKinds, WhatTheUserMayNotWriteIsLeftAloneAndAProtectedFolderIsSavedInPlace) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root, which may write to 0444 files and 0555 folders";
    }
    test::TempDir dir;
    ASSERT_TRUE(writePageFile(dir / "kept.kpf", PageRecord{}, test::noFlush));
    fs::permissions(dir / "kept.kpf", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(writePageFile(dir / "kept.kpf", defaultPageRecord(), test::noFlush));
    EXPECT_EQ(held(dir / "kept.kpf"), "old");

    ASSERT_TRUE(writePageFile(dir / "page.kpf", PageRecord{}, test::noFlush));
    fs::create_hard_link(dir / "page.kpf", dir / "link.kpf");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(writePageFile(dir / "new.kpf", defaultPageRecord(), test::noFlush));
    EXPECT_TRUE(writePageFile(dir / "page.kpf", defaultPageRecord(), test::noFlush));
    EXPECT_EQ(held(dir / "link.kpf"), "new") << "saved in place";
}
