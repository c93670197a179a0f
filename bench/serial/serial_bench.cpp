// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "loopback_listener.h"
#include "process_probes.h"
#include "pty_pair.h"
#include "serial/comm.h"
#include "test_owner.h"

using namespace kestrova;
using namespace kestrova::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kPacketBytes = 34;  // a live-positions packet

// Timestamps each consumption on the owner's thread, so the figure ends where the editor
// would have the bytes in hand.
class TimedOwner {
  public:
    TimedOwner() {
        owner.setHook([this](std::span<const std::uint8_t> chunk) {
            std::lock_guard lock(mutex_);
            bytes_ += chunk.size();
            lastAt_ = Clock::now();
            arrived_.notify_all();
        });
    }

    // Waits until `total` bytes were consumed; returns when the last one was.
    Clock::time_point waitFor(std::size_t total) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return bytes_ >= total; });
        return lastAt_;
    }

    TestOwner owner;

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::size_t bytes_ = 0;
    Clock::time_point lastAt_;
};

void reportPercentiles(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}

template <typename Peer>
void measureLatency(benchmark::State& state, Peer& peer, CComm& comm, TimedOwner& timed) {
    const Bytes packet = pattern(kPacketBytes);
    std::vector<double> micros;
    std::size_t total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        peer.send(packet);
        total += packet.size();
        const auto consumed = timed.waitFor(total);
        const std::chrono::duration<double> took = consumed - start;
        state.SetIterationTime(took.count());
        micros.push_back(took.count() * 1e6);
    }
    comm.close();
    reportPercentiles(state, micros);
}

void BM_PeerToOwnerLatencyPty(benchmark::State& state) {
    PtyPair pty;
    ::setenv("KESTROVA_COM1", pty.path().c_str(), 1);
    TimedOwner timed;
    CComm comm;
    comm.setOwnerWindow(&timed.owner);
    if (comm.open(buildPortSettings(0, 3)) != 1) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    measureLatency(state, pty, comm, timed);
}
BENCHMARK(BM_PeerToOwnerLatencyPty)->UseManualTime()->Iterations(2000);

void BM_PeerToOwnerLatencyTcp(benchmark::State& state) {
    LoopbackListener server;
    ::setenv("KESTROVA_COM5", server.device().c_str(), 1);
    TimedOwner timed;
    CComm comm;
    comm.setOwnerWindow(&timed.owner);
    if (comm.open(buildPortSettings(4, 3)) != 1 || !server.accept()) {
        state.SkipWithError("cannot connect over loopback");
        return;
    }
    measureLatency(state, server, comm, timed);
}
BENCHMARK(BM_PeerToOwnerLatencyTcp)->UseManualTime()->Iterations(2000);

// CPU time of the whole process while a port is open and idle for 2 s.
void BM_IdleOpenPortCpu(benchmark::State& state) {
    PtyPair pty;
    ::setenv("KESTROVA_COM1", pty.path().c_str(), 1);
    TestOwner owner;
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
