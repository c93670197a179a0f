// SPDX-License-Identifier: MIT
#include "protocol/packet_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/packets.h"

using namespace kestrova;

namespace {

class Recorder : public PacketReaderSink {
  public:
    void onPacket(const ReceivedPacket& packet) override { packets.push_back(packet); }
    void onNoise(std::size_t count) override { noise += count; }

    std::vector<PacketKind> kinds() const {
        std::vector<PacketKind> result;
        for (const auto& packet : packets) {
            result.push_back(packet.kind);
        }
        return result;
    }

    std::vector<ReceivedPacket> packets;
    std::size_t noise = 0;
};

using Bytes = std::vector<std::uint8_t>;

template <typename... Parts>
Bytes concat(const Parts&... parts) {
    Bytes all;
    (all.insert(all.end(), std::begin(parts), std::end(parts)), ...);
    return all;
}

Bytes text(const std::string& s) {
    return {s.begin(), s.end()};
}

// A record whose bytes look like frame boundaries: "###", FE FE FE 0A, a repeat of 254.
PageRecord trickyRecord() {
    PageRecord record = defaultPageRecord();
    record.pageNum = 7;
    const Bytes awkward{0x23, 0x23, 0x23, 0x77, 0xFE, 0xFE, 0xFE, 0x0A};
    std::copy(awkward.begin(), awkward.end(), record.position.begin() + 30);
    record.repeat = 254;
    return record;
}

Recorder readAll(const Bytes& bytes, std::size_t chunk) {
    Recorder recorder;
    PacketReader reader;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        const std::size_t size = std::min(chunk, bytes.size() - at);
        reader.feed(std::span(bytes).subspan(at, size), recorder);
    }
    return recorder;
}

}  // namespace

TEST(PacketReader, FindsEachPacketWholeOrByteByByte) {
    MotorFields fields;
    fields.fill(0xFE);
    fields[3] = 0x0A;
    const Bytes stream =
        concat(buildWritePagePacket(trickyRecord()), buildReadRequest(19),
               buildLivePositionsPacket(fields), buildPlayPagePacket(trickyRecord()));
    for (const std::size_t chunk : {stream.size(), std::size_t{1}, std::size_t{7}}) {
        SCOPED_TRACE(chunk);
        const Recorder got = readAll(stream, chunk);
        ASSERT_EQ(got.kinds(), (std::vector{PacketKind::WritePage, PacketKind::ReadPage,
                                            PacketKind::LivePositions, PacketKind::PlayPage}));
        EXPECT_EQ(got.noise, 0u);
        EXPECT_EQ(got.packets[0].record(), trickyRecord());
        EXPECT_TRUE(got.packets[0].checksumGood());
        EXPECT_EQ(got.packets[0].pageNum(), 7);
        EXPECT_EQ(got.packets[1].pageNum(), 19);
        EXPECT_EQ(got.packets[1].payloadSize, 1u);
        EXPECT_TRUE(got.packets[1].checksumGood()) << "a read request carries no checksum";
        EXPECT_EQ(got.packets[2].positions()[3], 0x0A);
        EXPECT_EQ(got.packets[2].positions()[21], 0xFE);
        EXPECT_TRUE(got.packets[2].checksumGood());
        EXPECT_EQ(got.packets[3].record(), trickyRecord());
    }
}

TEST(PacketReader, ChecksumMismatchIsReportedNotDropped) {
    PagePacket write = buildWritePagePacket(defaultPageRecord());
    write[20] ^= 0x01;  // a payload byte changed on the way
    LivePacket live = buildLivePositionsPacket(MotorFields{});
    live[27] = 0x01;  // the checksum itself damaged
    const Recorder got = readAll(concat(write, live), 4096);
    ASSERT_EQ(got.kinds(), (std::vector{PacketKind::WritePage, PacketKind::LivePositions}));
    EXPECT_FALSE(got.packets[0].checksumGood());
    EXPECT_FALSE(got.packets[1].checksumGood());
}

TEST(PacketReader, ResynchronisesOnHeaderAfterNoise) {
    const Bytes stream = concat(text("\x01zz#"), text("##"), buildReadRequest(3), text("noise"),
                                text("#####"), buildReadRequest(4), text("##"));
    for (const std::size_t chunk : {stream.size(), std::size_t{1}}) {
        const Recorder got = readAll(stream, chunk);
        ASSERT_EQ(got.kinds(), (std::vector{PacketKind::ReadPage, PacketKind::ReadPage}));
        EXPECT_EQ(got.packets[0].pageNum(), 3);
        EXPECT_EQ(got.packets[1].pageNum(), 4);
        // "\x01zz" and three '#', then "noise" and five '#'; only the last "###" of a run
        // begins a packet, and the trailing "##" may still begin one.
        EXPECT_EQ(got.noise, 3u + 3u + 5u + 5u);
    }
}

TEST(PacketReader, UnknownCommandEndsAtTrailerOrNextHeader) {
    const Bytes stream = concat(text("###Zbody"), kPacketTrailer, buildReadRequest(1),
                                text("###Qno trailer"), buildReadRequest(2));
    for (const std::size_t chunk : {stream.size(), std::size_t{1}}) {
        const Recorder got = readAll(stream, chunk);
        ASSERT_EQ(got.kinds(), (std::vector{PacketKind::UnknownCommand, PacketKind::ReadPage,
                                            PacketKind::UnknownCommand, PacketKind::ReadPage}));
        EXPECT_EQ(got.packets[0].letter, 'Z');
        EXPECT_EQ(got.packets[1].pageNum(), 1);
        EXPECT_EQ(got.packets[3].pageNum(), 2);
        EXPECT_EQ(got.noise, 0u) << "an unknown packet's body is not noise";
    }
}

TEST(PacketReader, TruncatedPacketIsBrokenAndWhatBeganInsideIsStillFound) {
    const PagePacket cutShort = buildWritePagePacket(defaultPageRecord());
    const Bytes cut(cutShort.begin(), cutShort.begin() + 100);
    const PagePacket write = buildWritePagePacket(trickyRecord());
    const Recorder got = readAll(concat(cut, write), 4096);
    ASSERT_EQ(got.kinds(), (std::vector{PacketKind::BrokenFrame, PacketKind::WritePage}));
    EXPECT_EQ(got.packets[0].letter, 'w');
    EXPECT_EQ(got.packets[1].record(), trickyRecord());
}

TEST(PacketReader, SilenceMidPacketGivesUpOnIt) {
    PacketReader reader;
    Recorder got;
    const PagePacket write = buildWritePagePacket(defaultPageRecord());
    reader.feed(std::span(write).first(50), got);
    reader.feed(buildReadRequest(6), got);
    EXPECT_TRUE(got.packets.empty()) << "the read request sits inside the unfinished write";
    EXPECT_TRUE(reader.midPacket());

    reader.abandonPartial(got);
    ASSERT_EQ(got.kinds(), (std::vector{PacketKind::BrokenFrame, PacketKind::ReadPage}));
    EXPECT_EQ(got.packets[1].pageNum(), 6);
    EXPECT_FALSE(reader.midPacket());

    reader.feed(text("###Zx"), got);
    EXPECT_TRUE(reader.midPacket()) << "skipping an unknown packet's body";
    reader.abandonPartial(got);
    reader.feed(buildReadRequest(8), got);
    EXPECT_EQ(got.packets.back().pageNum(), 8);
}

TEST(PacketReader, ResetForgetsABegunPacket) {
    PacketReader reader;
    Recorder got;
    const PagePacket write = buildWritePagePacket(defaultPageRecord());
    reader.feed(std::span(write).first(120), got);
    reader.reset();
    reader.feed(buildReadRequest(2), got);
    ASSERT_EQ(got.kinds(), (std::vector{PacketKind::ReadPage}));
}
