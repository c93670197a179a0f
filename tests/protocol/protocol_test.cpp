// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "src/protocol/packets.h"
#include "src/protocol/reply_recognizer.h"
#include "tests/support/sample_page.h"

using namespace kestrova;
using test::Bytes;
using test::bytesOf;

namespace {

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes framed(std::uint8_t letter, const Bytes& payload, const Bytes& tail) {
    return Bytes{0x23, 0x23, 0x23, letter} + payload + tail;
}

using Events = std::vector<std::string>;

class RecordingSink : public ReplySink {
  public:
    Events events;
    PageRecord expected = test::samplePage();

    void showSaveDone() override { events.emplace_back("Save done!"); }
    void replacePage(const PageRecord& record) override {
        events.emplace_back(record == expected ? "page" : "another page");
    }
    void showFailed() override { events.emplace_back("Failed!!"); }
    void showBadCommunication() override { events.emplace_back("Bad communication"); }
};

const Bytes kTrailer{0xFE, 0xFE, 0xFE, 0x0A};
const Bytes kDone = bytesOf(buildDoneReply());
const Bytes kFailure{0x61, 0x61, 0x61, 0x61, 0x61, 0x0A};  // "aaaaa" and LF, as a board sends it
const Bytes kPageReply = bytesOf(buildPagePacket(test::samplePage(), command::kPage));

// Feeds `reply` cut after each position in `cuts`: only the last chunk may act, exactly once,
// and it leaves the recogniser empty.
void expectActsOnceAtTheEnd(const Bytes& reply, const std::vector<std::size_t>& cuts,
                            const std::string& event, const PageRecord& page) {
    ReplyRecognizer recognizer;
    RecordingSink sink;
    sink.expected = page;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        recognizer.onChunk(std::span(reply).subspan(from, cut - from), sink);
        from = cut;
        ASSERT_TRUE(sink.events.empty()) << "acted early, cut at " << cut;
    }
    recognizer.onChunk(std::span(reply).subspan(from), sink);
    ASSERT_EQ(sink.events, Events{event});
    ASSERT_EQ(recognizer.length(), 0u);
}

}  // namespace

TEST(Packets, EveryPacketByteForByte) {
    // The default page: "Noname", NUL padding, page 0, positions, ACC, Rate, 0, 0, repeat 1.
    const Bytes record = Bytes{'N', 'o', 'n', 'a', 'm', 'e', 0, 0} + Bytes(kPositionCount, 100) +
                         Bytes(2 * kStepCount, 50) + Bytes{0, 0, 1};
    const Bytes pageTail{0x3F, 0x4A, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A};  // sum 19007
    EXPECT_EQ(bytesOf(buildWritePagePacket(defaultPageRecord())), framed('w', record, pageTail));
    EXPECT_EQ(bytesOf(buildPlayPagePacket(defaultPageRecord())), framed('t', record, pageTail));
    EXPECT_EQ(bytesOf(buildReadRequest(5)), framed('r', {5}, kTrailer));
    EXPECT_EQ(bytesOf(buildDoneReply()), framed('d', {}, kTrailer));

    // M5 at 300: only the low byte goes out, and only it is summed.
    const MotorFields fields{100, 100, 100, 100, 300, 100, 100, 100, 100, 100, 100,
                             100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 255};
    const Bytes positions{100, 100, 100, 100, 0x2C, 100, 100, 100, 100, 100, 100,
                          100, 100, 100, 100, 100,  100, 100, 100, 100, 100, 0xFF};
    EXPECT_EQ(bytesOf(buildLivePositionsPacket(fields)),
              framed('i', positions, {0xFB, 0x08, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A}));

    // Frame bytes in a record go out as they are; the largest sum still fits two bytes.
    const Bytes sample = bytesOf(buildWritePagePacket(test::samplePage()));
    EXPECT_EQ(
        Bytes(sample.begin() + kPayloadOffset, sample.begin() + kPayloadOffset + kPageRecordSize),
        bytesOf(toBytes(test::samplePage())));
    PageBytes full;
    full.fill(255);
    EXPECT_EQ(bytesOf(buildPagePacket(fromBytes(full), command::kWritePage)),
              framed('w', bytesOf(full), {0x35, 0xCA, 0x00, 0x00, 0xFE, 0xFE, 0xFE, 0x0A}));
}

// The sample records hold FE FE FE runs, one at the record's very end: a cut just after one
// must not end the page reply early. One-byte chunks run end to end.
TEST(ReplyRecognizer, EveryReplyActsOnceInEveryCutIntoTwoOrThreeChunks) {
    const PageRecord sample = test::samplePage();
    PageRecord feEnded = sample;  // next page, enable step and repeat
    feEnded.nextPage = feEnded.enableStep = feEnded.repeat = 0xFE;
    for (const auto& [reply, event, page] :
         {std::tuple(kDone, "Save done!", sample), std::tuple(kFailure, "Failed!!", sample),
          std::tuple(kPageReply, "page", sample),
          std::tuple(bytesOf(buildPagePacket(feEnded, command::kPage)), "page", feEnded)}) {
        for (std::size_t first = 1; first < reply.size(); ++first) {
            for (std::size_t second = first + 1; second <= reply.size(); ++second) {
                SCOPED_TRACE(std::to_string(first) + "," + std::to_string(second));
                const auto cuts =
                    second < reply.size() ? std::vector{first, second} : std::vector{first};
                expectActsOnceAtTheEnd(reply, cuts, event, page);
            }
        }
    }
}

// Replies count only at the start of the buffer and at the end of a chunk; noise overflows
// every 291 bytes.
TEST(ReplyRecognizer, ChunkSequences) {
    Bytes badChecksum = kPageReply;
    const auto checksum = kPayloadOffset + kPageRecordSize;
    badChecksum[checksum] ^= 0x55;
    const Bytes bare = Bytes(kPageReply.begin(), kPageReply.begin() + checksum) + kTrailer;
    const struct {
        std::vector<Bytes> chunks;
        Events events;
        std::size_t left;
    } cases[] = {
        {{kDone + kDone}, {"Save done!"}, 0},
        {{kDone + Bytes{0x23}, {0x23, 0x23, 'd', 0xFE, 0xFE, 0xFE, 0x0A}}, {"Save done!"}, 0},
        {{{0x23, 0x23, 0x23, 0xFE, 0xFE, 0xFE}, {0x0A}}, {}, 0},  // not yet a frame, then dropped
        {{{0x23, 0x23, 0x23, 'w', 1, 2, 0xFE, 0xFE, 0xFE, 0x0A}}, {}, 0},
        {{badChecksum}, {"page"}, 0},           // page checksums are not verified
        {{bare}, {"page"}, 0},                  // 211 bytes suffice
        {{kFailure + kDone}, {"Failed!!"}, 0},  // the done reply is lost
        {{Bytes{'x'} + kFailure}, {}, 7},
        {{Bytes(290, 'n')}, {}, 290},
        {{Bytes(290, 'n'), {'n'}}, {"Bad communication"}, 0},
        {{Bytes(300, 'n'), Bytes(4095, 'n')}, Events(15, "Bad communication"), 4395 % 291},
        {{Bytes(285, 'n') + kDone, kFailure}, {"Bad communication"}, 8},  // the tail stays
    };
    for (const auto& c : cases) {
        ReplyRecognizer recognizer;
        RecordingSink sink;
        for (const Bytes& chunk : c.chunks) {
            recognizer.onChunk(chunk, sink);
        }
        EXPECT_EQ(sink.events, c.events) << &c - cases;
        EXPECT_EQ(recognizer.length(), c.left) << &c - cases;
    }
}
