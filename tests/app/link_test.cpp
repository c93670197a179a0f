// SPDX-License-Identifier: MIT
// The session and the board: the connection messages, the send commands, the replies with
// the boxes they raise, and the noise gate on its own clock.
#include <QElapsedTimer>
#include <thread>

#ifndef _WIN32
#include <sys/ioctl.h>
#endif

#include "tests/app/session_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

const Bytes kDone{0x23, 0x23, 0x23, 'd', 0xFE, 0xFE, 0xFE, 0x0A};

// "already open." and "is closed." name the open port; the other messages the choice. The
// port closes only once its message has been dismissed. A write on a closed port says ERROR.
TEST_F(SessionTest, ConnectionMessagesNameTheOpenPortOrTheChoice) {
    session.onDisconnect();
    session.onConnect();
    PortChoice other;
    other.name = "COM4";
    other.settings = buildPortSettings(3, 3);
    session.setPortChoice(other);
    session.onConnect();
    bool openWhileShown = false;
    whileOpen = [&](const SessionMessage&) { openWhileShown = session.port().isConnected(); };
    session.onDisconnect();
    whileOpen = nullptr;
    EXPECT_EQ(std::pair(openWhileShown, session.port().isConnected()), std::pair(true, false));
    qputenv("KESTROVA_COM4", QByteArray(kMissingDevice));
    ::testing::internal::CaptureStderr();
    session.onConnect();
    session.sendPagePlay();
    const std::string said = ::testing::internal::GetCapturedStderr();
    qunsetenv("KESTROVA_COM4");
    EXPECT_TRUE(said.starts_with(std::string(kMissingDevice) + ": ")) << said;
    EXPECT_EQ(texts(),
              (std::vector<QString>{"COM1 is not opened.", "COM1 open.", "COM1 already open.",
                                    "COM1 is closed.", "COM4 open fail.", "ERROR"}));
    EXPECT_EQ(std::tuple(shown.back().icon, shown.back().caption, shown.back().ownerless),
              std::tuple(MessageIcon::Exclamation, QString("app_tests"), false));
}

// A reply that arrives while a box is open waits, unread, until the box is closed; a page
// reply replaces the page as one undoable change and sets STEP back to 0.
TEST_F(SessionTest, RepliesWaitForTheOpenBoxAndAPageReplyIsOneChange) {
    connect();
    std::size_t shownWhileOpen = 0;
    whileOpen = [&](const SessionMessage&) {
        if (shown.size() == 1) {
            ASSERT_TRUE(pty.send(kDone));
#ifndef _WIN32
            int waiting = 0;
            EXPECT_TRUE(spinUntil([&] {
                ::ioctl(pty.held.get(), FIONREAD, &waiting);
                return waiting == 8;
            })) << "the reply arrived and waits for the box";
#endif
            QCoreApplication::processEvents();
            shownWhileOpen = shown.size();
        }
    };
    ASSERT_TRUE(pty.send(kDone));
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 2; }));
    EXPECT_EQ(shownWhileOpen, 1u);
    EXPECT_EQ(std::tuple(shown[0].icon, shown[0].caption, shown[0].ownerless),
              std::tuple(MessageIcon::None, QString("app_tests"), false));

    session.setStep(4);
    ASSERT_TRUE(pty.send(bytesOf(buildPagePacket(samplePage(), command::kPage))));
    ASSERT_TRUE(spinUntil([&] { return session.page() == samplePage(); }));
    ASSERT_TRUE(pty.send({'a', 'a', 'a', 'a', 'a', '\n'}));
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 3; }));
    EXPECT_EQ(texts(), (std::vector<QString>{"Save done!", "Save done!", "Failed!!"}));
    EXPECT_EQ(std::pair(session.step(), session.undoLabel()),
              std::pair(0, std::string_view("Target Load")));
    session.onUndo();
    EXPECT_EQ(session.page(), defaultPageRecord());
}

// One box for a noisy spell: overflows meanwhile are discarded until the line has been quiet
// for two seconds of the gate's clock. While the box is open the line is still read, as a
// modal box's loop does: a reply shows its own box, more noise is discarded. A reply in the
// overflow's chunk comes after its box.
TEST_F(SessionTest, NoiseShowsOneBoxPerNoisySpell) {
    connect();
    const Bytes noise(ReplyRecognizer::kMostHeld + 1, 0x55);  // overflows exactly once
    Bytes noiseThenDone = noise;
    noiseThenDone.insert(noiseThenDone.end(), kDone.begin(), kDone.end());
    whileOpen = [&](const SessionMessage&) {
        if (shown.size() == 1) {
            ASSERT_TRUE(pty.send(noise));
            EXPECT_TRUE(spinUntil([&] { return session.discardedNoiseOverflows() == 1; }));
            ASSERT_TRUE(pty.send({'a', 'a', 'a', 'a', 'a', '\n'}));
            EXPECT_TRUE(spinUntil([&] { return shown.size() == 2; }));
        }
    };
    ASSERT_TRUE(pty.send(noiseThenDone));
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 3; }));
    now += 1999ms;  // still the same spell
    ASSERT_TRUE(pty.send(noise));
    ASSERT_TRUE(spinUntil([&] { return session.discardedNoiseOverflows() == 2; }));
    now += 2s;  // quiet long enough: a new spell
    ASSERT_TRUE(pty.send(noise));
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 4; }));
    EXPECT_EQ(texts(), (std::vector<QString>{"Bad communication", "Failed!!", "Save done!",
                                             "Bad communication"}));
    EXPECT_EQ(session.discardedNoiseOverflows(), 2u);

    // A line that never stops: no further box, and Disconnect and Connect still answer.
    setNonBlocking(pty.fd.get());
    const std::jthread flood([&](const std::stop_token& stop) {
        for (pollfd wait{pty.fd.get(), POLLOUT, 0}; !stop.stop_requested();) {
            if (::poll(&wait, 1, 100) == 1) {
                [[maybe_unused]] const auto sent =
                    ::write(pty.fd.get(), noise.data(), noise.size());
            }
        }
    });
    ASSERT_TRUE(spinUntil([&] { return session.discardedNoiseOverflows() > 10; }));
    session.onDisconnect();
    session.onConnect();
    EXPECT_EQ(texts().back(), "COM1 open.");
    EXPECT_EQ(shown.size(), 6u);
}

}  // namespace
}  // namespace kestrova::test
