// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "src/serial/comm_owner.h"
#include "src/serial/port_devices.h"
#include "src/serial/port_settings.h"

// The program's serial port: opens a serial device or the network port, runs a watcher
// thread that hands every received chunk to the owner and waits until it has been consumed,
// and writes packets. Every public operation belongs to the owner's (user-interface) thread.
class CComm {
  public:
    static constexpr std::size_t kRxBufferSize = 4096;
    static constexpr std::size_t kLargestChunk = 4095;

    CComm();
    virtual ~CComm();  // closeAll
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    void setOwnerWindow(kestrova::CommOwner* owner);

    // Nonzero when the port is open, configured and its watcher runs; 0 otherwise, after the
    // owner has been told which device failed and why.
    int open(const kestrova::PortSettings& settings);
    // The same for a device chosen by the user rather than by the port number.
    int open(const kestrova::PortSettings& settings, const kestrova::PortDevice& device);

    // Blocks until the bytes are out and returns 1. A closed port, a failed or an incomplete
    // write returns 0, after the owner has been told why.
    int write(std::span<const std::uint8_t> bytes);
    int write(const std::uint8_t* data, std::uint32_t length) { return write({data, length}); }

    int close();
    int closeAll();

    // From a successful open until close, also after the device went away.
    bool isConnected() const { return connected.load() == 1; }
    // Open, but the device went away (a peer that hung up, an adapter pulled out).
    bool deviceGone() const;

  private:
    struct State;

    // Watcher thread only.
    void deliverChunk(std::span<const std::uint8_t> bytes);
    static int watchPort(CComm* comm);
    void reportFailure(kestrova::CommFailure::During during, std::string device,
                       std::string reason) const;

    // 1 from a successful open until close.
    std::atomic<int> connected{0};
    // The chunk being handed over lies at the start of this buffer.
    std::array<std::uint8_t, kRxBufferSize> rxBuffer{};
    std::unique_ptr<State> state;  // the open device, watcher thread and hand-off mailbox
};
