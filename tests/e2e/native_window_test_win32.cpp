// SPDX-License-Identifier: MIT
// The window on Qt's real "windows" platform (scripts/test-windows.sh runs it under Wine and
// Xvfb): the About item that ends the native system menu and the system commands that open the
// About box, and a page file written and read through the editor's file-dialog seam. The page
// saved to and loaded from the simulator runs here too, in the simulator tests.
// The fixture's pseudo-terminal needs winsock2.h first,
#include <winsock2.h>
// and windows.h after it.
#include <windows.h>

#include <QGuiApplication>
#include <QLabel>

#include "src/model/page_file.h"
#include "tests/support/sample_page.h"
#include "tests/support/temp_dir.h"
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
    HWND window() const { return reinterpret_cast<HWND>(dlg->winId()); }
};

TEST_F(NativeWindowTest, SystemMenuEndsWithTheAboutItemAndCommands16To31OpenTheAboutBox) {
    HMENU menu = ::GetSystemMenu(window(), FALSE);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(menu, count - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(QString::fromWCharArray(text), QString::fromUtf8("Tandrel 정보(&A)..."));
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), 16u);

    for (const WPARAM command : {16u, 23u, 31u}) {
        QString title;
        whenModalShown(dlg.get(), [&](QWidget* box) {
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        ASSERT_TRUE(::PostMessageW(window(), WM_SYSCOMMAND, command, 0));
        EXPECT_TRUE(spinUntil([&] { return !title.isEmpty(); }, 3s)) << command;
        EXPECT_EQ(title, "Tandrel ??");
        spinUntil([] { return QApplication::activeModalWidget() == nullptr; });
    }
    ASSERT_TRUE(::PostMessageW(window(), WM_SYSCOMMAND, 32, 0));  // not ours
    spinFor(300ms);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(NativeWindowTest, PageFileSavedAndLoadedThroughTheFileDialogs) {
    TempDir dir;
    files.openPath = dir / "in.kpf";
    ASSERT_TRUE(writePageFile(*files.openPath, samplePage(), noFlush));
    click(id::kPcLoad);
    ASSERT_EQ(motionPage.getRecord(), samplePage());
    files.savePath = dir / "out.kpf";
    click(id::kPcSave);
    EXPECT_EQ(readPageFile(*files.savePath), samplePage());
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace kestrova::test
