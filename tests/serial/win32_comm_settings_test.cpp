// SPDX-License-Identifier: MIT
#include "src/serial/win32/comm_settings.h"

#include <gtest/gtest.h>

using namespace kestrova;

TEST(Win32CommSettings, ControlBlockFromTheRecordAndWriteTimeOutsFromTheSpeed) {
    // Per flow bit set: DTR control, RTS control, DSR and CTS flow, XON/XOFF out and in.
    using Flow = std::array<DWORD, 6>;
    for (const auto& [bits, expected] : {std::pair{0, Flow{1, 1, 0, 0, 0, 0}},
                                         {flow::kDtrDsr, Flow{2, 1, 1, 0, 0, 0}},
                                         {flow::kRtsCts, Flow{1, 2, 0, 1, 0, 0}},
                                         {flow::kXonXoff, Flow{1, 1, 0, 0, 1, 1}}}) {
        DCB reported{};
        reported.EofChar = 0x1A;  // what the record does not set stays as reported
        const DCB dcb = dcbFor(reported, {2, 0, 7, std::uint8_t(bits), 1, 2, 14400});
        EXPECT_EQ((Flow{dcb.fDtrControl, dcb.fRtsControl, dcb.fOutxDsrFlow, dcb.fOutxCtsFlow,
                        dcb.fOutX, dcb.fInX}),
                  expected);
        EXPECT_EQ((std::array<DWORD, 9>{dcb.DCBlength, dcb.BaudRate, dcb.ByteSize, dcb.Parity,
                                        dcb.StopBits, DWORD(dcb.fBinary + dcb.fParity),
                                        DWORD(dcb.XonChar * 256 + dcb.XoffChar),
                                        DWORD(dcb.XonLim + dcb.XoffLim), DWORD(dcb.EofChar)}),
                  (std::array<DWORD, 9>{sizeof(DCB), 14400, 7, 1, 2, 2, 0x1113, 2, 0x1A}));
    }
    // Reads end at a pause; a write may take its line time, whole milliseconds per byte, + 1 s.
    for (const auto& [baud, perByte] : {std::pair{1200u, 9u}, {9600u, 2u}, {115200u, 1u}}) {
        const COMMTIMEOUTS t = commTimeoutsFor(baud);
        EXPECT_EQ((std::array<DWORD, 5>{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                                        t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                                        t.WriteTotalTimeoutConstant}),
                  (std::array<DWORD, 5>{20, 0, 0, perByte, 1000}));
    }
}
