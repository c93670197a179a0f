// SPDX-License-Identifier: MIT
#include "serial/comm.h"

#include <gtest/gtest.h>
#include <termios.h>

#include "loopback_listener.h"
#include "process_probes.h"
#include "pty_pair.h"
#include "serial/custom_speed.h"
#include "serial/write_time_limit.h"
#include "test_owner.h"

using namespace kestrova;
using namespace kestrova::test;
using Clock = std::chrono::steady_clock;
using Messages = std::vector<std::string>;

namespace {

// COM1 is a pseudo-terminal, COM5 a loopback server; the test plays the controller on both.
class CommTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pty.path().empty() || server.device().empty());
        ::setenv("KESTROVA_COM1", pty.path().c_str(), 1);
        ::setenv("KESTROVA_COM5", server.device().c_str(), 1);
        comm.setOwnerWindow(&owner);
    }

    // Raw 8N1 on COM1.
    static PortSettings com1(std::uint32_t baud = 9600, std::uint8_t flow = 0) {
        return {1, 0, 8, flow, 0, 0, baud};
    }

    Watchdog watchdog{30};  // destroyed last: closing and tearing down are watched too
    PtyPair pty;
    LoopbackListener server;
    TestOwner owner;
    CComm comm;  // destroyed first: the port closes while the owner still runs
};

TEST_F(CommTest, OpenSetsRawEightNOneAtTheChosenSpeedAndFlowControlAndReopens) {
    // 14400 and 56000 have no termios constant; DTR/DSR has no line setting of its own.
    const std::uint32_t bauds[] = {1200, 2400, 4800, 9600, 14400, 19200, 56000};
    const std::uint8_t flows[] = {0, flow::kRtsCts, flow::kXonXoff, flow::kDtrDsr, 0,
                                  0, flow::kXonXoff};
    for (std::size_t i = 0; i < std::size(bauds); ++i) {
        const std::uint32_t baud = bauds[i];
        const std::uint8_t flowBits = flows[i];
        SCOPED_TRACE(baud);
        ASSERT_EQ(comm.open(com1(baud, flowBits)), 1);
        EXPECT_EQ(customSpeed(pty.slave()).value_or(0), baud);
        termios tio{};
        ::tcgetattr(pty.slave(), &tio);
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CREAD), tcflag_t(CS8 | CREAD));
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(tio.c_iflag & (ICRNL | ISTRIP), 0u);
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(tio.c_cflag & CRTSCTS, flowBits == flow::kRtsCts ? CRTSCTS : 0u);
        const bool xonXoff = flowBits == flow::kXonXoff;
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), xonXoff ? tcflag_t(IXON | IXOFF) : 0u);
        EXPECT_EQ(tio.c_cc[VSTART] * 256 + tio.c_cc[VSTOP], 0x1113);
        EXPECT_EQ(comm.close(), 1);
    }
    EXPECT_TRUE(owner.record().messages.empty());
}

TEST_F(CommTest, FailedOpensLeakNothingAndWritesOnAClosedPortSendNothing) {
    EXPECT_EQ(CComm::watchPort(&comm), -1);  // never opened
    Bytes buffer(8);
    EXPECT_EQ(comm.read(buffer), 0u);
    EXPECT_EQ(comm.write(pattern(9)), 1);
    PortSettings markParity = com1(), nineDataBits = com1();
    markParity.parity = 3;
    nineDataBits.dataBits = 9;
    ::setenv("KESTROVA_COM2", "/dev/kestrova-no-such-device", 1);
    ::setenv("KESTROVA_COM3", "not-a-path", 1);
    server.stopListening();
    const std::size_t fds = openFdCount(), threads = threadCount();
    for (const PortSettings& settings : {markParity, nineDataBits, buildPortSettings(1, 3),
                                         buildPortSettings(2, 3), buildPortSettings(4, 3)}) {
        EXPECT_EQ(comm.open(settings), 0);
        EXPECT_EQ(comm.write(pattern(9)), 1);
    }
    EXPECT_EQ(comm.connected.load(), 0);
    EXPECT_EQ(openFdCount(), fds);
    EXPECT_EQ(threadCount(), threads);

    // The device was left usable, and is held exclusively while open.
    ASSERT_EQ(comm.open(com1()), 1);
    CComm second;
    EXPECT_EQ(second.open(com1()), 0);
    EXPECT_EQ(comm.open(com1()), 0);  // nor reopened while open
    EXPECT_EQ(comm.connected.load(), 1);
    comm.close();
    EXPECT_EQ(comm.write(pattern(9)), 1);
    EXPECT_TRUE(pty.receive(1, 100ms).empty());
    EXPECT_EQ(owner.record().messages, Messages(7, "ERROR"));
    EXPECT_EQ(second.open(com1()), 1);
}

TEST_F(CommTest, WriteTimeLimitGrowsWithThePacketAtLowSpeed) {
    // A 215-byte page at 1200 baud needs 1.8 s on the line: more than one second alone.
    EXPECT_EQ(writeTimeLimit(215, 1200), 2792ms);
    // XOFF from the far end stops the line: nothing gets out until the limit ends the write.
    const auto stalledWrite = [&](std::uint32_t baud) {
        EXPECT_EQ(comm.open(com1(baud, flow::kXonXoff)), 1);
        pty.send({0x13});
        std::this_thread::sleep_for(100ms);
        const auto start = Clock::now();
        EXPECT_EQ(comm.write(pattern(100)), 1);
        comm.close();
        return Clock::now() - start;
    };
    const auto at1200 = stalledWrite(1200);  // 834 ms on the line + 1000 ms
    const auto at9600 = stalledWrite(9600);  // 105 ms + 1000 ms
    EXPECT_GE(at1200, 1830ms);
    EXPECT_LT(at1200, 3500ms);
    EXPECT_GE(at9600, 1100ms);
    EXPECT_LT(at9600, 2500ms);
    EXPECT_EQ(owner.record().messages, Messages(2, "ERROR"));
}

// The same behaviour over the pseudo-terminal and over the network port.
class CommOnLink : public CommTest, public ::testing::WithParamInterface<bool> {
  protected:
    bool tcp() const { return GetParam(); }
    PeerEnd& peer() { return tcp() ? static_cast<PeerEnd&>(server) : pty; }
    bool connect(CComm& port) {
        return port.open(tcp() ? buildPortSettings(4, 3) : com1()) == 1 &&
               (!tcp() || server.accept());
    }
    // The device is free again: the pty opens exclusively elsewhere, the stream has ended.
    bool released() {
        std::uint8_t byte = 0;
        CComm other;
        return tcp() ? ::recv(server.fd.get(), &byte, 1, 0) == 0 : other.open(com1()) == 1;
    }
};
INSTANTIATE_TEST_SUITE_P(PtyAndTcp, CommOnLink, ::testing::Bool());

TEST_P(CommOnLink, BothDirectionsStreamAtOnceInChunksHandedOverOneAtATime) {
    // Consuming slowly gives the watcher every chance to overwrite a chunk in use.
    owner.setHook([](std::span<const std::uint8_t>) { std::this_thread::sleep_for(1ms); });
    ASSERT_TRUE(connect(comm));
    const Bytes incoming = pattern(10000);
    const Bytes outgoing = pattern(50 * 34, 9);  // 50 live-positions packets
    std::thread sender([&] { EXPECT_TRUE(peer().send(incoming)); });
    for (std::size_t at = 0; at < outgoing.size(); at += 34) {
        EXPECT_TRUE(owner.run([&] { comm.write(std::span(outgoing).subspan(at, 34)); }));
    }
    EXPECT_EQ(peer().receive(outgoing.size()), outgoing);
    EXPECT_TRUE(owner.waitFor(incoming.size()));
    sender.join();
    const TestOwner::Record record = owner.record();
    EXPECT_EQ(record.received, incoming);
    EXPECT_GE(record.chunkSizes.size(), 3u);
    EXPECT_LE(std::ranges::max(record.chunkSizes), CComm::kLargestChunk);
    EXPECT_FALSE(record.overlapped);
    EXPECT_TRUE(record.messages.empty());
}

TEST_P(CommOnLink, CloseIsPromptAndReleasesTheDeviceWhereverTheWatcherWaits) {
    const std::size_t threads = threadCount();
    // Waiting for input.
    ASSERT_TRUE(connect(comm));
    std::this_thread::sleep_for(50ms);
    const auto start = Clock::now();
    ASSERT_TRUE(owner.run([&] { comm.close(); }));
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_TRUE(threadsBackTo(threads) && released());

    // Waiting in the hand-off: the chunk read before the close is still consumed, and one of a
    // session opened meanwhile never mixes with it.
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(owner.run([&] {
        ASSERT_TRUE(peer().send({1, 2, 3}));
        ASSERT_TRUE(owner.waitFor(0, 1));
        comm.close();
        EXPECT_TRUE(threadsBackTo(threads) && released());
        ASSERT_TRUE(connect(comm));
        ASSERT_TRUE(peer().send({4, 5, 6}));
        ASSERT_TRUE(owner.waitFor(0, 2));  // the new chunk waits behind the old one
    }));
    EXPECT_TRUE(owner.waitFor(6));
    EXPECT_EQ(owner.record().chunkSizes, (std::vector<std::size_t>{3, 3}));

    // Inside the chunk handler.
    owner.setHook([&](std::span<const std::uint8_t>) { comm.close(); });
    ASSERT_TRUE(peer().send({7}));
    EXPECT_TRUE(owner.waitFor(7));
    EXPECT_TRUE(threadsBackTo(threads) && released());
    owner.setHook({});

    // Destroyed while open.
    EXPECT_TRUE(connect(*std::make_unique<CComm>()));
    EXPECT_TRUE(threadsBackTo(threads) && released());
    EXPECT_EQ(owner.record().received, (Bytes{1, 2, 3, 4, 5, 6, 7}));
}

TEST_P(CommOnLink, HangUpEndsTheWatcherWithoutSpinningAndReconnectWorks) {
    const std::size_t threads = threadCount();
    comm.setOwnerWindow(nullptr);  // chunks without an owner are dropped; reception goes on
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send(pattern(5000)));
    std::this_thread::sleep_for(100ms);
    comm.setOwnerWindow(&owner);
    ASSERT_TRUE(peer().send({1, 2, 3}));
    ASSERT_TRUE(owner.waitFor(3));
    peer().fd.reset();
    EXPECT_TRUE(threadsBackTo(threads));
    const auto cpuBefore = processCpuTime();
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(processCpuTime() - cpuBefore, 100ms);

    // A socket accepts the first write after the peer left; the port must not.
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(owner.record().messages, Messages(2, "ERROR"));
    EXPECT_EQ(comm.connected.load(), 1);  // until the user disconnects
    ASSERT_TRUE(owner.run([&] { comm.close(); }));
    if (!tcp()) {  // the adapter is plugged in again
        pty = PtyPair();
        ::setenv("KESTROVA_COM1", pty.path().c_str(), 1);
    }
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({4, 5}));
    EXPECT_TRUE(owner.waitFor(5));
    EXPECT_EQ(owner.record().received, (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(peer().receive(34), pattern(34));
}

}  // namespace
