// SPDX-License-Identifier: MIT
#pragma once

// An editor session with no window: COM1 is a pseudo-terminal whose master plays the board,
// the noise gate's clock is the test's, and every message box is recorded.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <vector>

#include "src/app/editor_session.h"
#include "tests/support/pty_pair.h"
#include "tests/support/sample_page.h"
#include "tests/support/spin_until.h"
#include "tests/support/temp_dir.h"

namespace kestrova::test {

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.fd.valid());
        qputenv("KESTROVA_COM1", QByteArray(pty.path().c_str()));
        QObject::connect(&session, &EditorSession::message, [this](const SessionMessage& box) {
            shown.push_back(box);
            if (whileOpen) {
                whileOpen(box);
            }
        });
    }
    void TearDown() override { qunsetenv("KESTROVA_COM1"); }

    // Opens COM1 and forgets the message that says so.
    void connect() {
        session.onConnect();
        ASSERT_TRUE(session.port().isConnected());
        shown.clear();
    }
    std::vector<QString> texts() const {
        std::vector<QString> result;
        for (const SessionMessage& box : shown) {
            result.push_back(box.text);
        }
        return result;
    }
    Bytes drain() const { return pty.drain(); }
    // A page shown as To PC Load shows it: one undoable change.
    void load(const PageRecord& record) {
        ASSERT_TRUE(writePageFile(dir / "shown.kpf", record, noFlush));
        session.onPcLoad(dir / "shown.kpf");
        ASSERT_EQ(session.page(), record);
    }

    PtyPair pty;
    TempDir dir;
    EditorSession::Clock::time_point now{};
    EditorSession session{[this] { return now; }};  // closes its port before the pty goes
    std::vector<SessionMessage> shown;
    std::function<void(const SessionMessage&)> whileOpen;
};

// "###i", the 22 positions, their sum in four bytes from the lowest, the trailer.
inline Bytes livePacket(const Bytes& positions, std::uint16_t sum) {
    Bytes packet;
    packet.reserve(positions.size() + 12);  // spares GCC 12 a false array-bounds warning
    packet.insert(packet.end(), {0x23, 0x23, 0x23, 'i'});
    packet.insert(packet.end(), positions.begin(), positions.end());
    packet.insert(packet.end(), {std::uint8_t(sum & 0xFF), std::uint8_t(sum >> 8), 0, 0});
    packet.insert(packet.end(), {0xFE, 0xFE, 0xFE, 0x0A});
    return packet;
}

}  // namespace kestrova::test
