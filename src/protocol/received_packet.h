// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "src/model/page_record.h"

namespace kestrova {

// What the controller makes of one frame from the editor.
enum class PacketKind {
    LivePositions,   // "###i": 22 positions and their checksum
    ReadPage,        // "###r": a page number, no checksum
    WritePage,       // "###w": a record and its checksum
    PlayPage,        // "###t": a record and its checksum
    UnknownCommand,  // "###" and a letter the controller does not know
    BrokenFrame,     // a known letter, but no trailer where that packet's length puts it
};

// One packet as the controller received it, before it judges the contents.
struct ReceivedPacket {
    PacketKind kind = PacketKind::UnknownCommand;
    std::uint8_t letter = 0;
    std::array<std::uint8_t, kPageRecordSize> payload{};  // bytes past payloadSize are 0
    std::size_t payloadSize = 0;
    bool carriesChecksum = false;
    std::uint32_t sentChecksum = 0;

    std::span<const std::uint8_t> payloadBytes() const { return {payload.data(), payloadSize}; }

    // True when the packet carries no checksum or the one it carries matches its payload.
    bool checksumGood() const;

    // The record of a write or play packet.
    PageRecord record() const;
    // The 22 positions of a live-positions packet.
    StepPositions positions() const;
    // The requested page of a read request, or the record's page number.
    std::uint8_t pageNum() const;
};

}  // namespace kestrova
