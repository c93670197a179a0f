// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "protocol/packets.h"
#include "protocol/reply_recognizer.h"

using namespace kestrova;

namespace {

using Bytes = std::vector<std::uint8_t>;

class RecordingSink : public ReplySink {
  public:
    std::vector<std::string> events;
    std::vector<PageRecord> pages;

    void showSaveDone() override { events.emplace_back("Save done!"); }
    void replacePage(const PageRecord& record) override {
        events.emplace_back("page");
        pages.push_back(record);
    }
    void showFailed() override { events.emplace_back("Failed!!"); }
    void showBadCommunication() override { events.emplace_back("Bad communication"); }
};

using Events = std::vector<std::string>;

template <typename C>
Bytes bytesOf(const C& c) {
    return {c.begin(), c.end()};
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

PageRecord samplePage() {
    PageRecord record = defaultPageRecord();
    record.pageName = {'D', 'a', 'n', 'c', 'e', 0, 0};
    record.pageNum = 7;
    record.position[100] = 200;
    record.repeat = 3;
    return record;
}

// Feeds the bytes cut at the given positions; returns the events seen after each chunk.
std::vector<Events> feedSplit(ReplyRecognizer& recognizer, const Bytes& bytes,
                              const std::vector<std::size_t>& cuts, RecordingSink& sink) {
    std::vector<Events> perChunk;
    std::size_t from = 0;
    auto feed = [&](std::size_t to) {
        const std::size_t before = sink.events.size();
        recognizer.onChunk(std::span(bytes).subspan(from, to - from), sink);
        perChunk.emplace_back(sink.events.begin() + static_cast<std::ptrdiff_t>(before),
                              sink.events.end());
        from = to;
    };
    for (std::size_t cut : cuts) {
        feed(cut);
    }
    feed(bytes.size());
    return perChunk;
}

// Every way of cutting a reply into chunks: only the last chunk may act, and exactly once.
void expectEverySplitActsOnceAtTheEnd(const Bytes& reply, const std::string& event) {
    const std::size_t gaps = reply.size() - 1;
    ASSERT_LE(gaps, 16u);
    for (unsigned mask = 0; mask < (1u << gaps); ++mask) {
        std::vector<std::size_t> cuts;
        for (std::size_t gap = 0; gap < gaps; ++gap) {
            if (mask & (1u << gap)) {
                cuts.push_back(gap + 1);
            }
        }
        ReplyRecognizer recognizer;
        RecordingSink sink;
        const auto perChunk = feedSplit(recognizer, reply, cuts, sink);
        for (std::size_t i = 0; i + 1 < perChunk.size(); ++i) {
            ASSERT_TRUE(perChunk[i].empty()) << "split mask " << mask << " acted early";
        }
        ASSERT_EQ(perChunk.back(), Events{event}) << "split mask " << mask;
        ASSERT_EQ(recognizer.length(), 0u);
        ASSERT_TRUE(std::all_of(recognizer.buffer().begin(), recognizer.buffer().end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
}

}  // namespace

TEST(ReplyRecognizer, DoneReplyAndFailureLineInEveryChunking) {
    expectEverySplitActsOnceAtTheEnd(bytesOf(buildDoneReply()), "Save done!");
    expectEverySplitActsOnceAtTheEnd(bytesOf(kFailureLine), "Failed!!");
}

TEST(ReplyRecognizer, PageReplyInEveryCutIntoTwoOrThreeChunks) {
    const Bytes reply = bytesOf(buildPagePacket(samplePage(), command::kPage));
    ASSERT_EQ(reply.size(), 215u);
    for (std::size_t first = 1; first < reply.size(); ++first) {
        for (std::size_t second = first; second < reply.size(); ++second) {
            ReplyRecognizer recognizer;
            RecordingSink sink;
            std::vector<std::size_t> cuts{first};
            if (second != first) {
                cuts.push_back(second);
            }
            const auto perChunk = feedSplit(recognizer, reply, cuts, sink);
            ASSERT_EQ(perChunk.back(), Events{"page"}) << first << "," << second;
            ASSERT_EQ(sink.events.size(), 1u) << first << "," << second;
            ASSERT_EQ(sink.pages.front(), samplePage());
            ASSERT_EQ(recognizer.length(), 0u);
        }
    }
}

TEST(ReplyRecognizer, PageReplyWithWrongChecksumIsTakenAsReceived) {
    Bytes reply = bytesOf(buildPagePacket(samplePage(), command::kPage));
    reply[207] ^= 0x55;
    reply[208] = 0xEE;
    ReplyRecognizer recognizer;
    RecordingSink sink;
    recognizer.onChunk(reply, sink);
    ASSERT_EQ(sink.events, Events{"page"});
    EXPECT_EQ(sink.pages.front(), samplePage());
}

TEST(ReplyRecognizer, PageReplyWaitsForTheWholeRecordEvenWhenItHoldsTheTrailerBytes) {
    PageRecord record = samplePage();
    record.position[40] = 0xFE;
    record.position[41] = 0xFE;
    record.position[42] = 0xFE;
    const Bytes reply = bytesOf(buildPagePacket(record, command::kPage));
    const std::size_t cut = 4 + 8 + 43 + 1;  // one byte after the third FE inside the record
    ASSERT_EQ(reply[cut - 2], 0xFE);
    ReplyRecognizer recognizer;
    RecordingSink sink;
    const auto perChunk = feedSplit(recognizer, reply, {cut}, sink);
    EXPECT_TRUE(perChunk.front().empty()) << "a truncated record must not replace the page";
    ASSERT_EQ(sink.pages.size(), 1u);
    EXPECT_EQ(sink.pages.front(), record);

    // Without a checksum the shortest complete page reply is 211 bytes.
    Bytes bare(reply.begin(), reply.begin() + 207);
    bare.insert(bare.end(), kPacketTrailer.begin(), kPacketTrailer.end());
    RecordingSink bareSink;
    recognizer.onChunk(bare, bareSink);
    EXPECT_EQ(bareSink.events, Events{"page"});
}

TEST(ReplyRecognizer, RepliesAreRecognisedOnlyWhereAChunkEnds) {
    const Bytes done = bytesOf(buildDoneReply());
    ReplyRecognizer recognizer;
    RecordingSink sink;
    recognizer.onChunk(concat(done, done), sink);
    EXPECT_EQ(sink.events, Events{"Save done!"}) << "two replies in one chunk act once";

    recognizer.onChunk(concat(done, {0x23}), sink);
    EXPECT_EQ(sink.events.size(), 1u) << "a reply followed by more bytes waits";
    EXPECT_EQ(recognizer.length(), 9u);
    recognizer.onChunk(Bytes{0x23, 0x23, 0x64, 0xFE, 0xFE, 0xFE, 0x0A}, sink);
    EXPECT_EQ(sink.events, (Events{"Save done!", "Save done!"}));
    EXPECT_EQ(recognizer.length(), 0u);

    // Frames of other letters are dropped without a word; six bytes are no frame yet.
    recognizer.onChunk(Bytes{0x23, 0x23, 0x23, 0xFE, 0xFE, 0xFE}, sink);
    EXPECT_EQ(recognizer.length(), 6u);
    recognizer.onChunk(Bytes{0x0A}, sink);
    recognizer.onChunk(Bytes{0x23, 0x23, 0x23, 'w', 1, 2, 0xFE, 0xFE, 0xFE, 0x0A}, sink);
    EXPECT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(recognizer.length(), 0u);
}

TEST(ReplyRecognizer, FailureLineOnlyAtTheStartAndBeforeAnyFrame) {
    ReplyRecognizer recognizer;
    RecordingSink sink;
    recognizer.onChunk(concat(bytesOf(kFailureLine), bytesOf(buildDoneReply())), sink);
    EXPECT_EQ(sink.events, Events{"Failed!!"}) << "the done reply after it is lost";
    EXPECT_EQ(recognizer.length(), 0u);

    recognizer.onChunk(concat({'x'}, bytesOf(kFailureLine)), sink);
    EXPECT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(recognizer.length(), 7u);
}

TEST(ReplyRecognizer, NoiseOverflowsEvery291Bytes) {
    ReplyRecognizer recognizer;
    RecordingSink sink;
    recognizer.onChunk(Bytes(290, 'n'), sink);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(recognizer.length(), 290u);
    recognizer.onChunk(Bytes{'n'}, sink);
    EXPECT_EQ(sink.events, Events{"Bad communication"});
    EXPECT_EQ(recognizer.length(), 0u);

    recognizer.onChunk(Bytes(300, 'n'), sink);
    EXPECT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(recognizer.length(), 9u);
    recognizer.onChunk(Bytes(4095, 'n'), sink);  // the largest chunk: one box per 291 bytes
    EXPECT_EQ(sink.events.size(), 2u + (9 + 4095) / 291);
    EXPECT_EQ(recognizer.length(), (9 + 4095) % 291);

    // Noise in front of a reply hides it until the overflow; the reply's tail then sits at
    // the start of the emptied buffer.
    RecordingSink later;
    ReplyRecognizer fresh;
    fresh.onChunk(concat(Bytes(285, 'n'), bytesOf(buildDoneReply())), later);
    EXPECT_EQ(later.events, Events{"Bad communication"});
    EXPECT_EQ(fresh.length(), 2u);
    fresh.onChunk(bytesOf(kFailureLine), later);
    EXPECT_EQ(later.events.size(), 1u);
}
