// SPDX-License-Identifier: MIT
// kestrova-sim's own ends: a link it cannot make, and a pty client that dies.
#include <fcntl.h>
#include <sys/ioctl.h>

#include <gtest/gtest.h>

#include "src/serial/port_settings.h"
#include "src/serial/posix/serial_device.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

using namespace kestrova;
using namespace kestrova::test;

TEST(SimProgram, NamesTheRealReasonWhenItCannotMakeTheLink) {
    SimProcess sim({"--pty", "--link", "/nonexistent/robot"});
    EXPECT_EQ(sim.stop(0), 1);
    EXPECT_TRUE(sim.findLine("cannot make the link /nonexistent/robot: No such file or directory"));
}

TEST(SimProgram, FreesThePtyThatAKilledClientHeldExclusively) {
    TempDir dir;
    const std::string link = dir / "robot";
    SimProcess sim(Transport::Pty, link, {});
    // Opened as the editor opens it (exclusively), then closed without a word.
    ASSERT_TRUE(openSerialDevice(link, buildPortSettings(0, 0)));
    ASSERT_TRUE(sim.waitForLine("the line is free"));
    const UniqueFd next(::open(link.c_str(), O_RDWR | O_NOCTTY));
    int exclusive = 1;
    ASSERT_EQ(::ioctl(next.get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0) << "a client other than root may open it";
}
