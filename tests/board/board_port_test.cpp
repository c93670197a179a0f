// SPDX-License-Identifier: MIT
// Which device kestrova-board's --port opens, and what it says when another client holds it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "src/serial/posix/tcp_stream.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"
#include "tools/board/port_choice.h"

using namespace kestrova;
using namespace kestrova::test;

TEST(BoardPort, ComChoicesOpenTheEditorsDevices) {
    for (const char* unset : {"KESTROVA_COM1", "KESTROVA_COM4", "KESTROVA_COM5"}) {
        ::unsetenv(unset);
    }
    EXPECT_EQ(deviceText(board::parsePortChoice("COM1")), "/dev/ttyS0");
    EXPECT_EQ(deviceText(board::parsePortChoice("COM4")), "/dev/ttyS3");
    EXPECT_EQ(deviceText(board::parsePortChoice("COM5")), "tcp:127.0.0.1:2217");
}

// The simulator serves one client at a time and turns the next away at once.
TEST(BoardPort, APortThatAnotherClientHoldsIsSaidToBeBusy) {
    TempDir dir;
    SimProcess sim({"--port", "0"});
    const OpenedFd holder = connectTcp("127.0.0.1", sim.port());
    ASSERT_TRUE(holder && sim.waitForLine("connected"));
    SimProcess board(
        {"read", "3", dir / "x.kpf", "--port", "tcp:127.0.0.1:" + std::to_string(sim.port())},
        KESTROVA_BOARD_PATH);
    EXPECT_EQ(board.stop(0), 1);
    EXPECT_TRUE(board.findLine("page 3: not read: the other side closed the link at once ("));
    EXPECT_TRUE(
        board.findLine("): the port is busy or refuses us; another program, such as the "
                       "editor, may hold it"));
}
