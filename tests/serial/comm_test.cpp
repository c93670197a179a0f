// SPDX-License-Identifier: MIT
#include "serial/comm.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <filesystem>
#include <mutex>
#include <numeric>
#include <thread>

#include "pty_pair.h"
#include "serial/app_message_box.h"
#include "serial/posix/custom_speed.h"

using namespace kestrova;
using namespace kestrova::test;
using Clock = std::chrono::steady_clock;

namespace {

// Test data that shows lost, doubled or reordered bytes.
Bytes pattern(std::size_t count, std::uint8_t seed = 0) {
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), seed);  // wraps at 256
    return bytes;
}

// A TCP server on a free loopback port, playing the network serial port's far end.
struct LoopbackListener : PeerEnd {
    LoopbackListener() {
        held.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t size = sizeof address;
        auto* any = reinterpret_cast<sockaddr*>(&address);
        if (::bind(held.get(), any, size) == 0 && ::listen(held.get(), 4) == 0 &&
            ::getsockname(held.get(), any, &size) == 0) {
            device = "tcp:127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        }
    }

    // Takes the port's connection (waits up to 5 s) as the far end.
    bool accept() {
        pollfd wait{held.get(), POLLIN, 0};
        fd.reset(::poll(&wait, 1, 5000) == 1 ? ::accept4(held.get(), nullptr, nullptr, SOCK_CLOEXEC)
                                             : -1);
        return fd.valid();
    }
};

// Stands in for the editor window, with the test's thread as the window's: posted chunks run
// only inside waitFor, as in an event loop. Records every chunk it consumes and, while it
// lives, every application message.
class TestOwner : public CommOwner, public AppMessageBox {
  public:
    TestOwner() { installAppMessageBox(this); }
    ~TestOwner() override { installAppMessageBox(nullptr); }

    // Watcher thread.
    void postToOwner(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        changed_.notify_all();
    }

    // A chunk still queued at the end of this one means the watcher did not wait for it.
    void onCommRead(std::span<const std::uint8_t> chunk) override {
        const Bytes before(chunk.begin(), chunk.end());
        if (hook) {
            hook(chunk);
        }
        std::lock_guard lock(mutex_);
        overlapped |= !tasks_.empty() || !std::ranges::equal(before, chunk);
        received.insert(received.end(), chunk.begin(), chunk.end());
        chunkSizes.push_back(chunk.size());
    }

    void show(std::string_view text) override { messages.emplace_back(text); }

    // Runs posted chunks until `bytes` were consumed in all and `posted` chunks were posted
    // (consumed or queued); false when that takes more than 10 s.
    bool waitFor(std::size_t bytes, std::size_t posted = 0) {
        const auto deadline = Clock::now() + 10s;
        std::unique_lock lock(mutex_);
        while (received.size() < bytes || chunkSizes.size() + tasks_.size() < posted) {
            if (tasks_.empty()) {
                if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
                    return false;
                }
            } else {
                const auto task = std::move(tasks_.front());
                tasks_.pop_front();
                lock.unlock();
                task();
                lock.lock();
            }
        }
        return true;
    }

    // What was consumed and shown, written on the test's thread only.
    Bytes received;
    std::vector<std::size_t> chunkSizes;
    std::vector<std::string> messages;
    bool overlapped = false;  // a chunk in use changed, or the next one was posted
    // Runs inside onCommRead, before the chunk is recorded.
    std::function<void(std::span<const std::uint8_t>)> hook;

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
};

// Open descriptors or running threads of this process.
std::size_t openFdCount(const char* folder = "/proc/self/fd") {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}
std::size_t threadCount() {
    return openFdCount("/proc/self/task");
}

// Waits (bounded) until the process runs `count` threads again, e.g. a watcher has ended.
bool threadsBackTo(std::size_t count) {
    for (int i = 0; i < 500 && threadCount() != count; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    return threadCount() == count;
}

// Kills the test binary when a step hangs (SIGALRM), so that a deadlock fails the test instead
// of stalling CI until its time-out.
struct Watchdog {
    explicit Watchdog(unsigned seconds) { ::alarm(seconds); }
    ~Watchdog() { ::alarm(0); }
};

// COM1 is a pseudo-terminal, COM5 a loopback server; the test plays the controller on both.
class CommTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pty.device.empty() || server.device.empty());
        ::setenv("KESTROVA_COM1", pty.device.c_str(), 1);
        ::setenv("KESTROVA_COM5", server.device.c_str(), 1);
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
    for (const PortSettings& settings :
         {com1(1200), com1(2400, flow::kRtsCts), com1(4800, flow::kXonXoff),
          com1(9600, flow::kDtrDsr), com1(14400), com1(19200), com1(56000, flow::kXonXoff)}) {
        const std::uint32_t baud = settings.baudRate, flowBits = settings.flowControl;
        SCOPED_TRACE(baud);
        ASSERT_EQ(comm.open(settings), 1);
        EXPECT_EQ(customSpeed(pty.held.get()).value_or(0), baud);
        termios tio{};
        ::tcgetattr(pty.held.get(), &tio);
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CREAD), tcflag_t(CS8 | CREAD));
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ((tio.c_iflag & (ICRNL | ISTRIP)) | (tio.c_oflag & OPOST), 0u);
        EXPECT_EQ(tio.c_cflag & CRTSCTS, flowBits == flow::kRtsCts ? CRTSCTS : 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF),
                  flowBits == flow::kXonXoff ? tcflag_t(IXON | IXOFF) : 0u);
        EXPECT_EQ(tio.c_cc[VSTART] * 256 + tio.c_cc[VSTOP], 0x1113);
        EXPECT_EQ(comm.close(), 1);
    }
    EXPECT_TRUE(owner.messages.empty());
}

TEST_F(CommTest, FailedOpensLeakNothingAndWritesThatCannotGoOutReportError) {
    EXPECT_EQ(CComm::watchPort(&comm), -1);  // never opened
    Bytes buffer(8);
    EXPECT_EQ(comm.read(buffer), 0u);
    EXPECT_EQ(comm.write(pattern(9)), 1);
    ::setenv("KESTROVA_COM2", "/dev/kestrova-no-such-device", 1);
    ::setenv("KESTROVA_COM3", "not-a-path", 1);
    server.held.reset();
    const std::size_t fds = openFdCount(), threads = threadCount();
    // Mark parity, nine data bits, a missing device, a malformed name, a refused connection.
    for (const PortSettings& settings :
         {PortSettings{1, 0, 8, 0, 3, 0, 9600}, PortSettings{1, 0, 9, 0, 0, 0, 9600},
          buildPortSettings(1, 3), buildPortSettings(2, 3), buildPortSettings(4, 3)}) {
        EXPECT_EQ(comm.open(settings), 0);
        EXPECT_EQ(comm.write(pattern(9)), 1);
    }
    EXPECT_EQ(comm.connected.load(), 0);
    EXPECT_EQ(openFdCount(), fds);
    EXPECT_EQ(threadCount(), threads);

    // The device was left usable, and is held exclusively while open.
    ASSERT_EQ(comm.open(com1(1200, flow::kXonXoff)), 1);
    CComm second;
    EXPECT_EQ(second.open(com1()), 0);
    EXPECT_EQ(comm.open(com1()), 0);  // nor reopened while open

    // XOFF from the far end stops the line: nothing gets out until the time limit ends the
    // write. It grows with the packet: 100 bytes at 1200 baud take 834 ms on the line.
    pty.send({0x13});
    std::this_thread::sleep_for(100ms);
    const auto start = Clock::now();
    EXPECT_EQ(comm.write(pattern(100)), 1);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 1830ms);  // + 1000 ms
    EXPECT_LT(took, 3500ms);
    comm.close();
    EXPECT_EQ(comm.write(pattern(9)), 1);
    EXPECT_TRUE(pty.receive(1, 100ms).empty());
    EXPECT_EQ(owner.messages, std::vector<std::string>(8, "ERROR"));
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
        std::array<std::uint8_t, 1> byte{};
        return tcp() ? ::recv(server.fd.get(), byte.data(), 1, 0) == 0 : CComm().open(com1()) == 1;
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
    EXPECT_TRUE(owner.messages.empty());
}

TEST_P(CommOnLink, CloseAndHangUpEndTheWatcherPromptlyWhereverItWaitsAndReconnectWorks) {
    // Waiting for input.
    ASSERT_TRUE(connect(comm));
    const std::size_t threads = threadCount() - 1;  // all but the watcher
    std::this_thread::sleep_for(50ms);
    const auto start = Clock::now();
    comm.close();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_TRUE(threadsBackTo(threads) && released());

    // Waiting in the hand-off: the chunk read before the close is still consumed, and one of a
    // session opened meanwhile never mixes with it.
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({1, 2, 3}));
    ASSERT_TRUE(owner.waitFor(0, 1));
    comm.close();
    EXPECT_TRUE(threadsBackTo(threads) && released());
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({4, 5, 6}));
    ASSERT_TRUE(owner.waitFor(0, 2));  // the new chunk waits behind the old one
    EXPECT_TRUE(owner.waitFor(6));
    EXPECT_EQ(owner.chunkSizes, (std::vector<std::size_t>{3, 3}));

    // Inside the chunk handler.
    owner.hook = [&](std::span<const std::uint8_t>) { comm.close(); };
    ASSERT_TRUE(peer().send({7}));
    EXPECT_TRUE(owner.waitFor(7));
    EXPECT_TRUE(threadsBackTo(threads) && released());
    owner.hook = {};

    // Destroyed while open.
    EXPECT_TRUE(connect(*std::make_unique<CComm>()));
    EXPECT_TRUE(threadsBackTo(threads) && released());

    // Hung up by the far end: the watcher ends without spinning.
    ASSERT_TRUE(connect(comm));
    peer().fd.reset();
    EXPECT_TRUE(threadsBackTo(threads));
    const std::clock_t cpuBefore = std::clock();  // every thread of the process
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(std::clock() - cpuBefore, CLOCKS_PER_SEC / 10);
    // A socket accepts the first write after the peer left; the port must not.
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(owner.messages, std::vector<std::string>(2, "ERROR"));
    EXPECT_EQ(comm.connected.load(), 1);  // until the user disconnects
    comm.close();
    if (!tcp()) {  // the adapter is plugged in again
        pty = PtyPair();
        ::setenv("KESTROVA_COM1", pty.device.c_str(), 1);
    }
    ASSERT_TRUE(connect(comm));
    ASSERT_TRUE(peer().send({8, 9}));
    EXPECT_TRUE(owner.waitFor(9));
    EXPECT_EQ(owner.received, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(comm.write(pattern(34)), 1);
    EXPECT_EQ(peer().receive(34), pattern(34));
}

}  // namespace
