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

PageName storedName() {
    PageName name{};
    motionPage.getPageName(name);
    return name;
}

struct ListCase {
    int controlId;
    int index;
    int (*stored)();
    int expected;
    bool repaints;
};

TEST_F(EditorTest, PageListsStoreTheChosenEntryAndOnlyEnableStepRepaints) {
    const auto pageNum = [] { return int{motionPage.getPageNum()}; };
    const auto nextPage = [] { return int{motionPage.getNextPage()}; };
    const auto repeat = [] { return int{motionPage.getRepeat()}; };
    const ListCase cases[] = {
        {id::kPageNumCombo, 19, pageNum, 19, false},
        {id::kNextPageCombo, 0, nextPage, 0, false},  // "None"
        {id::kNextPageCombo, 19, nextPage, 19, false},
        {id::kEnableStepCombo, 7, [] { return int{motionPage.getEnableStep()}; }, 7, true},
        {id::kRepeatCombo, 253, repeat, 254, false},
        {id::kRepeatCombo, 0, repeat, 1, false},
    };
    PaintCounter counter(dlg->control(id::kStepTable));
    for (const ListCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.controlId << " entry " << c.index);
        QApplication::processEvents();
        counter.paints = 0;
        choose(c.controlId, c.index);
        QApplication::processEvents();
        EXPECT_EQ(c.stored(), c.expected);
        EXPECT_EQ(counter.paints > 0, c.repaints);
    }
    counter.paints = 0;
    QTest::keyClicks(dlg->control(id::kPageNameEdit), "x");
    choose(id::kStepCombo, 3);  // choosing a STEP loads nothing
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(dlg->readText(1000).isEmpty());
}

TEST_F(EditorTest, PageNameStoresUpToSevenSingleByteCharactersNulPadded) {
    auto* edit = widget<QLineEdit>(id::kPageNameEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "ABCDEFGH");
    EXPECT_EQ(edit->text(), "ABCDEFG");
    EXPECT_EQ(storedName(), (PageName{'A', 'B', 'C', 'D', 'E', 'F', 'G'}));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(storedName(), PageName{});
    // Latin-1 beyond ASCII is one byte each; wider characters are refused.
    typeText(edit, QString::fromUtf8("\u00e9한t\u00e9"));
    EXPECT_EQ(edit->text(), QString::fromUtf8("\u00e9t\u00e9"));
    EXPECT_EQ(storedName(), (PageName{0xE9, 't', 0xE9, 0, 0, 0, 0}));
}

TEST_F(EditorTest, RefreshAndPageResetShowThePageAndLeaveStepFieldsAlone) {
    dlg->writeUnsigned(1005, 42);
    choose(id::kStepCombo, 5);
    PageRecord record = defaultPageRecord();
    record.pageName = {'S', 'E', 'V', 'E', 'N', 'C', 'H'};
    record.pageNum = 25;  // no entry shows it
    record.enableStep = 7;
    record.nextPage = 3;
    record.repeat = 0;  // no entry shows it
    motionPage.setRecord(record);
    dlg->refreshPageControls();
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "SEVENCH");
    EXPECT_EQ(dlg->selectedIndex(id::kPageNumCombo), -1);
    EXPECT_EQ(dlg->readText(id::kEnableStepCombo), "7");
    EXPECT_EQ(dlg->readText(id::kNextPageCombo), "3");
    EXPECT_EQ(dlg->selectedIndex(id::kRepeatCombo), -1);
    EXPECT_EQ(dlg->readText(id::kStepCombo), "0");
    EXPECT_EQ(dlg->readText(1005), "42");
    EXPECT_EQ(motionPage.getRecord(), record);  // showing the values stored nothing back

    click(id::kResetPage);
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Noname");
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "0");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "1");
    EXPECT_EQ(dlg->readText(1005), "42");
}

TEST_F(EditorTest, ControlReadsFollowTheDialogItemRules) {
    const std::pair<const char*, unsigned> reads[] = {
        {"300", 300}, {"", 0}, {"12ab", 0}, {"99999999999", 0}};
    for (const auto& [text, value] : reads) {
        dlg->writeText(id::kAccEdit, text);
        EXPECT_EQ(dlg->readUnsigned(id::kAccEdit), value) << text;
    }
    dlg->selectIndex(id::kStepCombo, 8);
    EXPECT_EQ(dlg->selectedIndex(id::kStepCombo), -1);
    EXPECT_EQ(dlg->readText(id::kStepCombo), "");
}

}  // namespace
}  // namespace kestrova::test
