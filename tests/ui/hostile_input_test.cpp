// SPDX-License-Identifier: MIT
// The window against a hostile line or path. A line that keeps sending noise: one "Bad
// communication" box, the line read on while it is open, a reply after the noise recognised,
// Disconnect and closing the window at once. A name typed into the real open dialog reaches the
// load, which reports a missing file; the editor's flush reaches the disk.
#include <QFileDialog>
#include <thread>

#include "src/platform/file_flush.h"
#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

const Bytes kNoiseBlock(ReplyRecognizer::kMostHeld + 1, 0x55);  // overflows exactly once

// Sends noise until stopped, also when the line is no longer read.
std::jthread flood(Native fd) {
    setNonBlocking(fd);
    return std::jthread([fd](std::stop_token stop) {
        for (pollfd wait{fd, POLLOUT, 0}; !stop.stop_requested();) {
            if (::poll(&wait, 1, 100) == 1) {
                [[maybe_unused]] const auto sent =
                    ::write(fd, kNoiseBlock.data(), kNoiseBlock.size());
            }
        }
    });
}

TEST_F(PtyEditorTest, NoiseShowsOneBoxAndNeverLocksTheWindow) {
    connect();
    bool readWhileOpen = false;
    boxes.whileOpen = [&](const MessageRequest&) {
        if (boxes.shown.size() == 1) {  // more noise while the user reads the box
            spinFor(200ms);
            EXPECT_TRUE(pty.send(kNoiseBlock) && pty.send(kNoiseBlock));
            readWhileOpen = spinUntil([&] { return dlg->discardedNoiseOverflows() == 2; });
        }
    };
    Bytes noiseThenDone = kNoiseBlock;  // the reply in the overflow's chunk comes after its box
    noiseThenDone.insert(noiseThenDone.end(), {0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A});
    ASSERT_TRUE(pty.send(noiseThenDone));
    ASSERT_TRUE(spinUntil([&] { return boxes.shown.size() == 2; }));
    EXPECT_TRUE(readWhileOpen) << "the watcher must read on while the box is open";

    const std::jthread noise = flood(pty.fd.get());
    spinFor(1s);  // no further box while the noise goes on
    dlg->onDisconnect();
    dlg->onConnect();
    spinFor(300ms);
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    dlg.reset();  // closes the port while the noise goes on
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Bad communication", "Save done!",
                                                   "COM1 is closed.", "COM1 open."}));
}

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
