// SPDX-License-Identifier: MIT
#include "src/protocol/packets.h"

#include <algorithm>
#include <numeric>

namespace kestrova {

namespace {

// Writes header and command at the front and the trailer at the back; returns the payload's
// first position.
template <std::size_t N>
auto frame(std::array<std::uint8_t, N>& packet, std::uint8_t commandLetter) {
    auto out = std::copy(kPacketHeader.begin(), kPacketHeader.end(), packet.begin());
    *out++ = commandLetter;
    std::copy(kPacketTrailer.begin(), kPacketTrailer.end(), packet.end() - kPacketTrailer.size());
    return out;
}

template <typename Iterator>
Iterator putChecksum(Iterator out, std::uint32_t sum) {
    for (int shift = 0; shift < 32; shift += 8) {
        *out++ = static_cast<std::uint8_t>(sum >> shift);
    }
    return out;
}

}  // namespace

std::uint32_t packetChecksum(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
}

LivePacket buildLivePositionsPacket(const MotorFields& fields) {
    LivePacket packet{};
    auto payload = frame(packet, command::kLivePositions);
    auto out = std::transform(fields.begin(), fields.end(), payload,
                              [](unsigned value) { return static_cast<std::uint8_t>(value); });
    putChecksum(out, packetChecksum({payload, out}));
    return packet;
}

PagePacket buildPagePacket(const PageRecord& record, std::uint8_t commandLetter) {
    PagePacket packet{};
    auto payload = frame(packet, commandLetter);
    const PageBytes bytes = toBytes(record);
    auto out = std::copy(bytes.begin(), bytes.end(), payload);
    putChecksum(out, packetChecksum(bytes));
    return packet;
}

PagePacket buildWritePagePacket(const PageRecord& record) {
    return buildPagePacket(record, command::kWritePage);
}

PagePacket buildPlayPagePacket(const PageRecord& record) {
    return buildPagePacket(record, command::kPlayPage);
}

ReadRequest buildReadRequest(std::uint8_t pageNum) {
    ReadRequest packet{};
    *frame(packet, command::kReadPage) = pageNum;
    return packet;
}

DoneReply buildDoneReply() {
    DoneReply reply{};
    frame(reply, command::kDone);
    return reply;
}

}  // namespace kestrova
