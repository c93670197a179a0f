// SPDX-License-Identifier: MIT
// To PC Save and Load through the editor's buttons, and the real page-file dialogs.
#include <QFileDialog>
#include <QLineEdit>
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
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Walk");
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "4");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "9");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditorTest, ShortOrMissingFilesAndUnwritablePlacesAreRefused) {
    TempDir dir;
    const std::filesystem::path shortFile = dir / "short.kpf";
    std::ofstream(shortFile, std::ios::binary) << std::string(100, 'x');
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
        EXPECT_EQ(box.caption, "error");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.icon, MessageIcon::None);
    }
}

// The real dialogs: only page files offered, overwrite confirmed, cancel gives nothing, and a
// name typed without extension gets ".kpf".
TEST(PageFileDialogs, OfferOnlyPageFilesAndAppendTheSuffix) {
    RecordingMessageBoxes boxes;
    QtPageFileDialogs dialogs(boxes);
    TempDir dir;
    for (bool saving : {true, false}) {
        bool fileDialog = false;
        QStringList filters;
        whenModalShown(nullptr, [&](QWidget* modal) {
            if (auto* seen = qobject_cast<QFileDialog*>(modal)) {
                fileDialog = true;
                filters = seen->nameFilters();
                EXPECT_EQ(seen->defaultSuffix(), "kpf");
                EXPECT_FALSE(seen->testOption(QFileDialog::DontConfirmOverwrite));
            }
            modal->close();
        });
        EXPECT_EQ(saving ? dialogs.chooseSavePath() : dialogs.chooseOpenPath(), std::nullopt);
        EXPECT_TRUE(fileDialog);
        EXPECT_EQ(filters, QStringList{"Kestrova Page File (*.kpf)"});
    }
    whenModalShown(nullptr, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
        if (dialog == nullptr || name == nullptr) {
            modal->close();  // fails below instead of waiting
            return;
        }
        dialog->setDirectory(QString::fromStdString(dir.path().string()));
        name->setText("walk");
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseSavePath(), std::optional(dir / "walk.kpf"));
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace kestrova::test
