// SPDX-License-Identifier: MIT
// To PC Save and Load through the editor's buttons, and the real page-file dialogs.
#include <QFileDialog>
#include <fstream>

#include "editor_fixture.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

TEST_F(EditorTest, SaveThenLoadRestoresThePageAndCancellingChangesNothing) {
    TempDir dir;
    PageRecord record = defaultPageRecord();
    record.pageName = {'W', 'a', 'l', 'k', 0, 0, 0};
    record.pageNum = 4;
    record.repeat = 9;
    motionPage.setRecord(record);
    click(id::kPcSave);  // cancelled: no path
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    files.savePath = dir / "walk.kpf";
    click(id::kPcSave);
    EXPECT_EQ(std::filesystem::file_size(*files.savePath), 203u);

    click(id::kResetPage);
    click(id::kPcLoad);  // cancelled
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());
    files.openPath = files.savePath;
    click(id::kPcLoad);
    EXPECT_EQ(motionPage.getRecord(), record);
    EXPECT_EQ(readTexts({id::kPageNameEdit, id::kPageNumCombo, id::kRepeatCombo}),
              QStringList({"Walk", "4", "9"}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditorTest, ShortOrMissingFilesAndUnwritablePlacesAreRefused) {
    TempDir dir;
    std::ofstream(dir / "short.kpf", std::ios::binary) << std::string(100, 'x');
    choose(id::kPageNumCombo, 2);
    const PageRecord before = motionPage.getRecord();
    for (const char* name : {"short.kpf", "missing.kpf"}) {
        files.openPath = dir / name;
        click(id::kPcLoad);
    }
    files.savePath = dir / "no-such-folder" / "page.kpf";
    click(id::kPcSave);
    EXPECT_EQ(motionPage.getRecord(), before);
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "2");
    EXPECT_EQ(boxes.texts(),
              (std::vector<QString>{"can't load file!", "can't load file!", "can't save file!"}));
    for (const MessageRequest& box : boxes.shown) {
        EXPECT_EQ(std::tuple(box.caption, box.owner, box.icon),
                  std::tuple(QString("error"), nullptr, MessageIcon::None));
    }
}

// The real dialogs offer only page files, add the suffix, confirm an overwrite, and give
// nothing when cancelled.
TEST(PageFileDialogs, OfferOnlyPageFilesAndReturnNothingWhenCancelled) {
    RecordingMessageBoxes boxes;
    QtPageFileDialogs dialogs(boxes);
    for (bool saving : {true, false}) {
        QStringList seen;
        whenModalShown(nullptr, [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                seen = dialog->nameFilters();
                seen << dialog->defaultSuffix();
                EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            }
            modal->close();
        });
        EXPECT_EQ(saving ? dialogs.chooseSavePath() : dialogs.chooseOpenPath(), std::nullopt);
        EXPECT_EQ(seen, QStringList({"Kestrova Page File (*.kpf)", "kpf"}));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace kestrova::test
