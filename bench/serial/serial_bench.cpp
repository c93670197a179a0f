// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "src/serial/comm.h"
#include "src/serial/comm_owner.h"
#include "tests/support/pty_pair.h"

using namespace kestrova;
using kestrova::test::LoopbackListener;
using kestrova::test::PtyPair;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kPacketBytes = 34;  // a live-positions packet

// Plays the editor window: runs posted tasks on a thread of its own and timestamps each
// consumption, so the figure ends where the editor would have the bytes in hand.
class TimedOwner : public CommOwner {
  public:
    void postToOwner(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        changed_.notify_all();
    }

    void onCommRead(std::span<const std::uint8_t> chunk) override {
        std::lock_guard lock(mutex_);
        bytes_ += chunk.size();
        lastAt_ = Clock::now();
        changed_.notify_all();
    }

    void onCommFailure(const CommFailure&) override {}

    // Waits until `total` bytes were consumed; returns when the last one was.
    Clock::time_point waitFor(std::size_t total) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(5), [&] { return bytes_ >= total; });
        return lastAt_;
    }

  private:
    void loop(std::stop_token stop) {
        std::unique_lock lock(mutex_);
        while (changed_.wait(lock, stop, [this] { return !tasks_.empty(); })) {
            auto task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<std::function<void()>> tasks_;
    std::size_t bytes_ = 0;
    Clock::time_point lastAt_;
    std::jthread thread_{[this](std::stop_token stop) { loop(stop); }};  // stops first
};

// A pseudo-terminal set up as COM1; its master plays the controller.
struct PtyLink : PtyPair {
    PtyLink() { ::setenv("KESTROVA_COM1", device.c_str(), 1); }
};

// A loopback server on a free port set up as COM5; its accepted connection plays the controller.
struct TcpLink : LoopbackListener {
    TcpLink() { ::setenv("KESTROVA_COM5", device.c_str(), 1); }
};

std::chrono::microseconds processCpuTime() {
    return std::chrono::microseconds(std::clock() * 1'000'000 / CLOCKS_PER_SEC);
}

void reportPercentiles(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}

void measureLatency(benchmark::State& state, int peer, CComm& comm, TimedOwner& owner) {
    std::vector<std::uint8_t> packet(kPacketBytes);
    std::iota(packet.begin(), packet.end(), std::uint8_t{0});
    std::vector<double> micros;
    std::size_t total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (::write(peer, packet.data(), packet.size()) != std::ssize(packet)) {
            state.SkipWithError("the peer's write failed");
            break;
        }
        total += packet.size();
        const std::chrono::duration<double> took = owner.waitFor(total) - start;
        state.SetIterationTime(took.count());
        micros.push_back(took.count() * 1e6);
    }
    comm.close();
    reportPercentiles(state, micros);
}

void BM_PeerToOwnerLatencyPty(benchmark::State& state) {
    PtyLink pty;
    TimedOwner owner;
    CComm comm;
    comm.setOwnerWindow(&owner);
    if (comm.open(buildPortSettings(0, 3)) != 1) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    measureLatency(state, pty.fd.get(), comm, owner);
}
BENCHMARK(BM_PeerToOwnerLatencyPty)->UseManualTime()->Iterations(2000);

// The port connected to a loopback server as COM5; the port closes before its owner goes.
struct TcpSession {
    bool connect() {
        comm.setOwnerWindow(&owner);
        return comm.open(buildPortSettings(4, 3)) == 1 && server.accept();
    }
    TcpLink server;
    TimedOwner owner;
    CComm comm;
};

void BM_PeerToOwnerLatencyTcp(benchmark::State& state) {
    TcpSession session;
    if (!session.connect()) {
        state.SkipWithError("cannot connect over loopback");
        return;
    }
    measureLatency(state, session.server.fd.get(), session.comm, session.owner);
}
BENCHMARK(BM_PeerToOwnerLatencyTcp)->UseManualTime()->Iterations(2000);

// How long CComm::write of one live-positions packet blocks: over TCP until the peer has
// acknowledged it, which a reading peer does at once or with its delayed ACK.
void BM_WriteUntilAcknowledgedTcp(benchmark::State& state) {
    TcpSession session;
    if (!session.connect()) {
        state.SkipWithError("cannot connect over loopback");
        return;
    }
    CComm& comm = session.comm;
    TcpLink& server = session.server;
    std::jthread reader([&server](std::stop_token stop) {
        std::array<std::uint8_t, 4096> sink{};
        pollfd wait{server.fd.get(), POLLIN, 0};
        while (!stop.stop_requested()) {
            if (::poll(&wait, 1, 50) == 1 &&
                ::read(server.fd.get(), sink.data(), sink.size()) <= 0) {
                return;
            }
        }
    });
    std::vector<std::uint8_t> packet(kPacketBytes);
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = Clock::now();
        comm.write(packet);
        const std::chrono::duration<double> took = Clock::now() - start;
        state.SetIterationTime(took.count());
        micros.push_back(took.count() * 1e6);
    }
    comm.close();
    reportPercentiles(state, micros);
}
BENCHMARK(BM_WriteUntilAcknowledgedTcp)->UseManualTime()->Iterations(200);

// CPU time of the whole process while a port is open and idle for 2 s.
void BM_IdleOpenPortCpu(benchmark::State& state) {
    PtyLink pty;
    TimedOwner owner;
    CComm comm;
    comm.setOwnerWindow(&owner);
    if (comm.open(buildPortSettings(0, 3)) != 1) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    for (auto _ : state) {
        const auto before = processCpuTime();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const auto used = processCpuTime() - before;
        state.counters["cpu_ms_per_2s"] = static_cast<double>(used.count()) / 1000.0;
    }
}
BENCHMARK(BM_IdleOpenPortCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
