// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <thread>

#include "process_probes.h"
#include "pty_pair.h"
#include "recording_message_box.h"
#include "serial/comm.h"
#include "serial/custom_speed.h"
#include "test_owner.h"

using namespace kestrova;
using namespace kestrova::test;

namespace {

class CommOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.valid());
        useDevice(1, pty.path());
        comm.setOwnerWindow(&owner);
    }

    static void useDevice(int choice, const std::string& device) {
        ::setenv(("KESTROVA_COM" + std::to_string(choice)).c_str(), device.c_str(), 1);
    }

    static PortSettings com1(std::uint32_t baud = 9600, std::uint8_t flowControl = 0) {
        PortSettings settings = buildPortSettings(0, 3);
        settings.baudRate = baud;
        settings.flowControl = flowControl;
        return settings;
    }

    // Closes on the owner's thread, as the editor does, failing rather than hanging.
    void closeOnOwner() {
        Watchdog watchdog(10s, "close");
        ASSERT_TRUE(owner.run([this] { comm.close(); }));
    }

    RecordingMessageBox box;
    PtyPair pty;
    TestOwner owner;
    CComm comm;  // destroyed first: the port closes while the owner still runs
};

TEST_F(CommOnPty, OpenSetsRawEightNOneAtTheChosenSpeedAndReopens) {
    const std::pair<std::uint32_t, speed_t> speeds[] = {
        {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600}, {19200, B19200}};
    for (const auto& [baud, constant] : speeds) {
        SCOPED_TRACE(baud);
        ASSERT_EQ(comm.open(com1(baud)), 1);
        EXPECT_EQ(comm.connected.load(), 1);
        const termios tio = pty.lineSettings();
        EXPECT_EQ(cfgetospeed(&tio), constant);
        EXPECT_EQ(cfgetispeed(&tio), constant);
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
        EXPECT_NE(tio.c_cflag & CREAD, 0u);
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(comm.close(), 1);
        EXPECT_EQ(comm.connected.load(), 0);
    }
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(CommOnPty, OfferedSpeedsWithoutATermiosConstantStillOpen) {
    for (const std::uint32_t baud : {14400u, 56000u}) {
        SCOPED_TRACE(baud);
        ASSERT_EQ(comm.open(com1(baud)), 1);
        const auto reported = customSpeed(pty.slave());
        ASSERT_TRUE(reported.has_value());
        EXPECT_EQ(*reported, baud);
        EXPECT_EQ(pty.lineSettings().c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        comm.close();
    }
}

TEST_F(CommOnPty, FlowControlBitsMapOntoTheLine) {
    ASSERT_EQ(comm.open(com1(9600, flow::kRtsCts)), 1);
    EXPECT_NE(pty.lineSettings().c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(pty.lineSettings().c_iflag & (IXON | IXOFF), 0u);
    comm.close();
    ASSERT_EQ(comm.open(com1(9600, flow::kXonXoff)), 1);
    const termios tio = pty.lineSettings();
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    comm.close();
    // DTR/DSR has no line setting of its own: the port opens all the same.
    ASSERT_EQ(comm.open(com1(9600, flow::kDtrDsr)), 1);
    EXPECT_EQ(pty.lineSettings().c_cflag & CRTSCTS, 0u);
}

TEST_F(CommOnPty, FailedOpensLeakNothingAndLeaveThePortClosed) {
    const std::size_t fdsBefore = openFdCount();
    const std::size_t threadsBefore = threadCount();
    PortSettings markParity = com1();
    markParity.parity = 3;
    EXPECT_EQ(comm.open(markParity), 0);
    PortSettings fiveDataBits = com1();
    fiveDataBits.dataBits = 9;
    EXPECT_EQ(comm.open(fiveDataBits), 0);
    useDevice(2, "/dev/kestrova-no-such-device");
    EXPECT_EQ(comm.open(buildPortSettings(1, 3)), 0);
    useDevice(3, "not-a-path");
    EXPECT_EQ(comm.open(buildPortSettings(2, 3)), 0);
    EXPECT_EQ(comm.connected.load(), 0);
    EXPECT_EQ(openFdCount(), fdsBefore);
    EXPECT_EQ(threadCount(), threadsBefore);
    // The device was left usable.
    EXPECT_EQ(comm.open(com1()), 1);
}

TEST_F(CommOnPty, SecondExclusiveOpenFailsUntilTheFirstCloses) {
    ASSERT_EQ(comm.open(com1()), 1);
    const std::size_t fdsBefore = openFdCount();
    CComm second;
    EXPECT_EQ(second.open(com1()), 0);
    EXPECT_EQ(second.connected.load(), 0);
    EXPECT_EQ(openFdCount(), fdsBefore);
    // Opening an open port again is refused too, and keeps the running connection.
    EXPECT_EQ(comm.open(com1()), 0);
    EXPECT_EQ(comm.connected.load(), 1);
    comm.close();
    EXPECT_EQ(second.open(com1()), 1);
}

TEST_F(CommOnPty, StreamArrivesInOrderInChunksHandedOverOneAtATime) {
    // Consuming slowly gives the watcher every chance to overwrite a chunk in use.
    owner.setHook([](std::span<const std::uint8_t>) { std::this_thread::sleep_for(1ms); });
    ASSERT_EQ(comm.open(com1()), 1);
    const Bytes sent = pattern(10000);
    std::thread peer([&] { pty.send(sent); });
    EXPECT_TRUE(owner.waitForBytes(sent.size()));
    peer.join();
    comm.close();
    EXPECT_EQ(owner.received(), sent);
    const auto sizes = owner.chunkSizes();
    EXPECT_GE(sizes.size(), 3u);
    for (const std::size_t size : sizes) {
        EXPECT_GE(size, 1u);
        EXPECT_LE(size, CComm::kLargestChunk);
    }
    EXPECT_FALSE(owner.overlapped());
}

TEST_F(CommOnPty, CloseWhileTheWatcherWaitsInTheHandOffStillDeliversTheChunk) {
    const std::size_t threadsBefore = threadCount();
    ASSERT_EQ(comm.open(com1()), 1);
    {
        Watchdog watchdog(10s, "close during hand-off");
        // The owner's thread is busy until the watcher waits on it, then closes.
        ASSERT_TRUE(owner.run([&] {
            ASSERT_TRUE(pty.send(text("old")));
            ASSERT_TRUE(owner.waitForPosted(1));
            comm.close();
        }));
    }
    EXPECT_TRUE(owner.waitForBytes(3));
    EXPECT_EQ(owner.received(), text("old"));
    EXPECT_TRUE(threadsBackTo(threadsBefore));
    EXPECT_EQ(comm.connected.load(), 0);
    CComm other;
    EXPECT_EQ(other.open(com1()), 1);  // the device was released
}

TEST_F(CommOnPty, StaleChunkAfterReopenNeverMixesWithTheNewSession) {
    ASSERT_EQ(comm.open(com1()), 1);
    {
        Watchdog watchdog(10s, "close and reopen during hand-off");
        ASSERT_TRUE(owner.run([&] {
            ASSERT_TRUE(pty.send(text("old")));
            ASSERT_TRUE(owner.waitForPosted(1));
            comm.close();
            ASSERT_EQ(comm.open(com1()), 1);
            ASSERT_TRUE(pty.send(text("new")));
            // The new watcher posts its chunk while the old one still waits in the queue.
            ASSERT_TRUE(owner.waitForPosted(2));
        }));
    }
    EXPECT_TRUE(owner.waitForBytes(6));
    EXPECT_EQ(owner.received(), text("oldnew"));
    EXPECT_EQ(owner.chunkSizes(), (std::vector<std::size_t>{3, 3}));
}

TEST_F(CommOnPty, CloseFromInsideTheChunkHandler) {
    const std::size_t threadsBefore = threadCount();
    owner.setHook([this](std::span<const std::uint8_t>) { comm.close(); });
    ASSERT_TRUE(owner.run([this] { ASSERT_EQ(comm.open(com1()), 1); }));
    ASSERT_TRUE(pty.send(text("abc")));
    {
        Watchdog watchdog(10s, "close inside the handler");
        EXPECT_TRUE(owner.waitForBytes(3));
    }
    EXPECT_TRUE(threadsBackTo(threadsBefore));
    // The port opens and closes on the owner's thread only.
    ASSERT_TRUE(owner.run([this] { EXPECT_EQ(comm.connected.load(), 0); }));
}

TEST_F(CommOnPty, CloseCutsAnIdleWaitShortAtOnce) {
    const std::size_t threadsBefore = threadCount();
    ASSERT_EQ(comm.open(com1()), 1);
    std::this_thread::sleep_for(50ms);  // the watcher is asleep in its wait
    const auto start = std::chrono::steady_clock::now();
    closeOnOwner();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(threadCount(), threadsBefore);
    CComm other;
    EXPECT_EQ(other.open(com1()), 1);
}

TEST_F(CommOnPty, WritesFromTheOwnerWhileChunksStreamIn) {
    ASSERT_EQ(comm.open(com1()), 1);
    const Bytes incoming = pattern(20000, 3);
    const Bytes packet = pattern(34, 9);
    std::thread peer([&] { pty.send(incoming); });
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(owner.run([&] { EXPECT_EQ(comm.write(packet), 1); }));
    }
    const Bytes written = pty.receive(50 * packet.size());
    EXPECT_TRUE(owner.waitForBytes(incoming.size()));
    peer.join();
    EXPECT_EQ(owner.received(), incoming);
    ASSERT_EQ(written.size(), 50 * packet.size());
    for (std::size_t i = 0; i < 50; ++i) {
        EXPECT_TRUE(std::equal(packet.begin(), packet.end(), written.begin() + i * packet.size()));
    }
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(CommOnPty, WritesOnAClosedPortReportErrorAndSendNothing) {
    const Bytes packet = pattern(9);
    EXPECT_EQ(comm.write(packet), 1);  // never opened
    EXPECT_EQ(comm.write(packet.data(), 0), 1);
    useDevice(2, "/dev/kestrova-no-such-device");
    EXPECT_EQ(comm.open(buildPortSettings(1, 3)), 0);
    EXPECT_EQ(comm.write(packet), 1);  // after a failed open
    ASSERT_EQ(comm.open(com1()), 1);
    EXPECT_EQ(comm.write(packet), 1);
    EXPECT_EQ(pty.receive(packet.size()), packet);
    comm.close();
    EXPECT_EQ(comm.write(packet), 1);  // after close
    EXPECT_TRUE(pty.receive(1, 100ms).empty());
    EXPECT_EQ(box.texts(), (std::vector<std::string>(4, "ERROR")));
}

TEST_F(CommOnPty, WriteTimeLimitGrowsWithThePacketAtLowSpeed) {
    // XOFF from the far end stops the line: nothing gets out until the limit ends the write.
    const auto stalledWrite = [&](std::uint32_t baud) {
        EXPECT_EQ(comm.open(com1(baud, flow::kXonXoff)), 1);
        pty.send({0x13});
        std::this_thread::sleep_for(100ms);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(comm.write(pattern(100)), 1);
        const auto took = std::chrono::steady_clock::now() - start;
        comm.close();
        return took;
    };
    const auto at1200 = stalledWrite(1200);  // 834 ms on the line + 1000 ms
    const auto at9600 = stalledWrite(9600);  // 105 ms + 1000 ms
    EXPECT_GE(at1200, 1830ms);
    EXPECT_LT(at1200, 3500ms);
    EXPECT_GE(at9600, 1100ms);
    EXPECT_LT(at9600, 2500ms);
    EXPECT_EQ(box.texts(), (std::vector<std::string>(2, "ERROR")));

    // XON lets the same write through.
    box.clear();
    ASSERT_EQ(comm.open(com1(1200, flow::kXonXoff)), 1);
    pty.send({0x13});
    std::this_thread::sleep_for(100ms);
    pty.send({0x11});
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(comm.write(pattern(100)), 1);
    EXPECT_EQ(pty.receive(100), pattern(100));
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(CommOnPty, HangUpEndsTheWatcherQuietlyAndReconnectWorks) {
    const std::size_t threadsBefore = threadCount();
    ASSERT_EQ(comm.open(com1()), 1);
    ASSERT_TRUE(pty.send(text("hi")));
    ASSERT_TRUE(owner.waitForBytes(2));
    pty.hangUp();
    EXPECT_TRUE(threadsBackTo(threadsBefore));
    const auto cpuBefore = processCpuTime();
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(processCpuTime() - cpuBefore, 100ms);

    EXPECT_EQ(comm.write(text("lost")), 1);
    EXPECT_EQ(box.texts(), std::vector<std::string>{"ERROR"});
    EXPECT_EQ(comm.connected.load(), 1);  // until the user disconnects
    closeOnOwner();

    PtyPair replugged;
    ASSERT_TRUE(replugged.valid());
    useDevice(1, replugged.path());
    ASSERT_EQ(comm.open(com1()), 1);
    ASSERT_TRUE(replugged.send(text("back")));
    EXPECT_TRUE(owner.waitForBytes(6));
    EXPECT_EQ(owner.received(), text("hiback"));
    EXPECT_EQ(comm.write(text("ok")), 1);
    EXPECT_EQ(replugged.receive(2), text("ok"));
    EXPECT_EQ(box.texts().size(), 1u);
}

TEST_F(CommOnPty, WithoutAnOwnerChunksAreDroppedAndReceptionGoesOn) {
    comm.setOwnerWindow(nullptr);
    ASSERT_EQ(comm.open(com1()), 1);
    ASSERT_TRUE(pty.send(pattern(5000)));
    std::this_thread::sleep_for(100ms);
    comm.setOwnerWindow(&owner);
    ASSERT_TRUE(pty.send(text("later")));
    EXPECT_TRUE(owner.waitForBytes(5));
    EXPECT_EQ(owner.received(), text("later"));
}

TEST_F(CommOnPty, DestroyingAnOpenPortReleasesTheDevice) {
    const std::size_t fdsBefore = openFdCount();
    const std::size_t threadsBefore = threadCount();
    {
        CComm temporary;
        temporary.setOwnerWindow(&owner);
        ASSERT_EQ(temporary.open(com1()), 1);
        ASSERT_TRUE(pty.send(text("x")));
        ASSERT_TRUE(owner.waitForBytes(1));
    }
    EXPECT_EQ(openFdCount(), fdsBefore);
    EXPECT_EQ(threadCount(), threadsBefore);
    EXPECT_EQ(comm.open(com1()), 1);
}

TEST(CommWatcher, WithoutAPortEndsAtOnce) {
    EXPECT_EQ(CComm::watchPort(nullptr), -1);
    CComm closed;
    EXPECT_EQ(CComm::watchPort(&closed), -1);
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(closed.read(buffer), 0u);
}

}  // namespace
