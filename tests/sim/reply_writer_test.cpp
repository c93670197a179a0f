// SPDX-License-Identifier: MIT
#include "tools/sim/reply_writer.h"

#include <gtest/gtest.h>

#include "protocol/packets.h"

using namespace kestrova;
using namespace kestrova::sim;

// The end-to-end runs show chunks and noise reaching the editor; this pins what the seed does.
TEST(ReplyWriter, CutsRepliesInOrderAndPutsSeededNoiseBeforeTheFirstOnes) {
    const auto done = buildDoneReply();
    const std::vector<std::uint8_t> reply(done.begin(), done.end());
    using Writes = std::vector<std::vector<std::uint8_t>>;
    EXPECT_EQ(ReplyWriter(3, 0, 0, 1).plan(reply),
              (Writes{{0x23, 0x23, 0x23}, {0x64, 0xFE, 0xFE}, {0xFE, 0x0A}}));
    ReplyWriter noisy(0, 6, 2, 7);
    const Writes first = noisy.plan(reply);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(std::vector(first[0].begin() + 6, first[0].end()), reply);
    EXPECT_EQ(ReplyWriter(0, 6, 2, 7).plan(reply), first) << "the same seed gives the same noise";
    EXPECT_NE(ReplyWriter(0, 6, 2, 8).plan(reply), first);
    EXPECT_NE(noisy.plan(reply), first) << "each reply gets fresh noise";
    EXPECT_EQ(noisy.plan(reply), Writes{reply}) << "only the first two replies";
}
