// SPDX-License-Identifier: MIT
#include "src/protocol/packet_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "src/protocol/packets.h"

using namespace kestrova;

namespace {

using Bytes = std::vector<std::uint8_t>;

// One word per packet found: its letter and, for reads, writes and plays, the page number;
// "?" and the letter for an unknown command, "!" and the letter for a broken frame.
class Recorder : public PacketReaderSink {
  public:
    void onPacket(const ReceivedPacket& packet) override {
        const PacketKind kind = packet.kind;
        const bool paged = kind == PacketKind::ReadPage || kind == PacketKind::WritePage ||
                           kind == PacketKind::PlayPage;
        words.push_back((kind == PacketKind::UnknownCommand ? "?"
                         : kind == PacketKind::BrokenFrame  ? "!"
                                                            : "") +
                        std::string(1, static_cast<char>(packet.letter)) +
                        (paged ? std::to_string(packet.pageNum()) : ""));
    }
    void onNoise(std::size_t count) override { noise += count; }

    std::vector<std::string> words;
    std::size_t noise = 0;
};

Bytes concat(std::initializer_list<std::span<const std::uint8_t>> parts) {
    Bytes all;
    for (const auto part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes text(std::string_view s) {
    return {s.begin(), s.end()};
}

Recorder readAll(const Bytes& stream, std::size_t chunk) {
    Recorder got;
    PacketReader reader;
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
        reader.feed(std::span(stream).subspan(at, std::min(chunk, stream.size() - at)), got);
    }
    return got;
}

}  // namespace

TEST(PacketReader, FindsPacketsInAnyChunksAfterNoiseUnknownCommandsAndBrokenFrames) {
    MotorFields fields;
    fields.fill(0xFE);
    fields[3] = 0x0A;
    PageRecord trickyRecord = defaultPageRecord();  // holds "###w" and FE FE FE 0A
    trickyRecord.pageNum = 7;
    std::ranges::copy(Bytes{0x23, 0x23, 0x23, 0x77, 0xFE, 0xFE, 0xFE, 0x0A},
                      trickyRecord.position.begin() + 30);
    const PagePacket tricky = buildWritePagePacket(trickyRecord);
    const PagePacket plain = buildWritePagePacket(defaultPageRecord());
    struct Case {
        Bytes stream;
        std::vector<std::string> words;
        std::size_t noise;
    };
    const std::vector<Case> cases{
        {concat({tricky, buildReadRequest(19), buildLivePositionsPacket(fields),
                 buildPlayPagePacket(trickyRecord)}),
         {"w7", "r19", "i", "t7"},
         0},
        // Only the last "###" of a run of '#' begins a packet; a trailing "##" may yet.
        {concat({text("\x01zz#"), text("##"), buildReadRequest(3), text("noise"), text("#####"),
                 buildReadRequest(4), text("##")}),
         {"r3", "r4"},
         3 + 3 + 5 + 5},
        // An unknown command's body ends at a trailer or at the next header, and is no noise.
        {concat({text("###Zbody"), kPacketTrailer, buildReadRequest(1), text("###Qno trailer"),
                 buildReadRequest(2)}),
         {"?Z", "r1", "?Q", "r2"},
         0},
        // A packet cut short is broken (its letter and body are noise); one that began inside
        // it is still found.
        {concat({std::span(plain).first(100), tricky}), {"!w", "w7"}, 1 + 96},
    };
    for (const Case& c : cases) {
        for (const std::size_t chunk : {c.stream.size(), std::size_t{1}, std::size_t{7}}) {
            const Recorder got = readAll(c.stream, chunk);
            EXPECT_EQ(got.words, c.words) << chunk;
            EXPECT_EQ(got.noise, c.noise);
        }
    }
}
