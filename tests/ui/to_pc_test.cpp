// SPDX-License-Identifier: MIT
// To PC Save and Load through the editor's buttons and file-dialog seam.
#include <fstream>

#include "editor_fixture.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

TEST_F(EditorTest, SaveThenLoadRestoresThePageAndShowsIt) {
    TempDir dir;
    PageRecord record = defaultPageRecord();
    record.pageName = {'W', 'a', 'l', 'k', 0, 0, 0};
    record.pageNum = 4;
    record.repeat = 9;
    motionPage.setRecord(record);
    files.savePath = dir / "walk.kpf";
    click(id::kPcSave);
    EXPECT_EQ(std::filesystem::file_size(*files.savePath), 203u);

    click(id::kResetPage);
    files.openPath = files.savePath;
    click(id::kPcLoad);
    EXPECT_EQ(motionPage.getRecord(), record);
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Walk");
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "4");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "9");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditorTest, CancelledDialogsChangeNothing) {
    TempDir dir;
    choose(id::kPageNumCombo, 3);
    const PageRecord before = motionPage.getRecord();
    click(id::kPcSave);
    click(id::kPcLoad);
    EXPECT_EQ(motionPage.getRecord(), before);
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "3");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditorTest, ShortOrMissingFilesAndUnwritablePlacesAreRefused) {
    TempDir dir;
    const std::filesystem::path shortFile = dir / "short.kpf";
    std::ofstream(shortFile, std::ios::binary) << std::string(100, 'x');
    choose(id::kPageNumCombo, 2);
    const PageRecord before = motionPage.getRecord();
    files.openPath = shortFile;
    click(id::kPcLoad);
    files.openPath = dir / "missing.kpf";
    click(id::kPcLoad);
    files.savePath = dir / "no-such-folder" / "page.kpf";
    click(id::kPcSave);
    EXPECT_EQ(motionPage.getRecord(), before);
    EXPECT_EQ(boxes.texts(),
              (std::vector<QString>{"can't load file!", "can't load file!", "can't save file!"}));
    for (const MessageRequest& box : boxes.shown) {
        EXPECT_EQ(box.caption, "error");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.icon, MessageIcon::None);
    }
}

}  // namespace
}  // namespace kestrova::test
