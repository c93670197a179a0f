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

PageName nameOf(const CMotionPage& page) {
    PageName name{};
    page.getPageName(name);
    return name;
}

TEST_F(EditorTest, PageListsStoreTheChosenEntry) {
    choose(id::kPageNumCombo, 19);
    EXPECT_EQ(motionPage.getPageNum(), 19);
    choose(id::kNextPageCombo, 0);
    EXPECT_EQ(motionPage.getNextPage(), 0);  // "None"
    choose(id::kNextPageCombo, 19);
    EXPECT_EQ(motionPage.getNextPage(), 19);
    choose(id::kEnableStepCombo, 7);
    EXPECT_EQ(motionPage.getEnableStep(), 7);
    choose(id::kRepeatCombo, 253);
    EXPECT_EQ(motionPage.getRepeat(), 254);
    choose(id::kRepeatCombo, 0);
    EXPECT_EQ(motionPage.getRepeat(), 1);
    // Choosing a STEP loads nothing.
    choose(id::kStepCombo, 3);
    EXPECT_TRUE(dlg->readText(1000).isEmpty());
}

TEST_F(EditorTest, OnlyEnableStepRepaintsTheStepTable) {
    PaintCounter counter(dlg->control(id::kStepTable));
    const auto paintsAfter = [&](int controlId, int index) {
        QApplication::processEvents();
        counter.paints = 0;
        choose(controlId, index);
        QApplication::processEvents();
        return counter.paints;
    };
    EXPECT_GT(paintsAfter(id::kEnableStepCombo, 4), 0);
    EXPECT_EQ(paintsAfter(id::kPageNumCombo, 4), 0);
    EXPECT_EQ(paintsAfter(id::kNextPageCombo, 4), 0);
    EXPECT_EQ(paintsAfter(id::kRepeatCombo, 4), 0);
    counter.paints = 0;
    QTest::keyClicks(dlg->control(id::kPageNameEdit), "x");
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
}

TEST_F(EditorTest, PageNameIsStoredNulPaddedAsItIsTyped) {
    auto* edit = widget<QLineEdit>(id::kPageNameEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "Hi");
    EXPECT_EQ(nameOf(motionPage), (PageName{'H', 'i', 0, 0, 0, 0, 0}));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(nameOf(motionPage), PageName{});
    // Latin-1 beyond ASCII is one byte each.
    typeText(edit, QString::fromLatin1("\xE9t\xE9"));
    EXPECT_EQ(nameOf(motionPage), (PageName{0xE9, 't', 0xE9, 0, 0, 0, 0}));
}

TEST_F(EditorTest, RefreshShowsThePageAndLeavesStepFieldsAlone) {
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
    EXPECT_EQ(dlg->readUnsigned(id::kPageNumCombo), 0u);
    EXPECT_EQ(dlg->readText(id::kEnableStepCombo), "7");
    EXPECT_EQ(dlg->readText(id::kNextPageCombo), "3");
    EXPECT_EQ(dlg->selectedIndex(id::kRepeatCombo), -1);
    EXPECT_EQ(dlg->readText(id::kStepCombo), "0");
    EXPECT_EQ(dlg->readText(1005), "42");
    // Showing the values stored nothing back; choosing an entry stores it.
    EXPECT_EQ(motionPage.getRecord(), record);
    choose(id::kRepeatCombo, 9);
    EXPECT_EQ(motionPage.getRepeat(), 10);
}

TEST_F(EditorTest, PageResetShowsTheDefaultPageAndKeepsStepFields) {
    choose(id::kPageNumCombo, 7);
    choose(id::kEnableStepCombo, 2);
    dlg->writeUnsigned(1021, 9);
    click(id::kResetPage);
    EXPECT_EQ(motionPage.getRecord(), defaultPageRecord());
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Noname");
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "0");
    EXPECT_EQ(dlg->readText(id::kEnableStepCombo), "0");
    EXPECT_EQ(dlg->readText(id::kNextPageCombo), "None");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "1");
    EXPECT_EQ(dlg->readText(1021), "9");
}

TEST_F(EditorTest, ControlReadsFollowTheDialogItemRules) {
    dlg->writeText(1000, "300");
    EXPECT_EQ(dlg->readUnsigned(1000), 300u);
    dlg->writeText(1000, "");
    EXPECT_EQ(dlg->readUnsigned(1000), 0u);
    dlg->writeText(id::kPageNameEdit, "12ab");
    EXPECT_EQ(dlg->readUnsigned(id::kPageNameEdit), 0u);
    dlg->writeText(id::kAccEdit, "99999999999");
    EXPECT_EQ(dlg->readUnsigned(id::kAccEdit), 0u);
    dlg->selectIndex(id::kStepCombo, 8);
    EXPECT_EQ(dlg->selectedIndex(id::kStepCombo), -1);
    EXPECT_EQ(dlg->readText(id::kStepCombo), "");
}

}  // namespace
}  // namespace kestrova::test
