// SPDX-License-Identifier: MIT
#include "src/protocol/packet_reader.h"

#include <algorithm>
#include <array>

#include "src/protocol/packets.h"

namespace kestrova {

namespace {

struct FrameLayout {
    std::uint8_t letter;
    PacketKind kind;
    std::size_t size;
    bool checksum;
};

constexpr std::array kFrameLayouts{
    FrameLayout{command::kLivePositions, PacketKind::LivePositions, kLivePacketSize, true},
    FrameLayout{command::kReadPage, PacketKind::ReadPage, kReadRequestSize, false},
    FrameLayout{command::kWritePage, PacketKind::WritePage, kPagePacketSize, true},
    FrameLayout{command::kPlayPage, PacketKind::PlayPage, kPagePacketSize, true},
};

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

const FrameLayout* layoutOf(std::uint8_t letter) {
    const auto* found = std::find_if(kFrameLayouts.begin(), kFrameLayouts.end(),
                                     [letter](const FrameLayout& l) { return l.letter == letter; });
    return found == kFrameLayouts.end() ? nullptr : found;
}

template <typename Pattern>
std::size_t indexOf(const std::vector<std::uint8_t>& bytes, const Pattern& pattern,
                    std::size_t from = 0) {
    const auto found = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                                   pattern.begin(), pattern.end());
    return found == bytes.end() ? kNotFound : static_cast<std::size_t>(found - bytes.begin());
}

ReceivedPacket unpack(const FrameLayout& layout, const std::vector<std::uint8_t>& bytes) {
    ReceivedPacket packet;
    packet.kind = layout.kind;
    packet.letter = layout.letter;
    packet.carriesChecksum = layout.checksum;
    packet.payloadSize = layout.size - kPayloadOffset - kPacketTrailer.size() -
                         (layout.checksum ? kChecksumSize : 0);
    const auto payload = bytes.begin() + kPayloadOffset;
    std::copy_n(payload, packet.payloadSize, packet.payload.begin());
    if (layout.checksum) {
        for (std::size_t i = 0; i < kChecksumSize; ++i) {
            const std::uint32_t byte = payload[static_cast<std::ptrdiff_t>(packet.payloadSize + i)];
            packet.sentChecksum |= byte << (8 * i);
        }
    }
    return packet;
}

ReceivedPacket headOnly(PacketKind kind, std::uint8_t letter) {
    ReceivedPacket packet;
    packet.kind = kind;
    packet.letter = letter;
    return packet;
}

}  // namespace

void PacketReader::feed(std::span<const std::uint8_t> bytes, PacketReaderSink& sink) {
    held.insert(held.end(), bytes.begin(), bytes.end());
    while (step(sink)) {
    }
}

bool PacketReader::midPacket() const {
    return skippingUnknown || !held.empty();
}

void PacketReader::abandonPartial(PacketReaderSink& sink) {
    while (!held.empty()) {
        if (skippingUnknown) {
            reset();
            return;
        }
        const std::size_t start = findHeader();
        if (start == kNotFound || held.size() < start + kPayloadOffset) {
            dropNoise(held.size(), sink);
            return;
        }
        dropNoise(start, sink);
        const std::uint8_t letter = held[kLetterOffset];
        drop(kPacketHeader.size());
        sink.onPacket(headOnly(PacketKind::BrokenFrame, letter));
        while (step(sink)) {
        }
    }
    skippingUnknown = false;
}

void PacketReader::reset() {
    held.clear();
    skippingUnknown = false;
}

// Handles what starts the held bytes; false when more bytes are needed.
bool PacketReader::step(PacketReaderSink& sink) {
    if (skippingUnknown) {
        return skipUnknownBody();
    }
    return skipToHeader(sink) && takeFrame(sink);
}

// Drops the noise before the first header; true once a header and its letter are held.
bool PacketReader::skipToHeader(PacketReaderSink& sink) {
    const std::size_t start = findHeader();
    if (start != kNotFound) {
        dropNoise(start, sink);
        return held.size() >= kPayloadOffset;
    }
    // Up to two trailing '#' may be the start of the next header.
    const auto notHash = [](std::uint8_t b) { return b != kPacketHeader[0]; };
    const auto trailingHashes =
        static_cast<std::size_t>(std::find_if(held.rbegin(), held.rend(), notHash) - held.rbegin());
    dropNoise(held.size() - std::min(trailingHashes, kPacketHeader.size() - 1), sink);
    return false;
}

// The held bytes start with a header and a letter: report the frame they begin, once whole.
bool PacketReader::takeFrame(PacketReaderSink& sink) {
    const std::uint8_t letter = held[kLetterOffset];
    const FrameLayout* layout = layoutOf(letter);
    if (layout == nullptr) {
        drop(kPayloadOffset);
        skippingUnknown = true;
        sink.onPacket(headOnly(PacketKind::UnknownCommand, letter));
        return true;
    }
    if (held.size() < layout->size) {
        return false;
    }
    const auto trailer =
        held.begin() + static_cast<std::ptrdiff_t>(layout->size - kPacketTrailer.size());
    if (!std::equal(kPacketTrailer.begin(), kPacketTrailer.end(), trailer)) {
        drop(kPacketHeader.size());
        sink.onPacket(headOnly(PacketKind::BrokenFrame, letter));
        return true;
    }
    const ReceivedPacket packet = unpack(*layout, held);
    drop(layout->size);
    sink.onPacket(packet);
    return true;
}

bool PacketReader::skipUnknownBody() {
    const std::size_t trailerAt = indexOf(held, kPacketTrailer);
    const std::size_t headerAt = indexOf(held, kPacketHeader);
    if (trailerAt != kNotFound && (headerAt == kNotFound || trailerAt < headerAt)) {
        drop(trailerAt + kPacketTrailer.size());
        skippingUnknown = false;
        return true;
    }
    if (headerAt != kNotFound) {
        drop(headerAt);
        skippingUnknown = false;
        return true;
    }
    // Keep what may be the start of a trailer or of a header.
    drop(held.size() - std::min(held.size(), kPacketTrailer.size() - 1));
    return false;
}

// The first "###" that is followed by something other than '#' (or by nothing yet).
std::size_t PacketReader::findHeader() const {
    for (std::size_t at = indexOf(held, kPacketHeader); at != kNotFound;
         at = indexOf(held, kPacketHeader, at + 1)) {
        const std::size_t letterAt = at + kLetterOffset;
        if (letterAt == held.size() || held[letterAt] != kPacketHeader[0]) {
            return at;
        }
    }
    return kNotFound;
}

void PacketReader::dropNoise(std::size_t count, PacketReaderSink& sink) {
    if (count > 0) {
        drop(count);
        sink.onNoise(count);
    }
}

void PacketReader::drop(std::size_t count) {
    held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace kestrova
