// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "model/motion_page.h"
#include "model/page_file.h"
#include "support/temp_dir.h"

using namespace kestrova;
namespace fs = std::filesystem;

namespace {

class ScriptedDialogs : public PageFileDialogs {
  public:
    std::optional<fs::path> path;  // nothing: the user cancels
    std::vector<std::string> errors;

    std::optional<fs::path> chooseSavePath() override { return path; }
    std::optional<fs::path> chooseOpenPath() override { return path; }
    void showFileError(std::string_view text) override { errors.emplace_back(text); }
};

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

PageRecord distinctivePage() {
    PageRecord record = defaultPageRecord();
    record.pageName = {'S', 't', 'a', 'n', 'd', 'U', 'p'};
    record.pageNum = 19;
    record.acc[3] = 0xFE;
    return record;
}

std::size_t entriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace

TEST(PageFile, SaveThenLoadRestoresThePageFromA203ByteFile) {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    CMotionPage page;
    page.setRecord(distinctivePage());
    EXPECT_EQ(page.saveToFile(dialogs), 1) << "a cancelled save is no failure";
    EXPECT_EQ(page.loadFromFile(dialogs), 1);

    dialogs.path = dir / "walk.kpf";
    writeBytes(*dialogs.path, std::vector<std::uint8_t>(500, 1));  // an older, longer file
    ASSERT_EQ(page.saveToFile(dialogs), 1);
    EXPECT_EQ(fs::file_size(*dialogs.path), kPageRecordSize);
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file may be left behind";

    CMotionPage loaded;
    ASSERT_EQ(loaded.loadFromFile(dialogs), 1);
    EXPECT_EQ(loaded.getRecord(), distinctivePage());
    EXPECT_EQ(loaded.checkNotBusy(), 1);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST(PageFile, ShortMissingOrFolderFilesAreRefusedAndThePageKept) {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    CMotionPage page;
    page.setRecord(distinctivePage());
    for (std::size_t size : {std::size_t{0}, std::size_t{100}, kPageRecordSize - 1}) {
        dialogs.path = dir / "short.kpf";
        writeBytes(*dialogs.path, std::vector<std::uint8_t>(size, 7));
        EXPECT_EQ(page.loadFromFile(dialogs), 0) << size << " bytes";
    }
    for (const fs::path& path : {dir / "missing.kpf", dir.path()}) {
        dialogs.path = path;
        EXPECT_EQ(page.loadFromFile(dialogs), 0) << path;
    }
    EXPECT_EQ(page.getRecord(), distinctivePage());
    EXPECT_EQ(dialogs.errors, std::vector<std::string>(5, "can't load file!"));

    // A longer file gives its first 203 bytes.
    const PageBytes record = toBytes(defaultPageRecord());
    std::vector<std::uint8_t> longer(record.begin(), record.end());
    longer.resize(300, 0xAB);
    writeBytes(dir / "long.kpf", longer);
    EXPECT_EQ(readPageFile(dir / "long.kpf"), defaultPageRecord());
}

TEST(PageFile, FailedSaveLeavesTheOldFileIntact) {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    CMotionPage page;
    fs::create_directory(dir / "folder.kpf");  // a folder cannot be replaced by a file
    dialogs.path = dir / "folder.kpf";
    EXPECT_EQ(page.saveToFile(dialogs), 0);
    EXPECT_TRUE(fs::is_directory(*dialogs.path));

    // A name so long that no temporary file fits beside it: the good file must survive.
    const fs::path good = dir / (std::string(240, 'g') + ".kpf");
    const PageBytes goodBytes = toBytes(distinctivePage());
    writeBytes(good, {goodBytes.begin(), goodBytes.end()});
    dialogs.path = good;
    EXPECT_EQ(page.saveToFile(dialogs), 0);
    EXPECT_EQ(readPageFile(good), distinctivePage());
    EXPECT_EQ(dialogs.errors, std::vector<std::string>(2, "can't save file!"));
    EXPECT_EQ(entriesIn(dir.path()), 2u) << "no temporary file may be left behind";
    EXPECT_EQ(page.checkNotBusy(), 1);
}

TEST(PageFile, SaveThroughASymbolicLinkReplacesTheFileItNames) {
    test::TempDir dir;
    ASSERT_TRUE(writePageFile(dir / "real.kpf", defaultPageRecord()));
    std::error_code noLinks;
    fs::create_symlink(dir / "real.kpf", dir / "link.kpf", noLinks);
    if (noLinks) {
        GTEST_SKIP() << "this system makes no symbolic links: " << noLinks.message();
    }
    ASSERT_TRUE(writePageFile(dir / "link.kpf", distinctivePage()));
    EXPECT_TRUE(fs::is_symlink(dir / "link.kpf"));
    EXPECT_EQ(readPageFile(dir / "real.kpf"), distinctivePage());
}
