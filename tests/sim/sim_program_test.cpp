// SPDX-License-Identifier: MIT
// The real kestrova-sim program, driven over loopback TCP and over a pseudo-terminal.
#include <poll.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "protocol/packets.h"
#include "serial/port_settings.h"
#include "serial/posix/device_io.h"
#include "serial/posix/serial_device.h"
#include "serial/posix/tcp_stream.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

using namespace kestrova;
using namespace kestrova::test;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A client opening the link as the editor's port does; every wait ends within 5 s.
class Peer {
  public:
    explicit Peer(std::uint16_t port) : fd(connectTcp("127.0.0.1", port).fd) {}
    explicit Peer(const std::string& device)
        : fd(openSerialDevice(device, buildPortSettings(0, 0)).fd), socket(false) {}

    void send(std::span<const std::uint8_t> bytes) {
        EXPECT_EQ(sendAll(fd.get(), socket, bytes,
                          std::chrono::steady_clock::now() + std::chrono::seconds(5)),
                  0);
    }
    // What arrives, up to `count` bytes.
    Bytes receive(std::size_t count) {
        Bytes got(count);
        std::size_t have = 0;
        for (pollfd watch{fd.get(), POLLIN, 0};
             have < count && !gone && ::poll(&watch, 1, 5000) > 0;) {
            const ReadResult read = readQueued(fd.get(), std::span(got).subspan(have));
            have += read.count;
            gone = read.gone;
        }
        got.resize(have);
        return got;
    }
    // True once the other side has hung up.
    bool hungUp() {
        while (!receive(1).empty()) {
        }
        return gone;
    }

  private:
    UniqueFd fd;
    bool socket = true;
    bool gone = false;
};

Bytes bytesOf(const auto& packet) {
    return {packet.begin(), packet.end()};
}

PageRecord wavePage(std::uint8_t number) {
    PageRecord page = defaultPageRecord();
    page.pageNum = number;
    page.pageName = {'W', 'a', 'v', 'e', 0, 0, 0};
    page.position.fill(0xFE);  // the bytes of a trailer inside the record
    page.enableStep = 3;
    page.repeat = 254;
    return page;
}

class SimProgram : public ::testing::TestWithParam<Transport> {
  protected:
    Peer connect() { return GetParam() == Transport::Tcp ? Peer(sim.port()) : Peer(link); }

    TempDir dir;
    const std::string link = dir / "robot";
    SimProcess sim{GetParam(), link, {"--quiet"}};
};

TEST_P(SimProgram, KeepsPagesForClientsThatComeAndGo) {
    const Bytes stored = bytesOf(buildPagePacket(wavePage(3), 'p'));
    {
        Peer first = connect();
        first.send(buildWritePagePacket(wavePage(3)));
        EXPECT_EQ(first.receive(8), bytesOf(buildDoneReply()));
        if (GetParam() == Transport::Tcp) {
            EXPECT_TRUE(Peer(sim.port()).hungUp()) << "a second client is turned away";
        }
        first.send(Bytes{'n', 'o', 'i', 's', 'e'});
        first.send(buildReadRequest(3));
        EXPECT_EQ(first.receive(kPagePacketSize), stored);
    }
    Peer next = connect();
    next.send(buildReadRequest(3));
    EXPECT_EQ(next.receive(kPagePacketSize), stored) << "pages outlive the client";
    EXPECT_EQ(sim.stop(SIGINT), 0);
    EXPECT_EQ(sim.lines().size(), 1u) << "quiet: only where it serves";
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "a link goes with the simulator";
}

INSTANTIATE_TEST_SUITE_P(Transports, SimProgram, ::testing::Values(Transport::Tcp, Transport::Pty));

TEST(SimProgramRun, EndsWithAStatusOnHelpMistakesAndABusyPort) {
    SimProcess help({"--help"});
    EXPECT_EQ(help.stop(0), 0);
    EXPECT_TRUE(help.findLine("Usage: kestrova-sim"));
    SimProcess bogus({"--chunk", "0"});
    EXPECT_EQ(bogus.stop(0), 2);
    EXPECT_TRUE(bogus.lines().empty()) << "the complaint goes to standard error";
    SimProcess first({"--port", "0"});
    EXPECT_EQ(SimProcess({"--port", std::to_string(first.port())}).stop(0), 1);
}

TEST(SimProgramRun, StepPauseSlowsAPlayThatAStopStillEnds) {
    SimProcess sim({"--port", "0", "--step-ms", "1000"});
    Peer editor(sim.port());
    editor.send(buildPlayPagePacket(wavePage(1)));  // 1016 steps, a second each
    ASSERT_TRUE(sim.waitForLine("step 0 round 1"));
    EXPECT_EQ(sim.stop(), 0) << "a stop cuts the play short";
    EXPECT_FALSE(sim.findLine("step 3 round 1"));
    EXPECT_TRUE(sim.findLine("stopped"));
}

}  // namespace
