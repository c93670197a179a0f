// SPDX-License-Identifier: MIT
#include "tools/sim/reply_writer.h"

#include <gtest/gtest.h>

#include <numeric>

#include "protocol/packets.h"

using namespace kestrova;
using namespace kestrova::sim;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes joined(const std::vector<Bytes>& writes) {
    Bytes all;
    for (const Bytes& w : writes) {
        all.insert(all.end(), w.begin(), w.end());
    }
    return all;
}

const Bytes kPage = [] {
    const auto p = buildPagePacket(defaultPageRecord(), command::kPage);
    return Bytes(p.begin(), p.end());
}();

}  // namespace

TEST(ReplyWriter, WithoutFaultsAReplyIsOneWrite) {
    ReplyWriter writer(0, 0, 0, 1);
    const auto writes = writer.plan(kPage);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], kPage);
}

TEST(ReplyWriter, ChunksCutTheReplyInOrder) {
    for (const std::size_t chunk : {1u, 7u, 214u, 215u, 4096u}) {
        ReplyWriter writer(chunk, 0, 0, 1);
        const auto writes = writer.plan(kPage);
        EXPECT_EQ(writes.size(), (kPage.size() + chunk - 1) / chunk) << chunk;
        EXPECT_EQ(joined(writes), kPage);
        for (std::size_t i = 0; i + 1 < writes.size(); ++i) {
            EXPECT_EQ(writes[i].size(), chunk);
        }
    }
}

TEST(ReplyWriter, NoiseComesBeforeEachReplyAndRepeatsWithTheSeed) {
    ReplyWriter first(0, 40, 0, 7);
    ReplyWriter again(0, 40, 0, 7);
    ReplyWriter other(0, 40, 0, 8);
    const Bytes a = joined(first.plan(kPage));
    ASSERT_EQ(a.size(), 40 + kPage.size());
    EXPECT_EQ(Bytes(a.begin() + 40, a.end()), kPage);
    EXPECT_EQ(a, joined(again.plan(kPage))) << "same seed, same bytes";
    EXPECT_NE(a, joined(other.plan(kPage)));
    const Bytes next = joined(first.plan(kPage));
    EXPECT_NE(Bytes(next.begin(), next.begin() + 40), Bytes(a.begin(), a.begin() + 40))
        << "each reply gets fresh noise";

    ReplyWriter chunkedNoisy(7, 3, 0, 7);
    const auto writes = chunkedNoisy.plan(kPage);
    EXPECT_EQ(writes.front().size(), 7u) << "noise and reply are cut together";
    EXPECT_EQ(joined(writes).size(), 3 + kPage.size());
}

TEST(ReplyWriter, NoiseCanBeLimitedToTheFirstReplies) {
    ReplyWriter writer(0, 9, 2, 3);
    EXPECT_EQ(joined(writer.plan(kPage)).size(), 9 + kPage.size());
    EXPECT_EQ(joined(writer.plan(kPage)).size(), 9 + kPage.size());
    EXPECT_EQ(joined(writer.plan(kPage)), kPage);
    EXPECT_EQ(joined(writer.plan(kPage)), kPage);
}
