// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <string>

#include "src/platform/win32/unique_handle.h"
#include "src/serial/port_connection.h"

namespace kestrova {

// A COM port opened for overlapped I/O. The watcher waits in an overlapped read that ends at
// the first pause after bytes arrive, or when wake() signals its event.
class ComConnection : public PortConnection {
  public:
    // Opens `name` exclusively with the record's line settings; none, with the reason, when the
    // port is missing, in use or refuses the settings.
    static OpenedPort open(const std::string& name, const PortSettings& settings);

    ReadResult waitAndRead(std::span<std::uint8_t> buffer) override;
    ReadResult readQueued(std::span<std::uint8_t> buffer) override;
    WriteResult write(std::span<const std::uint8_t> bytes, Deadline deadline) override;
    void wake() override;
    void release() override;

  private:
    explicit ComConnection(UniqueHandle port);

    // Starts an overlapped read; true when it completed at once or is pending.
    bool startRead(std::span<std::uint8_t> buffer, DWORD& got);
    bool finishRead(DWORD& got);

    UniqueHandle port_;
    UniqueHandle readEvent_ = makeEvent();
    UniqueHandle writeEvent_ = makeEvent();
    UniqueHandle wakeEvent_ = makeEvent();
    OVERLAPPED readOverlap_{};   // the watcher's
    OVERLAPPED writeOverlap_{};  // the owner's
};

}  // namespace kestrova
