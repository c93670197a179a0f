// SPDX-License-Identifier: MIT
// The real kestrova-sim program, driven over loopback TCP and over a pseudo-terminal.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <vector>

#include "protocol/packets.h"
#include "serial/unique_fd.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

using namespace kestrova;
using kestrova::UniqueFd;
using kestrova::test::SimProcess;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
constexpr auto kWait = std::chrono::seconds(5);

const Bytes kDone{0x23, 0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A};
const Bytes kFailure{'a', 'a', 'a', 'a', 'a', '\n'};

int millisLeft(Clock::time_point deadline) {
    return static_cast<int>(std::max<long long>(
        0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
}

// One end of a link to the simulator: a TCP client socket or an opened pty slave.
class Peer {
  public:
    explicit Peer(UniqueFd fd) : fd(std::move(fd)) {}

    static Peer tcp(std::uint16_t port) {
        UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address),
                  0);
        return Peer(std::move(socket));
    }

    static Peer pty(const std::string& path) {
        UniqueFd device(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
        EXPECT_TRUE(device) << path;
        termios settings{};
        ::tcgetattr(device.get(), &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(device.get(), TCSANOW, &settings);
        return Peer(std::move(device));
    }

    template <typename Packet>
    void send(const Packet& bytes) {
        ASSERT_EQ(::write(fd.get(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }

    // Exactly `count` bytes, or what came before the deadline.
    Bytes receive(std::size_t count) {
        Bytes got;
        const auto deadline = Clock::now() + kWait;
        while (got.size() < count) {
            pollfd watch{fd.get(), POLLIN, 0};
            if (::poll(&watch, 1, millisLeft(deadline)) <= 0) {
                break;
            }
            std::uint8_t buffer[512];
            const ssize_t n = ::read(fd.get(), buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) {
                break;
            }
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    // True once the other side has hung up (end of stream or a pty hang-up).
    bool hungUp() {
        const auto deadline = Clock::now() + kWait;
        for (;;) {
            pollfd watch{fd.get(), POLLIN, 0};
            if (::poll(&watch, 1, millisLeft(deadline)) <= 0) {
                return false;
            }
            std::uint8_t byte;
            if ((watch.revents & POLLHUP) != 0 || ::read(fd.get(), &byte, 1) <= 0) {
                return true;
            }
        }
    }

    // Nothing arrives within a short while.
    bool silent() {
        pollfd watch{fd.get(), POLLIN, 0};
        return ::poll(&watch, 1, 200) == 0;
    }

  private:
    UniqueFd fd;
};

Bytes bytesOf(const auto& array) {
    return {array.begin(), array.end()};
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

std::uint16_t portInUse(UniqueFd& holder) {
    holder.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(holder.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(holder.get(), 1);
    ::getsockname(holder.get(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

}  // namespace

TEST(SimProgram, TcpStoresAndReturnsPagesForOneClientAtATime) {
    SimProcess sim({"--port", "0"});
    ASSERT_NE(sim.port(), 0) << "first line: " << sim.line(0);

    Peer first = Peer::tcp(sim.port());
    first.send(buildWritePagePacket(wavePage(3)));
    EXPECT_EQ(first.receive(8), kDone);
    EXPECT_TRUE(sim.waitForLine("<- write page 3 \"Wave\", checksum good"));
    EXPECT_TRUE(sim.waitForLine("-> done (stored)"));

    Peer second = Peer::tcp(sim.port());
    EXPECT_TRUE(second.hungUp()) << "a second client is turned away";

    first.send(buildReadRequest(3));
    EXPECT_EQ(first.receive(kPagePacketSize), bytesOf(buildPagePacket(wavePage(3), 'p')));
    PagePacket damaged = buildWritePagePacket(wavePage(4));
    damaged[100] = 0;
    first.send(damaged);
    EXPECT_EQ(first.receive(6), kFailure);
    EXPECT_TRUE(sim.waitForLine("checksum bad"));

    first = Peer(UniqueFd());  // leaves
    Peer third = Peer::tcp(sim.port());
    third.send(buildReadRequest(3));
    EXPECT_EQ(third.receive(kPagePacketSize), bytesOf(buildPagePacket(wavePage(3), 'p')))
        << "pages outlive the client that wrote them";
    third.send(buildReadRequest(4));
    EXPECT_EQ(third.receive(kPagePacketSize)[11], 4) << "the damaged write stored nothing";
    EXPECT_EQ(sim.stop(std::chrono::seconds(10), SIGINT), 0);
    EXPECT_TRUE(sim.findLine("stopped"));
}

TEST(SimProgram, PlayAndLivePositionsShowTheServosMoving) {
    SimProcess sim({"--port", "0"});
    Peer editor = Peer::tcp(sim.port());
    MotorFields fields;
    fields.fill(100);
    fields[0] = 12;
    editor.send(buildLivePositionsPacket(fields));
    EXPECT_TRUE(sim.waitForLine("positions 12 100 100"));
    PageRecord page = wavePage(2);
    page.repeat = 2;
    page.enableStep = 1;
    editor.send(buildPlayPagePacket(page));
    EXPECT_TRUE(sim.waitForLine("(page 2 \"Wave\" step 1 round 2)"));
    EXPECT_TRUE(editor.silent()) << "neither play nor live positions is answered";
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimProgram, ChunksAndNoiseAreRepeatableWithASeed) {
    std::vector<Bytes> received;
    for (int run = 0; run < 2; ++run) {
        SimProcess sim({"--port", "0", "--chunk", "7", "--noise", "5", "--seed", "11", "--hex"});
        Peer editor = Peer::tcp(sim.port());
        editor.send(buildWritePagePacket(wavePage(1)));
        received.push_back(editor.receive(5 + kDone.size()));
        ASSERT_EQ(received.back().size(), 13u);
        EXPECT_EQ(Bytes(received.back().begin() + 5, received.back().end()), kDone);
        ASSERT_TRUE(sim.waitForLine("-> done"));
        const auto lines = sim.lines();
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with(">> "); }),
                  2)
            << "13 bytes in writes of 7";
        EXPECT_EQ(sim.stop(), 0);
    }
    EXPECT_EQ(received[0], received[1]);
}

TEST(SimProgram, DropAfterHangsUpOnceThenServesAgain) {
    SimProcess sim({"--port", "0", "--quiet", "--drop-after", "2"});
    Peer editor = Peer::tcp(sim.port());
    editor.send(buildReadRequest(1));
    EXPECT_EQ(editor.receive(kPagePacketSize).size(), kPagePacketSize);
    editor.send(buildReadRequest(2));
    EXPECT_EQ(editor.receive(kPagePacketSize).size(), kPagePacketSize) << "answered, then...";
    EXPECT_TRUE(editor.hungUp());

    Peer again = Peer::tcp(sim.port());
    for (std::uint8_t page = 0; page < 4; ++page) {
        again.send(buildWritePagePacket(wavePage(page)));
        EXPECT_EQ(again.receive(kDone.size()), kDone);
    }
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimProgram, PtyKeepsServingWhileClientsComeAndGo) {
    kestrova::test::TempDir dir;
    const std::string link = dir / "robot";
    SimProcess sim({"--pty", "--link", link, "--quiet"});
    const std::string device = sim.ptyPath();
    ASSERT_TRUE(device.starts_with("/dev/")) << sim.line(0);
    EXPECT_EQ(std::filesystem::read_symlink(link), device);

    {
        Peer editor = Peer::pty(link);
        editor.send(buildWritePagePacket(wavePage(9)));
        EXPECT_EQ(editor.receive(kDone.size()), kDone);
    }
    for (int reopen = 0; reopen < 2; ++reopen) {
        Peer editor = Peer::pty(link);
        editor.send(Bytes{'n', 'o', 'i', 's', 'e'});
        editor.send(buildReadRequest(9));
        EXPECT_EQ(editor.receive(kPagePacketSize), bytesOf(buildPagePacket(wavePage(9), 'p')));
    }
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link goes with the simulator";
}

TEST(SimProgram, PtyDropAfterReplacesTheDeviceAndMovesTheLink) {
    kestrova::test::TempDir dir;
    const std::string link = dir / "robot";
    SimProcess sim({"--pty", "--link", link, "--drop-after", "1"});
    const std::string oldDevice = sim.ptyPath();
    Peer editor = Peer::pty(link);
    editor.send(buildWritePagePacket(wavePage(4)));
    EXPECT_EQ(editor.receive(kDone.size()), kDone);
    EXPECT_TRUE(editor.hungUp());

    ASSERT_TRUE(sim.waitForLine("pty ", 1)) << "the new device is announced";
    const std::string newDevice = sim.ptyPath();
    EXPECT_NE(newDevice, oldDevice) << "the old one is still held by the hung-up client";
    EXPECT_EQ(std::filesystem::read_symlink(link), newDevice);

    Peer reconnected = Peer::pty(link);
    reconnected.send(buildReadRequest(4));
    EXPECT_EQ(reconnected.receive(kPagePacketSize), bytesOf(buildPagePacket(wavePage(4), 'p')));
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimProgram, CommandLineMistakesAndBusyPortEndWithAStatus) {
    SimProcess help({"--help"});
    EXPECT_EQ(help.finish(), 0);
    EXPECT_TRUE(help.findLine("Usage: kestrova-sim"));

    SimProcess bogus({"--chunk", "0"});
    EXPECT_EQ(bogus.finish(), 2);
    EXPECT_EQ(bogus.lineCount(), 0u) << "the complaint goes to standard error";

    UniqueFd holder;
    SimProcess busy({"--port", std::to_string(portInUse(holder))});
    EXPECT_EQ(busy.finish(), 1);
}

TEST(SimProgram, StepPauseSlowsAPlayThatAStopStillEnds) {
    SimProcess sim({"--port", "0", "--step-ms", "1000"});
    Peer editor = Peer::tcp(sim.port());
    PageRecord page = wavePage(1);
    page.enableStep = 7;
    page.repeat = 254;  // 2032 steps: a long while at a second each
    editor.send(buildPlayPagePacket(page));
    ASSERT_TRUE(sim.waitForLine("step 0 round 1"));
    EXPECT_EQ(sim.stop(std::chrono::seconds(5)), 0) << "a stop cuts the play short";
    const auto lines = sim.lines();
    EXPECT_LT(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("positions"); }),
              5);
    EXPECT_TRUE(sim.findLine("stopped"));
}
