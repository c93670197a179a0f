// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "src/model/motion_page.h"
#include "src/model/page_file.h"
#include "tests/support/sample_page.h"
#include "tests/support/temp_dir.h"

using namespace kestrova;
namespace fs = std::filesystem;

namespace {

void writeBytes(const fs::path& path, const test::Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
}

}  // namespace

// Saving over a longer file leaves exactly the record; a save that fails leaves what was
// there. Neither leaves a temporary file.
TEST(PageFile, SaveReplacesAFileWhollyOrNotAtAll) {
    test::TempDir dir;
    CMotionPage page;
    page.setRecord(test::samplePage());
    writeBytes(dir / "walk.kpf", test::Bytes(500, 1));
    ASSERT_EQ(page.saveToFile(dir / "walk.kpf", test::noFlush), 1);
    EXPECT_EQ(fs::file_size(dir / "walk.kpf"), kPageRecordSize);
    CMotionPage loaded;
    ASSERT_EQ(loaded.loadFromFile(dir / "walk.kpf"), 1);
    EXPECT_EQ(loaded.getRecord(), test::samplePage());

    fs::create_directory(dir / "folder.kpf");  // a folder cannot be replaced by a file
    EXPECT_EQ(page.saveToFile(dir / "folder.kpf", test::noFlush), 0);
    EXPECT_TRUE(fs::is_directory(dir / "folder.kpf"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2) << "no temporary file";
}

TEST(PageFile, ShortMissingOrFolderFilesAreRefusedAndLongerOnesGiveTheirFirstRecord) {
    test::TempDir dir;
    CMotionPage page;
    page.setRecord(test::samplePage());
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, kPageRecordSize - 1}) {
        writeBytes(dir / "short.kpf", test::Bytes(size, 7));
        EXPECT_EQ(page.loadFromFile(dir / "short.kpf"), 0) << size << " bytes";
    }
    for (const fs::path& path : {dir / "missing.kpf", dir.path()}) {
        EXPECT_EQ(page.loadFromFile(path), 0) << path;
    }
    EXPECT_EQ(page.getRecord(), test::samplePage());

    test::Bytes longer = test::bytesOf(toBytes(defaultPageRecord()));
    longer.resize(300, 0xAB);
    writeBytes(dir / "long.kpf", longer);
    EXPECT_EQ(readPageFile(dir / "long.kpf"), defaultPageRecord());
}

TEST(PageFile, SaveThroughASymbolicLinkReplacesTheFileItNames) {
    test::TempDir dir;
    ASSERT_TRUE(writePageFile(dir / "real.kpf", defaultPageRecord(), test::noFlush));
    std::error_code noLinks;
    fs::create_symlink(dir / "real.kpf", dir / "link.kpf", noLinks);
    if (noLinks) {
        GTEST_SKIP() << "this system makes no symbolic links: " << noLinks.message();
    }
    ASSERT_TRUE(writePageFile(dir / "link.kpf", test::samplePage(), test::noFlush));
    EXPECT_TRUE(fs::is_symlink(dir / "link.kpf"));
    EXPECT_EQ(readPageFile(dir / "real.kpf"), test::samplePage());
}
