// SPDX-License-Identifier: MIT
// Start-up state, keys and menu items that must not close the window, the About item, and how
// the window and the program end.
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>

#include "editor_fixture.h"
#include "pty_port.h"
#include "ui/editor_app.h"

namespace kestrova::test {
namespace {

TEST_F(EditorTest, StartsOnTheDefaultPageWithEmptyStepFields) {
    const std::pair<int, QString> shown[] = {
        {id::kPageNameEdit, "Noname"}, {id::kPageNumCombo, "0"}, {id::kEnableStepCombo, "0"},
        {id::kNextPageCombo, "None"},  {id::kRepeatCombo, "1"},  {id::kStepCombo, "0"}};
    for (const auto& [controlId, text] : shown) {
        EXPECT_EQ(dlg->readText(controlId), text) << controlId;
    }
    for (int editId = 1000; editId <= 1023; ++editId) {
        EXPECT_TRUE(dlg->readText(editId).isEmpty()) << editId;
    }
    EXPECT_FALSE(widget<QCheckBox>(id::kLinkToTarget)->isChecked());
    EXPECT_FALSE(widget<QCheckBox>(id::kPositionLock)->isChecked());
    auto* repeat = widget<QComboBox>(id::kRepeatCombo);
    ASSERT_EQ(repeat->count(), 254);
    EXPECT_EQ(repeat->itemText(253), "254");
    EXPECT_EQ(widget<QLabel>(id::kRobotPicture)->parentWidget(), dlg->control(id::kPictureFrame));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dlg->port().connected);
}

TEST_F(EditorTest, EnterEscapeAndFileExitNeverCloseTheWindowOrPressAButton) {
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    QSignalSpy resetClicked(widget<QPushButton>(id::kResetStep), &QPushButton::clicked);
    for (int controlId : {id::kResetStep, id::kPageNameEdit, id::kRepeatCombo, 1000}) {
        dlg->control(controlId)->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(dlg->control(controlId), key);
        }
    }
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    dlg->menuBar()->actions().first()->menu()->actions().first()->trigger();  // File > Exit
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(resetClicked.count(), 0);
    EXPECT_TRUE(dlg->readText(1000).isEmpty());  // step Reset would have written 100
}

TEST_F(EditorTest, AboutItemAndSystemCommandsOpenTheAboutBox) {
    QString caption;
    QString text;
    whenModalShown(dlg.get(), [&](QWidget* about) {
        caption = about->windowTitle();
        text = about->findChild<QLabel*>("static1")->text();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    dlg->menuBar()->actions().first()->menu()->actions().last()->trigger();
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
    // The application's run ends the same way, with 0.
    QString title;
    whenModalShown(nullptr, [&](QWidget* window) {
        title = window->windowTitle();
        window->close();
    });
    EXPECT_EQ(CEditorApp().initInstance(), 0);
    EXPECT_EQ(title, "Kestrova");
    // The device is free again: a new window can open it.
    boxes.shown.clear();
    dlg = std::make_unique<CEditorDlg>(&boxes, &files);
    dlg->onConnect();
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"COM1 open."});
}

}  // namespace
}  // namespace kestrova::test
