// SPDX-License-Identifier: MIT
#pragma once

// A main window whose COM1 is a pseudo-terminal: the editor opens the slave (through
// KESTROVA_COM1), the test plays the controller on the master.
#include <cstdlib>
#include <vector>

#include "editor_fixture.h"
#include "protocol/packets.h"
#include "serial/pty_pair.h"

namespace kestrova::test {

class PtyEditorTest : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.fd.valid());
        setenv("KESTROVA_COM1", pty.path().c_str(), 1);
        EditorTest::SetUp();
    }
    void TearDown() override {
        EditorTest::TearDown();
        unsetenv("KESTROVA_COM1");
    }

    // Opens COM1 and forgets the message that says so.
    void connect() {
        dlg->onConnect();
        ASSERT_EQ(dlg->port().connected, 1);
        boxes.shown.clear();
    }

    // Everything the editor has written within `wait`.
    Bytes drain(std::chrono::milliseconds wait = std::chrono::milliseconds(300)) {
        Bytes all;
        for (Bytes got = pty.receive(4096, wait); !got.empty(); got = pty.receive(4096, wait)) {
            all.insert(all.end(), got.begin(), got.end());
        }
        return all;
    }

    // The motor positions of each live-positions packet drained; nothing else may have come.
    std::vector<StepPositions> drainLive() {
        const Bytes bytes = drain();
        EXPECT_EQ(bytes.size() % kLivePacketSize, 0u);
        std::vector<StepPositions> packets;
        for (std::size_t at = 0; at + kLivePacketSize <= bytes.size(); at += kLivePacketSize) {
            const auto packet = bytes.begin() + static_cast<std::ptrdiff_t>(at);
            MotorFields fields{};
            std::copy_n(packet + 4, fields.size(), fields.begin());
            const LivePacket rebuilt = buildLivePositionsPacket(fields);
            EXPECT_TRUE(std::equal(rebuilt.begin(), rebuilt.end(), packet)) << "not a live packet";
            std::copy_n(packet + 4, fields.size(), packets.emplace_back().begin());
        }
        return packets;
    }

    PtyPair pty;
};

}  // namespace kestrova::test
