// SPDX-License-Identifier: MIT
// The page controls against the page object, and which changes repaint the step table.
#include <QLineEdit>

#include "editor_fixture.h"

namespace kestrova::test {
namespace {

// Counts paint events of one widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* target) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

TEST_F(EditorTest, PageListsStoreTheChosenEntryAndOnlyEnableStepRepaints) {
    struct {
        int controlId, index;
        std::uint8_t PageRecord::*field;
        int stored;
        bool repaints;
    } const cases[] = {
        {id::kPageNumCombo, 19, &PageRecord::pageNum, 19, false},
        {id::kNextPageCombo, 0, &PageRecord::nextPage, 0, false},  // "None"
        {id::kNextPageCombo, 19, &PageRecord::nextPage, 19, false},
        {id::kEnableStepCombo, 7, &PageRecord::enableStep, 7, true},
        {id::kRepeatCombo, 253, &PageRecord::repeat, 254, false},
        {id::kRepeatCombo, 0, &PageRecord::repeat, 1, false},
        {id::kStepCombo, 3, &PageRecord::repeat, 1, false},  // choosing a STEP loads nothing
    };
    PaintCounter counter(dlg->control(id::kStepTable));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.controlId << " entry " << c.index);
        QApplication::processEvents();
        counter.paints = 0;
        choose(c.controlId, c.index);
        QApplication::processEvents();
        EXPECT_EQ(+(motionPage.getRecord().*c.field), c.stored);
        EXPECT_EQ(counter.paints > 0, c.repaints);
    }
    QTest::keyClicks(dlg->control(id::kPageNameEdit), "x");
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
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

}  // namespace
}  // namespace kestrova::test
