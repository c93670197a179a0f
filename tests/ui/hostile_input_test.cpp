// SPDX-License-Identifier: MIT
// The window against a hostile path: a name typed into the real open dialog reaches the load,
// which reports a missing file; the editor's flush reaches the disk. A hostile line is the
// session's tests'.
#include <QFileDialog>

#include "src/platform/file_flush.h"
#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

TEST(PageFileDialogs, ATypedMissingNameReachesTheLoadWhichReportsIt) {
    TempDir dir;
    RecordingMessageBoxes boxes;
    CEditorDlg window(&boxes, nullptr);
    QString title;
    whenModalShown(nullptr, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        dialog->setDirectory(QString::fromStdString(dir.path().string()));
        title = dialog->windowTitle();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QTest::keyClicks(name, "missing");
        // Pressed from the event loop, so that the watchdog also closes a box it might raise.
        QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
    });
    QTest::mouseClick(window.control(id::kPcLoad), Qt::LeftButton);
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(boxes.texts(), std::vector<QString>{"can't load file!"});

    EXPECT_TRUE(flushToDisk(dir.path()));
    EXPECT_FALSE(flushToDisk(dir / "missing.kpf"));
}

}  // namespace
}  // namespace kestrova::test
