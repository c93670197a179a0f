// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "serial/comm_owner.h"
#include "serial/port_devices.h"
#include "serial/port_settings.h"

// The program's serial port: opens a serial device or the network port, runs a watcher
// thread that hands every received chunk to the owner and waits until it has been consumed,
// and writes packets. All operations but read, deliverChunk and watchPort belong to the
// owner's (user-interface) thread.
class CComm {
  public:
    static constexpr std::size_t kRxBufferSize = 4096;
    static constexpr std::size_t kLargestChunk = 4095;

    CComm();
    virtual ~CComm();  // closeAll
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    void setOwnerWindow(kestrova::CommOwner* owner);

    // Nonzero when the port is open, configured and its watcher runs; 0 otherwise, with the
    // device and the system's reason on standard error.
    int open(const kestrova::PortSettings& settings);
    // The same for a device chosen by the user rather than by the port number.
    int open(const kestrova::PortSettings& settings, const kestrova::PortDevice& device);

    // Blocks until the bytes are out; a closed port, a failed or an incomplete write shows
    // "ERROR" through the application-wide message box and tells standard error why. Always
    // returns 1.
    int write(std::span<const std::uint8_t> bytes);
    int write(const std::uint8_t* data, std::uint32_t length) { return write({data, length}); }

    int close();
    int closeAll();

    // 1 from a successful open until close.
    std::atomic<int> connected{0};

    // The chunk being handed over lies at the start of this buffer.
    std::array<std::uint8_t, kRxBufferSize> rxBuffer{};

    // Watcher thread only.
    std::size_t read(std::span<std::uint8_t> buffer);
    void deliverChunk(std::span<const std::uint8_t> bytes);
    static int watchPort(CComm* comm);

  private:
    struct State;
    std::unique_ptr<State> state;  // the open device, watcher thread and hand-off mailbox
};
