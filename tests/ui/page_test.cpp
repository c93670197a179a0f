// SPDX-License-Identifier: MIT
// The page controls against the page object, and To PC
// Save and Load with the real page-file dialogs. The page file's edge cases are the model's
// tests; a load that refreshes the controls runs end to end.
#include <QFileDialog>
#include <QLineEdit>

#include "editor_fixture.h"
#include "model/page_file.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

// Choosing a STEP loads nothing; a name being typed leaves the step fields alone.
TEST_F(EditorTest, PageListsStoreTheChosenEntry) {
    const std::tuple<int, int, std::uint8_t PageRecord::*, int> cases[] = {
        {id::kPageNumCombo, 19, &PageRecord::pageNum, 19},
        {id::kNextPageCombo, 0, &PageRecord::nextPage, 0},  // "None"
        {id::kNextPageCombo, 19, &PageRecord::nextPage, 19},
        {id::kEnableStepCombo, 7, &PageRecord::enableStep, 7},
        {id::kRepeatCombo, 253, &PageRecord::repeat, 254},
        {id::kStepCombo, 3, &PageRecord::repeat, 254},
    };
    for (const auto& [controlId, index, field, stored] : cases) {
        choose(controlId, index);
        EXPECT_EQ(+(motionPage.getRecord().*field), stored) << controlId << " entry " << index;
    }
    QTest::keyClicks(dlg->control(id::kPageNameEdit), "x");
    EXPECT_EQ(dlg->readText(id::kMotorEdit0), "");
}

TEST_F(EditorTest, PageNameStoresUpToSevenSingleByteCharactersNulPadded) {
    auto* edit = widget<QLineEdit>(id::kPageNameEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "ABCDEFGH");
    EXPECT_EQ(motionPage.getRecord().pageName, (PageName{'A', 'B', 'C', 'D', 'E', 'F', 'G'}));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(motionPage.getRecord().pageName, PageName{});
    // Latin-1 beyond ASCII is one byte each; wider characters are refused.
    for (QChar c : QString::fromUtf8("\u00e9한t\u00e9")) {  // beyond what QTest can type
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(edit->text(), QString::fromUtf8("\u00e9t\u00e9"));
    EXPECT_EQ(motionPage.getRecord().pageName, (PageName{0xE9, 't', 0xE9, 0, 0, 0, 0}));
}

TEST_F(EditorTest, RefreshAndPageResetShowThePageAndLeaveStepFieldsAlone) {
    dlg->writeUnsigned(id::kMotorEdit0 + 5, 42);
    choose(id::kStepCombo, 5);
    PageRecord record = defaultPageRecord();
    record.pageName = {'S', 'E', 'V', 'E', 'N', 'C', 'H'};
    record.pageNum = kPageCount;  // no entry shows it
    record.enableStep = 7;
    record.nextPage = 3;
    record.repeat = 0;  // no entry shows it
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    EXPECT_EQ(readTexts({id::kPageNameEdit, id::kEnableStepCombo, id::kNextPageCombo,
                         id::kStepCombo, id::kMotorEdit0 + 5}),
              QStringList({"SEVENCH", "7", "3", "0", "42"}));
    EXPECT_EQ(dlg->selectedIndex(id::kPageNumCombo), -1);
    EXPECT_EQ(dlg->selectedIndex(id::kRepeatCombo), -1);
    EXPECT_EQ(motionPage.getRecord(), record);  // showing the values stored nothing back

    click(id::kResetPage);
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());
    EXPECT_EQ(
        readTexts({id::kPageNameEdit, id::kPageNumCombo, id::kRepeatCombo, id::kMotorEdit0 + 5}),
        QStringList({"Noname", "0", "1", "42"}));
}

TEST_F(EditorTest, SaveWritesThePageCancelChangesNothingAndFailuresShowErrorBoxes) {
    TempDir dir;
    click(id::kPcSave);  // cancelled: no path
    click(id::kPcLoad);
    files.savePath = dir / "page.kpf";
    click(id::kPcSave);
    EXPECT_EQ(readPageFile(*files.savePath), defaultPageRecord());
    files.openPath = dir / "missing.kpf";
    click(id::kPcLoad);
    files.savePath = dir / "no-such-folder" / "page.kpf";
    click(id::kPcSave);
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
