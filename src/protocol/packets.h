// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "src/model/page_record.h"

namespace kestrova {

// Every packet: "###", a command letter, a payload, a checksum where the packet carries data,
// then FE FE FE 0A. Nothing is escaped: payload bytes equal to 23, FE or 0A go out as they are.
inline constexpr std::array<std::uint8_t, 3> kPacketHeader{0x23, 0x23, 0x23};
inline constexpr std::array<std::uint8_t, 4> kPacketTrailer{0xFE, 0xFE, 0xFE, 0x0A};
inline constexpr std::array<std::uint8_t, 6> kFailureLine{'a', 'a', 'a', 'a', 'a', '\n'};

namespace command {
inline constexpr std::uint8_t kLivePositions = 'i';
inline constexpr std::uint8_t kReadPage = 'r';
inline constexpr std::uint8_t kWritePage = 'w';
inline constexpr std::uint8_t kPlayPage = 't';
inline constexpr std::uint8_t kDone = 'd';
inline constexpr std::uint8_t kPage = 'p';
}  // namespace command

// Frame layout: the letter follows the header, the payload the letter; a checksum, where
// the packet carries data, sits between payload and trailer.
inline constexpr std::size_t kLetterOffset = kPacketHeader.size();
inline constexpr std::size_t kPayloadOffset = kLetterOffset + 1;
inline constexpr std::size_t kChecksumSize = 4;

inline constexpr std::size_t kLivePacketSize =
    kPayloadOffset + kMotorCount + kChecksumSize + kPacketTrailer.size();
inline constexpr std::size_t kPagePacketSize =
    kPayloadOffset + kPageRecordSize + kChecksumSize + kPacketTrailer.size();
inline constexpr std::size_t kReadRequestSize = kPayloadOffset + 1 + kPacketTrailer.size();
inline constexpr std::size_t kDoneReplySize = kPayloadOffset + kPacketTrailer.size();
static_assert(kLivePacketSize == 34 && kPagePacketSize == 215 && kReadRequestSize == 9);

using LivePacket = std::array<std::uint8_t, kLivePacketSize>;
using PagePacket = std::array<std::uint8_t, kPagePacketSize>;
using ReadRequest = std::array<std::uint8_t, kReadRequestSize>;
using DoneReply = std::array<std::uint8_t, kDoneReplySize>;
using MotorFields = std::array<unsigned, kMotorCount>;

// The plain sum of the bytes in an unsigned 32-bit accumulator.
std::uint32_t packetChecksum(std::span<const std::uint8_t> bytes);

// Live positions of M1..M22; each field is sent modulo 256.
LivePacket buildLivePositionsPacket(const MotorFields& fields);

// A whole page under a command letter: write ('w'), play ('t'), or a page reply ('p').
PagePacket buildPagePacket(const PageRecord& record, std::uint8_t commandLetter);
PagePacket buildWritePagePacket(const PageRecord& record);
PagePacket buildPlayPagePacket(const PageRecord& record);

ReadRequest buildReadRequest(std::uint8_t pageNum);

// The controller's acknowledgement: "###d" and the trailer.
DoneReply buildDoneReply();

}  // namespace kestrova
