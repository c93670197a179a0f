// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "src/serial/port_settings.h"
#include "src/serial/posix/fd_connection.h"

namespace kestrova {

// A serial device: a write is done when the bytes are on the line.
class SerialLineConnection : public FdConnection {
  public:
    // Opens `path` exclusively with the record's line settings; none, with the reason, when the
    // device is missing, in use or refuses the settings.
    static OpenedPort open(const std::string& path, const PortSettings& settings);

    void release() override;

  private:
    using FdConnection::FdConnection;
    void discardUnsent() override;
};

}  // namespace kestrova
