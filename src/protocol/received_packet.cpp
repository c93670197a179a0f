// SPDX-License-Identifier: MIT
#include "src/protocol/received_packet.h"

#include <algorithm>

#include "src/protocol/packets.h"

namespace kestrova {

bool ReceivedPacket::checksumGood() const {
    return !carriesChecksum || packetChecksum(payloadBytes()) == sentChecksum;
}

PageRecord ReceivedPacket::record() const {
    return fromBytes(std::span<const std::uint8_t, kPageRecordSize>(payload));
}

StepPositions ReceivedPacket::positions() const {
    StepPositions positions{};
    std::copy_n(payload.begin(), positions.size(), positions.begin());
    return positions;
}

std::uint8_t ReceivedPacket::pageNum() const {
    return kind == PacketKind::ReadPage ? payload[0] : payload[offsetof(PageRecord, pageNum)];
}

}  // namespace kestrova
