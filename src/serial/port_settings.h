// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrova {

// The line settings handed to CComm::open: 10 bytes, byte-packed, the speed at offset 6.
#pragma pack(push, 1)
struct PortSettings {
    std::uint8_t portNumber;  // 1..4 serial ports, 5 the network port
    std::uint8_t reserved;    // not read
    std::uint8_t dataBits;
    std::uint8_t flowControl;  // bit set of FlowControl
    std::uint8_t parity;       // 0 none
    std::uint8_t stopBits;     // 0 one stop bit
    std::uint32_t baudRate;    // bits per second

    friend bool operator==(const PortSettings&, const PortSettings&) = default;
};
#pragma pack(pop)

static_assert(sizeof(PortSettings) == 10);
static_assert(offsetof(PortSettings, baudRate) == 6);

namespace flow {
inline constexpr std::uint8_t kDtrDsr = 1;
inline constexpr std::uint8_t kRtsCts = 2;
inline constexpr std::uint8_t kXonXoff = 4;
}  // namespace flow

inline constexpr std::array<std::uint32_t, 10> baudRates{1200,  2400,  4800,  9600,  14400,
                                                         19200, 38400, 56000, 57600, 115200};
inline constexpr std::array<std::uint8_t, 5> flowControlModes{
    0, flow::kDtrDsr, flow::kRtsCts, flow::kXonXoff,
    flow::kDtrDsr | flow::kRtsCts | flow::kXonXoff};
inline constexpr std::uint8_t kDataBits = 8;
inline constexpr std::uint8_t kOneStopBit = 0;
inline constexpr std::uint8_t kNoParity = 0;
// Software flow control's start and stop characters, DC1 and DC3.
inline constexpr std::uint8_t kXonChar = 0x11;
inline constexpr std::uint8_t kXoffChar = 0x13;

// The record's 10 bytes as laid out on a little-endian machine, whatever this one is.
std::array<std::uint8_t, sizeof(PortSettings)> toBytes(const PortSettings& settings);

// Settings for the Setup dialog's choices: port index 0..4 (COM1..COM5) and baud index into
// baudRates. Indexes outside the tables are taken as the nearest entry.
PortSettings buildPortSettings(int portIndex, int baudIndex);

}  // namespace kestrova
