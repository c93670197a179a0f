// SPDX-License-Identifier: MIT
// Start-up state, keys that must not close the window, the menu's Exit and About items, and
// how the window and the program end.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>

#include "editor_fixture.h"
#include "pty_port.h"
#include "ui/about_dlg.h"
#include "ui/editor_app.h"

namespace kestrova::test {
namespace {

QAction* fileMenuAction(CEditorDlg& dlg, int command) {
    QMenu* file = dlg.menuBar()->actions().first()->menu();
    for (QAction* action : file->actions()) {
        if (action->objectName() == QStringLiteral("command%1").arg(command)) {
            return action;
        }
    }
    return nullptr;
}

TEST_F(EditorTest, StartsOnTheDefaultPageWithEmptyStepFields) {
    EXPECT_EQ(dlg->readText(id::kPageNameEdit), "Noname");
    EXPECT_EQ(dlg->readText(id::kPageNumCombo), "0");
    EXPECT_EQ(dlg->readText(id::kEnableStepCombo), "0");
    EXPECT_EQ(dlg->readText(id::kNextPageCombo), "None");
    EXPECT_EQ(dlg->readText(id::kRepeatCombo), "1");
    EXPECT_EQ(dlg->readText(id::kStepCombo), "0");
    for (int editId = 1000; editId <= 1023; ++editId) {
        EXPECT_TRUE(dlg->readText(editId).isEmpty()) << editId;
    }
    EXPECT_FALSE(widget<QCheckBox>(id::kLinkToTarget)->isChecked());
    EXPECT_FALSE(widget<QCheckBox>(id::kPositionLock)->isChecked());
    auto* repeat = widget<QComboBox>(id::kRepeatCombo);
    ASSERT_EQ(repeat->count(), 254);
    EXPECT_EQ(repeat->itemText(0), "1");
    EXPECT_EQ(repeat->itemText(253), "254");
    EXPECT_EQ(widget<QLabel>(id::kRobotPicture)->parentWidget(), dlg->control(id::kPictureFrame));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dlg->port().connected);
}

TEST_F(EditorTest, PageNameRefusesAnEighthCharacterAndWideCharacters) {
    auto* edit = widget<QLineEdit>(id::kPageNameEdit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "ABCDEFGH");
    EXPECT_EQ(edit->text(), "ABCDEFG");
    edit->selectAll();
    typeText(edit, QString::fromUtf8("a한b"));
    EXPECT_EQ(edit->text(), "ab");
}

TEST_F(EditorTest, EnterAndEscapeNeverCloseTheWindowOrPressAButton) {
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    QSignalSpy resetClicked(widget<QPushButton>(id::kResetStep), &QPushButton::clicked);
    const int focused[] = {id::kResetStep, id::kPageNameEdit, id::kRepeatCombo, 1000};
    for (int controlId : focused) {
        dlg->control(controlId)->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(dlg->control(controlId), key);
        }
    }
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(resetClicked.count(), 0);
    EXPECT_TRUE(dlg->readText(1000).isEmpty());  // step Reset would have written 100
}

TEST_F(EditorTest, FileExitLeavesTheWindowOpen) {
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    QAction* exit = fileMenuAction(*dlg, id::kFileExit);
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(EditorTest, AboutItemEndsTheFileMenuAndOpensTheAboutBox) {
    const QList<QAction*> items = dlg->menuBar()->actions().first()->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QString::fromUtf8("Tandrel 정보(&A)..."));
    QString caption;
    QString text;
    whenModalShown(dlg.get(), [&](QWidget* about) {
        caption = about->windowTitle();
        text = about->findChild<QLabel*>("static1")->text();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    items[2]->trigger();
    EXPECT_EQ(caption, "Tandrel ??");
    EXPECT_EQ(text, "Tandrel ?? 1.0");
    // System commands 16 to 31 all open it; its button closes it.
    bool opened = false;
    whenModalShown(dlg.get(), [&](QWidget* about) {
        opened = true;
        QTest::mouseClick(about->findChild<QPushButton*>("control1"), Qt::LeftButton);
    });
    dlg->onSysCommand(31);
    EXPECT_TRUE(opened);
}

TEST_F(EditorTest, CloseButtonEndsTheModalRunAndTheOpenPortCloses) {
    PtyPort pty;
    ASSERT_TRUE(pty.isOpen());
    dlg->onConnect();
    ASSERT_EQ(dlg->port().connected, 1);
    dlg->hide();
    whenModalShown(nullptr, [](QWidget* window) { window->close(); });
    EXPECT_EQ(dlg->doModal(), QDialog::Rejected);
    dlg.reset();  // the window object goes, and its port with it
    // The device is free again: a new window can open it.
    dlg = std::make_unique<CEditorDlg>(&boxes, &files);
    dlg->onConnect();
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"COM1 open.", "COM1 open."}));
}

TEST(EditorApp, InitInstanceRunsTheWindowUntilClosedAndReturnsZero) {
    motionPage.reset();
    QString title;
    whenModalShown(nullptr, [&](QWidget* window) {
        title = window->windowTitle();
        window->close();
    });
    EXPECT_EQ(CEditorApp().initInstance(), 0);
    EXPECT_EQ(title, "Kestrova");
}

}  // namespace
}  // namespace kestrova::test
