// SPDX-License-Identifier: MIT
#include "src/serial/win32/comm_settings.h"

#include "src/serial/write_time_limit.h"

namespace kestrova {

DCB dcbFor(DCB dcb, const PortSettings& settings) {
    const bool dtrDsr = (settings.flowControl & flow::kDtrDsr) != 0;
    const bool rtsCts = (settings.flowControl & flow::kRtsCts) != 0;
    const bool xonXoff = (settings.flowControl & flow::kXonXoff) != 0;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = settings.baudRate;
    dcb.ByteSize = settings.dataBits;
    dcb.Parity = settings.parity;
    dcb.StopBits = settings.stopBits;
    dcb.fBinary = TRUE;
    dcb.fParity = TRUE;
    dcb.fOutxDsrFlow = dtrDsr;
    dcb.fDtrControl = dtrDsr ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_ENABLE;
    dcb.fOutxCtsFlow = rtsCts;
    dcb.fRtsControl = rtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutX = xonXoff;
    dcb.fInX = xonXoff;
    dcb.XonChar = static_cast<char>(kXonChar);
    dcb.XoffChar = static_cast<char>(kXoffChar);
    dcb.XonLim = 1;
    dcb.XoffLim = 1;
    return dcb;
}

COMMTIMEOUTS commTimeoutsFor(std::uint32_t baudRate) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadPauseMs;
    // Whole milliseconds per byte, rounded up, so the device never ends a write before we do.
    timeouts.WriteTotalTimeoutMultiplier = static_cast<DWORD>(lineTime(1, baudRate).count());
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(kWriteGrace.count());
    return timeouts;
}

}  // namespace kestrova
