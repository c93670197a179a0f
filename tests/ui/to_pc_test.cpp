// SPDX-License-Identifier: MIT
// To PC Save and Load through the editor's buttons, and the real page-file dialogs. The page
// file's edge cases are the model's tests; a load that refreshes the controls runs end to end.
#include <QFileDialog>

#include "editor_fixture.h"
#include "model/page_file.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

TEST_F(EditorTest, SaveWritesThePageCancelChangesNothingAndFailuresShowErrorBoxes) {
    TempDir dir;
    choose(id::kPageNumCombo, 2);
    const PageRecord before = motionPage.getRecord();
    click(id::kPcSave);  // cancelled: no path
    click(id::kPcLoad);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    files.savePath = dir / "walk.kpf";
    click(id::kPcSave);
    EXPECT_EQ(readPageFile(*files.savePath), before);

    files.openPath = dir / "missing.kpf";
    click(id::kPcLoad);
    files.savePath = dir / "no-such-folder" / "page.kpf";
    click(id::kPcSave);
    EXPECT_EQ(motionPage.getRecord(), before);
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "2");
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"can't load file!", "can't save file!"}));
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
