// SPDX-License-Identifier: MIT
#include "src/serial/comm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/pty_pair.h"  // first: Winsock before the rest of Windows

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <numeric>
#include <thread>

using namespace kestrova;
using namespace kestrova::test;
using Clock = std::chrono::steady_clock;
using ::testing::HasSubstr;

namespace {

// Test data that shows lost, doubled or reordered bytes.
Bytes pattern(std::size_t count, std::uint8_t seed = 0) {
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), seed);  // wraps at 256
    return bytes;
}

// Polls until `done` holds; false when that takes more than 10 s.
bool eventually(const std::function<bool()>& done) {
    for (const auto until = Clock::now() + 10s; !done() && Clock::now() < until;) {
        std::this_thread::sleep_for(1ms);
    }
    return done();
}

// Stands in for the editor window, with the test's thread as the window's: posted chunks run
// only inside waitFor, as in an event loop. Records every chunk it consumes and every failure
// reported to it.
struct TestOwner : CommOwner {
    void onCommFailure(const CommFailure& failure) override { failures.push_back(failure); }
    std::size_t writeFailures() const {
        return std::ranges::count(failures, CommFailure::During::Write, &CommFailure::during);
    }

    void postToOwner(std::function<void()> task) override {  // watcher thread
        std::lock_guard lock(mutex);
        tasks.push_back(std::move(task));
        changed.notify_all();
    }

    // A chunk still queued at the end of this one means the watcher did not wait for it.
    void onCommRead(std::span<const std::uint8_t> chunk) override {
        const Bytes before(chunk.begin(), chunk.end());
        hook(chunk);
        std::lock_guard lock(mutex);
        overlapped |= !tasks.empty() || !std::ranges::equal(before, chunk);
        received.insert(received.end(), chunk.begin(), chunk.end());
        chunkSizes.push_back(chunk.size());
    }

    // Runs posted chunks until `bytes` were consumed in all and `posted` chunks were posted
    // (consumed or queued); false when that takes more than 10 s.
    bool waitFor(std::size_t bytes, std::size_t posted = 0) {
        std::unique_lock lock(mutex);
        while (received.size() < bytes || chunkSizes.size() + tasks.size() < posted) {
            if (tasks.empty() && !changed.wait_for(lock, 10s, [&] { return !tasks.empty(); })) {
                return false;
            }
            const auto task = std::move(tasks.front());
            tasks.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
        return true;
    }

    Bytes received;  // what was consumed and shown, written on the test's thread only
    std::vector<std::size_t> chunkSizes;
    std::vector<CommFailure> failures;
    bool overlapped = false;  // a chunk in use changed, or the next one was posted
    std::function<void(std::span<const std::uint8_t>)> hook = [](auto) {};  // in onCommRead
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> tasks;
};

// Where the system tells what the peer acknowledged, a stalled peer is noticed at the first
// page it does not take; Winsock under Wine cannot tell, and its small send buffer fills first.
#ifdef _WIN32
constexpr std::size_t kStallNoticedWithin = 40;
#else
constexpr std::size_t kStallNoticedWithin = 12;
#endif

// COM1 is a pseudo-terminal, COM5 a loopback server; the test plays the controller on both.
class CommTest : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        if (std::getenv("KESTROVA_TEST_BRIDGE") == nullptr) {
            GTEST_SKIP() << "no pseudo-terminal bridge: run scripts/test-windows.sh";
        }
#endif
        ASSERT_FALSE(pty.device.empty() || server.device.empty());
        ::setenv("KESTROVA_COM1", pty.device.c_str(), 1);
        ::setenv("KESTROVA_COM5", server.device.c_str(), 1);
        comm.setOwnerWindow(&owner);
    }
    static PortSettings com1(std::uint32_t baud = 9600, std::uint8_t flow = 0) {
        return {1, 0, 8, flow, 0, 0, baud};  // raw 8N1
    }

    PtyPair pty;
    LoopbackListener server;
    TestOwner owner;
    CComm comm;  // destroyed first: the port closes while the owner still runs
};

// An open that fails tells the owner which device and why, and leaves nothing behind: a write
// afterwards fails too, and the pseudo-terminal still opens.
struct FailedOpen {
    const char* name;
    PortSettings settings;
    const char* device;  // as the failure names it; nullptr: the pseudo-terminal
    const char* reason;  // a part of the reason; nullptr: the system's own words
    friend void PrintTo(const FailedOpen& open, std::ostream* out) { *out << open.name; }
};

class FailedOpenTest : public CommTest, public ::testing::WithParamInterface<FailedOpen> {};

TEST_P(FailedOpenTest, TellsTheOwnerWhyAndLeavesNothingBehind) {
    ::setenv("KESTROVA_COM2", kMissingDevice, 1);
    ::setenv("KESTROVA_COM3", "not-a-path", 1);
    server.held.reset();
    const FailedOpen& param = GetParam();
    EXPECT_EQ(comm.open(param.settings), 0);
    EXPECT_EQ(std::pair(comm.isConnected(), comm.write(pattern(9))), std::pair(false, 0));
    ASSERT_EQ(owner.failures.size(), 2u);
    const auto& [opened, written] = std::tie(owner.failures[0], owner.failures[1]);
    EXPECT_THAT(opened.device, HasSubstr(param.device ? param.device : pty.device));
    EXPECT_THAT(opened.reason, HasSubstr(param.reason ? param.reason : " "));
    EXPECT_EQ(
        std::tuple(opened.during, written.during, written.reason),
        std::tuple(CommFailure::During::Open, CommFailure::During::Write, "the port is not open"));
    EXPECT_EQ(comm.open(com1()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedOpenTest,
    ::testing::Values(FailedOpen{"NineDataBits", {1, 0, 9, 0, 0, 0, 9600}, nullptr, nullptr},
                      FailedOpen{"MissingDevice", buildPortSettings(1, 3), kMissingDevice,
                                 "; is the adapter plugged in?"},
                      FailedOpen{"MalformedOverride", buildPortSettings(2, 3), "COM3",
                                 "check the KESTROVA_COM variables"},
                      FailedOpen{"RefusedConnection", buildPortSettings(4, 3), "tcp:127.0.0.1:",
                                 "; is the simulator or the serial server running?"}),
    [](const auto& info) { return std::string(info.param.name); });

// Held exclusively while open (where the system enforces it), never reopened while open, and
// silent once closed.
TEST_F(CommTest, AnOpenPortIsHeldAloneAndAClosedOneSendsNothing) {
    ASSERT_EQ(comm.open(com1()), 1);
#ifndef _WIN32
    EXPECT_EQ(CComm().open(com1()), 0);  // Wine lets a second program open a COM port
#endif
    EXPECT_EQ(comm.open(com1()), 0);
    comm.close();
    EXPECT_EQ(comm.write(pattern(9)), 0);
    ASSERT_EQ(owner.writeFailures(), 1u);
    EXPECT_EQ(owner.failures.back().reason, "the port is not open") << "refused before writing";
}

// The same behaviour over the pseudo-terminal and over the network port.
class CommOnLink : public CommTest, public ::testing::WithParamInterface<bool> {
  protected:
    bool tcp() const { return GetParam(); }
    PeerEnd& peer() { return tcp() ? static_cast<PeerEnd&>(server) : pty; }
    bool connect(CComm& port, std::uint8_t flow = 0) {
        return port.open(tcp() ? buildPortSettings(4, 3) : com1(9600, flow)) == 1 &&
               (!tcp() || server.accept());
    }
    // The device is free again: the pty opens exclusively elsewhere, the stream has ended.
    bool released() {
        std::uint8_t byte = 0;
        return tcp() ? ::read(server.fd.get(), &byte, 1) == 0 : CComm().open(com1()) == 1;
    }
    // Connects to a peer that takes no bytes (XOFF; a full small receive buffer) and writes the
    // page until the port notices: the number of writes and how long the last one took.
    std::pair<std::size_t, Clock::duration> writeUntilStalled(const Bytes& page) {
        const int smallest = 1;  // the system rounds it up to its smallest receive buffer
        ::setsockopt(server.held.get(), SOL_SOCKET, SO_RCVBUF,
                     reinterpret_cast<const char*>(&smallest), sizeof smallest);
        // The port reads the byte after the XOFF only once the line has taken the XOFF.
        if (!connect(comm, flow::kXonXoff) ||
            !(tcp() || (pty.send({kXoffChar, 0xFF}) && owner.waitFor(1)))) {
            return {};
        }
        std::size_t writes = 0;
        auto took = Clock::duration{};
        for (auto start = Clock::now(); owner.failures.empty() && writes++ < kStallNoticedWithin;
             start = Clock::now()) {
            comm.write(page);
            took = Clock::now() - start;
        }
        return {writes, took};
    }
};
INSTANTIATE_TEST_SUITE_P(PtyAndTcp, CommOnLink, ::testing::Bool());

TEST_P(CommOnLink, BothDirectionsStreamAtOnceInChunksHandedOverOneAtATime) {
    // Consuming slowly gives the watcher every chance to overwrite a chunk in use.
    owner.hook = [](std::span<const std::uint8_t>) { std::this_thread::sleep_for(1ms); };
    ASSERT_TRUE(connect(comm));
    const Bytes incoming = pattern(10000);
    const Bytes outgoing = pattern(50 * 34, 9);  // 50 live-positions packets
    std::thread sender([&] { EXPECT_TRUE(peer().send(incoming)); });
    // Each write lands while the watcher waits in the hand-off; a chunk is consumed between.
    for (std::size_t at = 0; at < outgoing.size(); at += 34) {
        EXPECT_EQ(comm.write(std::span(outgoing).subspan(at, 34)), 1);
        EXPECT_TRUE(owner.waitFor(std::min(incoming.size(), owner.received.size() + 1)));
    }
    EXPECT_EQ(peer().receive(outgoing.size()), outgoing);
    EXPECT_TRUE(owner.waitFor(incoming.size()));
    sender.join();
    EXPECT_EQ(owner.received, incoming);
    EXPECT_LE(std::ranges::max(owner.chunkSizes), CComm::kLargestChunk);
    EXPECT_FALSE(owner.overlapped);
    EXPECT_TRUE(owner.failures.empty());
}

// A peer that stops taking bytes (XOFF on the line; a full small receive buffer on the network)
// is noticed at the time limit: that write and every later one show "ERROR", a stream's without
// trying again.
TEST_P(CommOnLink, AStalledPeerIsNoticedAtTheTimeLimit) {
    const auto [writes, took] = writeUntilStalled(pattern(215));
    ASSERT_EQ(owner.failures.size(), 1u) << writes;
    EXPECT_EQ(owner.failures[0].reason, "write timed out");
    EXPECT_GE(took, 1s) << "a second's grace beyond the line time";
    EXPECT_EQ(comm.write(pattern(215)), 0);
    ASSERT_EQ(owner.writeFailures(), 2u);
    // A stream is shut down, or already known to be gone; a line times out again.
    EXPECT_THAT(owner.failures[1].reason,
                HasSubstr(tcp() ? "; disconnect and connect again" : "write timed out"));
}

// The unsent rest of a stalled write is dropped: a stream ends, and a line that flows again
// carries the next write but never the rest of the page.
TEST_P(CommOnLink, AStalledPeerNeverGetsTheRestOfAPacket) {
    const Bytes page = pattern(215);
    const std::size_t writes = writeUntilStalled(page).first;
    ASSERT_EQ(owner.failures.size(), 1u) << writes;
    ASSERT_TRUE(tcp() || (pty.send({kXonChar}) && comm.write(Bytes{0xFF}) == 1));
    const Bytes got = tcp() ? server.receive(writes * page.size()) : pty.receiveThrough(0xFF);
    EXPECT_LT(got.size(), writes * page.size()) << writes;
    EXPECT_TRUE(tcp() || (!got.empty() && got.back() == 0xFF)) << "the next write came through";
}

// Closed while the watcher waits in the hand-off: the chunk read before the close is still
// consumed, and one of a session opened meanwhile never mixes with it.
TEST_P(CommOnLink, CloseDuringTheHandOffKeepsTheChunkAndSessionsApart) {
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({1, 2, 3}));
    ASSERT_TRUE(owner.waitFor(0, 1));
    comm.close();
    EXPECT_TRUE(released());
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({4, 5, 6}));
    ASSERT_TRUE(owner.waitFor(0, 2));  // the new chunk waits behind the old one
    EXPECT_TRUE(owner.waitFor(6));
    EXPECT_EQ(owner.received, (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(owner.chunkSizes, (std::vector<std::size_t>{3, 3}));
}

// Closed from inside the chunk handler, as a modal box it shows may do.
TEST_P(CommOnLink, CloseInsideTheChunkHandlerReleasesTheDevice) {
    owner.hook = [&](std::span<const std::uint8_t>) { comm.close(); };
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({7}));
    EXPECT_TRUE(owner.waitFor(1));
    EXPECT_TRUE(released());
}

TEST_P(CommOnLink, DestroyedWhileOpenReleasesTheDevice) {
    EXPECT_TRUE(connect(*std::make_unique<CComm>()));
    EXPECT_TRUE(released());
}

// Hung up by the far end: the watcher notices and ends. A socket would accept the first write
// after the peer left; the port must not. It stays connected until the user disconnects, and a
// new connection works.
TEST_P(CommOnLink, AHangUpFailsEveryWriteUntilReconnected) {
    ASSERT_TRUE(connect(comm));
    peer().fd.reset();
    ASSERT_TRUE(eventually([&] { return comm.deviceGone(); }));
    EXPECT_EQ(comm.write(pattern(34)), 0);
    EXPECT_EQ(comm.write(pattern(34)), 0);
    ASSERT_EQ(owner.writeFailures(), 2u);
    EXPECT_EQ(owner.failures[1].reason, "the device has gone; disconnect and connect again");
    EXPECT_TRUE(comm.isConnected());
    comm.close();
    if (!tcp()) {  // the adapter is plugged in again
        pty = PtyPair();
        ::setenv("KESTROVA_COM1", pty.device.c_str(), 1);
    }
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({8, 9}));
    EXPECT_TRUE(owner.waitFor(2));
    EXPECT_EQ(owner.received, (Bytes{8, 9}));
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(peer().receive(34), pattern(34));
}

}  // namespace
