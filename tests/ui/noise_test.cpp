// SPDX-License-Identifier: MIT
// A line that keeps sending noise: one "Bad communication" box, the watcher reading on while
// it is open, replies recognised after the noise, Disconnect and closing the window at once.
#include <fcntl.h>

#include <QMenu>
#include <QMenuBar>
#include <atomic>
#include <thread>

#include "editor_fixture.h"

namespace kestrova::test {
namespace {

// Writes blocks of 291 noise bytes, each of which overflows the reply buffer exactly, until
// destroyed; it stops after a whole block unless the line is no longer read.
class NoiseFlood {
  public:
    explicit NoiseFlood(int fd) : fd(fd), writer([this] { run(); }) {}
    ~NoiseFlood() {
        running = false;
        writer.join();
    }

  private:
    void run() {
        const Bytes block(ReplyRecognizer::kMostHeld + 1, 0x55);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        for (std::size_t at = 0; running || at != 0;) {
            pollfd wait{fd, POLLOUT, 0};
            if (::poll(&wait, 1, 200) != 1) {
                if (!running) {
                    return;
                }
                continue;
            }
            const ssize_t sent = ::write(fd, block.data() + at, block.size() - at);
            at = (at + static_cast<std::size_t>(std::max<ssize_t>(sent, 0))) % block.size();
        }
    }

    int fd;
    std::atomic<bool> running{true};
    std::thread writer;
};

TEST_F(PtyEditorTest, NoiseShowsOneBoxAndNeverLocksTheWindow) {
    connect();
    QMenu* community = dlg->menuBar()->actions().at(1)->menu();
    const Bytes block(ReplyRecognizer::kMostHeld + 1, 0x55);  // overflows exactly once
    const Bytes done{0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A};
    int open = 0, mostOpen = 0;
    bool readWhileOpen = false;
    boxes.whileOpen = [&](const MessageRequest&) {
        mostOpen = std::max(mostOpen, ++open);
        if (boxes.shown.size() == 1) {  // more noise while the user reads the box
            spinFor(200ms);
            const std::size_t before = dlg->discardedNoiseOverflows();
            EXPECT_TRUE(pty.send(block) && pty.send(block));
            readWhileOpen = spinUntil([&] { return dlg->discardedNoiseOverflows() == before + 2; });
        }
        --open;
    };
    Bytes noiseThenDone = block;
    noiseThenDone.insert(noiseThenDone.end(), done.begin(), done.end());
    ASSERT_TRUE(pty.send(noiseThenDone));
    ASSERT_TRUE(spinUntil([&] { return boxes.shown.size() == 2; }));
    EXPECT_TRUE(readWhileOpen) << "the watcher must read on while the box is open";
    {
        NoiseFlood flood(pty.fd.get());
        spinFor(1s);
    }
    ASSERT_TRUE(pty.send(done));  // the flood stopped after a whole block
    ASSERT_TRUE(spinUntil([&] { return boxes.shown.size() == 3; }));

    NoiseFlood flood(pty.fd.get());
    spinFor(300ms);
    community->actions().at(1)->trigger();  // Disconnect
    EXPECT_EQ(dlg->port().connected, 0);
    community->actions().at(0)->trigger();  // Connect
    spinFor(300ms);
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    dlg.reset();  // closes the port while the noise goes on
    EXPECT_EQ(boxes.texts(), (std::vector<QString>{"Bad communication", "Save done!", "Save done!",
                                                   "COM1 is closed.", "COM1 open."}));
    EXPECT_EQ(mostOpen, 1);
}

}  // namespace
}  // namespace kestrova::test
