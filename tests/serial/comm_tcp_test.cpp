// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "loopback_listener.h"
#include "process_probes.h"
#include "recording_message_box.h"
#include "serial/comm.h"
#include "test_owner.h"

using namespace kestrova;
using namespace kestrova::test;

namespace {

constexpr int kNetworkChoice = 4;  // "COM5"

class CommOnTcp : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(server.port(), 0);
        connectTo(server);
        comm.setOwnerWindow(&owner);
    }

    static void connectTo(const LoopbackListener& listener) {
        ::setenv("KESTROVA_COM5", listener.device().c_str(), 1);
    }

    static PortSettings com5() { return buildPortSettings(kNetworkChoice, 3); }

    RecordingMessageBox box;
    LoopbackListener server;
    TestOwner owner;
    CComm comm;
};

TEST_F(CommOnTcp, BothDirectionsCarryWholeStreams) {
    ASSERT_EQ(comm.open(com5()), 1);
    ASSERT_TRUE(server.accept());
    const Bytes incoming = pattern(10000);
    ASSERT_TRUE(server.send(incoming));
    EXPECT_TRUE(owner.waitForBytes(incoming.size()));
    EXPECT_EQ(owner.received(), incoming);
    for (const std::size_t size : owner.chunkSizes()) {
        EXPECT_LE(size, CComm::kLargestChunk);
    }
    EXPECT_FALSE(owner.overlapped());

    const Bytes page = pattern(215);
    EXPECT_EQ(comm.write(page), 1);
    EXPECT_EQ(server.receive(page.size()), page);
    EXPECT_TRUE(box.texts().empty());

    comm.close();
    std::uint8_t byte = 0;
    EXPECT_EQ(::recv(server.peer(), &byte, 1, 0), 0);  // the stream ended
}

TEST_F(CommOnTcp, RefusedConnectionFailsTheOpenAndLeaksNothing) {
    server.stopListening();
    const std::size_t fdsBefore = openFdCount();
    const std::size_t threadsBefore = threadCount();
    EXPECT_EQ(comm.open(com5()), 0);
    EXPECT_EQ(comm.connected.load(), 0);
    EXPECT_EQ(openFdCount(), fdsBefore);
    EXPECT_EQ(threadCount(), threadsBefore);
    EXPECT_EQ(comm.write(pattern(9)), 1);
    EXPECT_EQ(box.texts(), std::vector<std::string>{"ERROR"});
}

TEST_F(CommOnTcp, PeerCloseEndsTheWatcherWithoutSpinningAndReconnectWorks) {
    const std::size_t threadsBefore = threadCount();
    ASSERT_EQ(comm.open(com5()), 1);
    ASSERT_TRUE(server.accept());
    ASSERT_TRUE(server.send({1, 2, 3}));
    ASSERT_TRUE(owner.waitForBytes(3));
    server.hangUp();
    EXPECT_TRUE(threadsBackTo(threadsBefore));
    const auto cpuBefore = processCpuTime();
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(processCpuTime() - cpuBefore, 100ms);

    // A socket accepts the first write after the peer left; the port must not.
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(box.texts(), (std::vector<std::string>(2, "ERROR")));
    {
        Watchdog watchdog(10s, "close after hang-up");
        ASSERT_TRUE(owner.run([this] { comm.close(); }));
    }

    ASSERT_EQ(comm.open(com5()), 1);
    ASSERT_TRUE(server.accept());
    ASSERT_TRUE(server.send({4, 5}));
    EXPECT_TRUE(owner.waitForBytes(5));
    EXPECT_EQ(owner.received(), (Bytes{1, 2, 3, 4, 5}));
}

TEST_F(CommOnTcp, CloseWhileTheWatcherWaitsInTheHandOff) {
    const std::size_t threadsBefore = threadCount();
    ASSERT_EQ(comm.open(com5()), 1);
    ASSERT_TRUE(server.accept());
    ASSERT_TRUE(server.send({7, 8, 9}));
    {
        Watchdog watchdog(10s, "close during hand-off");
        ASSERT_TRUE(owner.run([&] {
            ASSERT_TRUE(owner.waitForPosted(1));
            comm.close();
        }));
    }
    EXPECT_TRUE(owner.waitForBytes(3));
    EXPECT_EQ(owner.received(), (Bytes{7, 8, 9}));
    EXPECT_TRUE(threadsBackTo(threadsBefore));
}

}  // namespace
