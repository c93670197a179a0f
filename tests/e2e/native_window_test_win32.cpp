// SPDX-License-Identifier: MIT
// The window on Qt's real "windows" platform (scripts/test-windows.sh runs it under Wine and
// Xvfb): the About item that ends the native system menu and the system commands that open the
// About box. The simulator tests run on that platform too: a page file loaded through the
// file-dialog seam, saved to the simulator and loaded back.
// The fixture's pseudo-terminal needs winsock2.h first,
#include <winsock2.h>
// and windows.h after it.
#include <windows.h>

#include <QGuiApplication>
#include <QLabel>

#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

class NativeWindowTest : public EditorTest {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("windows")) {
            GTEST_SKIP() << "needs the native windows platform";
        }
        EditorTest::SetUp();
    }
};

TEST_F(NativeWindowTest, SystemMenuEndsWithTheAboutItemAndItsCommandsOpenTheAboutBox) {
    const auto window = reinterpret_cast<HWND>(dlg->winId());
    HMENU menu = ::GetSystemMenu(window, FALSE);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_TRUE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(QString::fromWCharArray(text), QString::fromUtf8("Tandrel 정보(&A)..."));
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), 16u);

    // The window's own test covers the whole range 16 to 31; here the message comes natively.
    QString title;
    whenModalShown(dlg.get(), [&](QWidget* box) {
        title = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    ASSERT_TRUE(::PostMessageW(window, WM_SYSCOMMAND, 31, 0));
    spinUntil([&] { return !title.isEmpty(); }, 3s);
    EXPECT_EQ(title, QString::fromUtf8("Tandrel 정보"));
    spinUntil([] { return QApplication::activeModalWidget() == nullptr; });
    // 32 is not ours: once the window has taken it, no box has opened.
    whenModalShown(dlg.get(), [&](QWidget* box) {
        title = box->windowTitle();
        box->close();
    });
    title.clear();
    ASSERT_TRUE(::PostMessageW(window, WM_SYSCOMMAND, 32, 0));
    MSG queued;
    EXPECT_TRUE(spinUntil([&] {
        return !::PeekMessageW(&queued, window, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE);
    }));
    QCoreApplication::processEvents();
    EXPECT_EQ(title, QString());
    EXPECT_TRUE(dlg->isVisible());
}

}  // namespace
}  // namespace kestrova::test
