// SPDX-License-Identifier: MIT
// Keys and menu items that must not close the window, the About item, and how
// the window and the program end.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>

#include "editor_fixture.h"
#include "ui/editor_app.h"
#include "ui/motor_panel.h"

namespace kestrova::test {
namespace {

QAction* fileMenuItem(CEditorDlg& dlg, int index) {
    return dlg.menuBar()->actions().first()->menu()->actions().at(index);
}

TEST_F(EditorTest, EnterEscapeAndFileExitNeverCloseTheWindowPressAButtonOrHideAPanel) {
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    QSignalSpy resetClicked(widget<QPushButton>(id::kResetStep), &QPushButton::clicked);
    for (QWidget* focused : {dlg->control(id::kResetStep), dlg->control(id::kPageNameEdit),
                             dlg->control(id::kRepeatCombo), dlg->control(id::kMotorEdit0),
                             static_cast<QWidget*>(dlg->motorPanel(3)->trackbarControl())}) {
        focused->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(focused, key);
        }
    }
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    fileMenuItem(*dlg, 0)->trigger();  // File > Exit
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->motorPanel(3)->isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(resetClicked.count(), 0);
    EXPECT_EQ(dlg->readText(id::kMotorEdit0), "");  // step Reset would have written 100
}

TEST_F(EditorTest, AboutItemAndSystemCommandsOpenTheAboutBox) {
    QStringList seen;
    whenModalShown(dlg.get(), [&](QWidget* about) {
        seen << about->windowTitle() << about->findChild<QLabel*>("static1")->text();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    fileMenuItem(*dlg, 2)->trigger();
    // System commands 16 to 31 all open it; its button closes it.
    whenModalShown(dlg.get(), [&](QWidget* about) {
        seen << about->windowTitle();
        QTest::mouseClick(childControl<QPushButton>(about, id::kOk), Qt::LeftButton);
    });
    dlg->onSysCommand(id::kAboutBox + 15);
    EXPECT_EQ(seen, QStringList({"Tandrel ??", "Tandrel ?? 1.0", "Tandrel ??"}));
}

TEST_F(PtyEditorTest, CloseButtonEndsTheModalRunAndTheOpenPortCloses) {
    connect();
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
    dlg = std::make_unique<CEditorDlg>(&boxes, &files);
    dlg->onConnect();
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"COM1 open."});
}

}  // namespace
}  // namespace kestrova::test
