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
    std::optional<fs::path> path;
    std::vector<std::string> errors;

    std::optional<fs::path> chooseSavePath() override { return path; }
    std::optional<fs::path> chooseOpenPath() override { return path; }
    void showFileError(std::string_view text) override { errors.emplace_back(text); }
};

std::vector<std::uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

PageRecord distinctivePage() {
    CMotionPage page;
    const PageName name{'S', 't', 'a', 'n', 'd', 'U', 'p'};
    page.setPageName(name);
    page.setPageNum(19);
    page.setEnableStep(7);
    page.setRepeat(254);
    page.setAcc(3, 0xFE);
    return page.getRecord();
}

std::size_t entriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace

TEST(PageFile, SaveThenLoadRestoresThePageAsA203ByteFile) {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    dialogs.path = dir / "walk.kpf";

    CMotionPage page;
    page.setRecord(distinctivePage());
    ASSERT_EQ(page.saveToFile(dialogs), 1);
    const auto bytes = readAll(*dialogs.path);
    ASSERT_EQ(bytes.size(), kPageRecordSize);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 7), "StandUp");
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file may be left behind";

    CMotionPage loaded;
    ASSERT_EQ(loaded.loadFromFile(dialogs), 1);
    EXPECT_EQ(loaded.getRecord(), distinctivePage());
    EXPECT_EQ(loaded.checkNotBusy(), 1);
    EXPECT_TRUE(dialogs.errors.empty());

    // Saving over an existing file replaces it whole.
    loaded.reset();
    ASSERT_EQ(loaded.saveToFile(dialogs), 1);
    EXPECT_EQ(readAll(*dialogs.path).size(), kPageRecordSize);
    EXPECT_EQ(readPageFile(*dialogs.path), defaultPageRecord());
}

TEST(PageFile, CancelledDialogsChangeNothingAndReportSuccess) {
    ScriptedDialogs dialogs;  // no path: the user cancelled
    CMotionPage page;
    page.setRecord(distinctivePage());
    EXPECT_EQ(page.loadFromFile(dialogs), 1);
    EXPECT_EQ(page.saveToFile(dialogs), 1);
    EXPECT_EQ(page.getRecord(), distinctivePage());
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST(PageFile, ShortOrMissingFileIsRefusedAndThePageKept) {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    CMotionPage page;
    page.setRecord(distinctivePage());

    for (std::size_t size : {std::size_t{0}, std::size_t{100}, kPageRecordSize - 1}) {
        dialogs.path = dir / "short.kpf";
        writeAll(*dialogs.path, std::vector<std::uint8_t>(size, 7));
        EXPECT_EQ(page.loadFromFile(dialogs), 0) << size << " bytes";
        EXPECT_EQ(page.getRecord(), distinctivePage()) << size << " bytes";
    }
    dialogs.path = dir / "missing.kpf";
    EXPECT_EQ(page.loadFromFile(dialogs), 0);
    dialogs.path = dir.path();  // a folder is no page file
    EXPECT_EQ(page.loadFromFile(dialogs), 0);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>(5, "can't load file!"));
    EXPECT_EQ(page.checkNotBusy(), 1);
}

TEST(PageFile, LongFileGivesItsFirst203Bytes) {
    test::TempDir dir;
    const PageBytes wanted = toBytes(distinctivePage());
    std::vector<std::uint8_t> bytes(wanted.begin(), wanted.end());
    bytes.insert(bytes.end(), 50, 0xAB);
    writeAll(dir / "long.kpf", bytes);
    EXPECT_EQ(readPageFile(dir / "long.kpf"), distinctivePage());
}

TEST(PageFile, FailedSaveLeavesTheOldFileIntact) {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    CMotionPage page;

    // A target that is a folder cannot be replaced by a file.
    fs::create_directory(dir / "folder.kpf");
    dialogs.path = dir / "folder.kpf";
    EXPECT_EQ(page.saveToFile(dialogs), 0);
    EXPECT_TRUE(fs::is_directory(*dialogs.path));

    // A name so long that no temporary file fits beside it: the good file stays.
    const fs::path good = dir / (std::string(240, 'g') + ".kpf");
    const PageBytes goodBytes = toBytes(distinctivePage());
    writeAll(good, {goodBytes.begin(), goodBytes.end()});
    dialogs.path = good;
    EXPECT_EQ(page.saveToFile(dialogs), 0);
    EXPECT_EQ(readPageFile(good), distinctivePage());
    EXPECT_EQ(dialogs.errors, std::vector<std::string>(2, "can't save file!"));
    EXPECT_EQ(entriesIn(dir.path()), 2u) << "no temporary file may be left behind";
    EXPECT_EQ(page.checkNotBusy(), 1);
}

TEST(PageFile, SaveThroughASymbolicLinkReplacesTheFileItNames) {
    test::TempDir dir;
    const fs::path real = dir / "real.kpf";
    ASSERT_TRUE(writePageFile(real, defaultPageRecord()));
    fs::create_symlink(real, dir / "link.kpf");
    ASSERT_TRUE(writePageFile(dir / "link.kpf", distinctivePage()));
    EXPECT_TRUE(fs::is_symlink(dir / "link.kpf"));
    EXPECT_EQ(readPageFile(real), distinctivePage());
}
