// SPDX-License-Identifier: MIT
// Points moved and lines drawn through a page seen as curves, figures worked out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "src/model/curve_edits.h"
#include "tests/support/sample_page.h"

using namespace kestrova;
using kestrova::test::pageWith;

namespace {

constexpr std::size_t kAcc = 22;

}  // namespace

TEST(CurveEdits, MovePointClampsIntoTheCurvesRange) {
    // M5 (curve 4) of step 3 sits at byte 8 + 22 * 3 + 4 = 78; ACC of step 2 at 184 + 2.
    EXPECT_EQ(movePoint(defaultPageRecord(), 4, 3, 120, fullRange(4)), pageWith({{78, 120}}));
    EXPECT_EQ(movePoint(defaultPageRecord(), 4, 3, 260, fullRange(4)), pageWith({{78, 200}}));
    EXPECT_EQ(movePoint(defaultPageRecord(), 4, 3, -5, {30, 170}), pageWith({{78, 30}}));
    EXPECT_EQ(movePoint(defaultPageRecord(), 4, 3, 171, {30, 170}), pageWith({{78, 170}}));
    EXPECT_EQ(movePoint(defaultPageRecord(), kAcc, 2, 90, fullRange(kAcc)), pageWith({{186, 50}}));
    EXPECT_EQ(movePoint(defaultPageRecord(), 23, 7, 255, fullRange(23)), pageWith({{199, 200}}));
    EXPECT_EQ(movePoint(defaultPageRecord(), 24, 0, 0, {}), defaultPageRecord()) << "no curve 24";
}

TEST(CurveEdits, InterpolateRisingFallingAndAccRoundingHalvesUp) {
    // M1: 10 at step 0, 23 at step 5: 12.6, 15.2, 17.8, 20.4 between.
    // M3: 9 at step 2, 0 at step 4: 4.5 between. ACC: 1 at step 4, 50 at step 7: 17.33, 33.67.
    const PageRecord page = pageWith({{8, 10}, {8 + 110, 23}, {8 + 44 + 2, 9}, {8 + 88 + 2, 0}});
    const std::vector<std::size_t> m1AndM3{0, 2};
    EXPECT_EQ(interpolate(page, m1AndM3, 5, 0),
              pageWith({{8, 10}, {30, 13}, {52, 15}, {74, 18}, {96, 20}, {118, 23}}))
        << "M3's steps 2 and 4 lie between 0 and 5 too: they join M3's flat line at 100";
    EXPECT_EQ(interpolate(page, m1AndM3, 2, 4),
              pageWith({{8, 10}, {118, 23}, {54, 9}, {76, 5}, {98, 0}}))
        << "only step 3 lies strictly between, and M1 there stays 100";

    const PageRecord accPage = pageWith({{188, 1}, {191, 50}});
    const std::vector<std::size_t> acc{kAcc};
    EXPECT_EQ(interpolate(accPage, acc, 4, 7),
              pageWith({{188, 1}, {189, 17}, {190, 34}, {191, 50}}));
    EXPECT_EQ(interpolate(accPage, acc, 4, 5), accPage) << "no step between neighbours";
    EXPECT_EQ(interpolate(accPage, acc, 4, 8), accPage) << "no step 8";

    const PageRecord falling = pageWith({{8 + 22 + 2, 200}, {8 + 154 + 2, 0}});
    const std::vector<std::size_t> m3{2};
    EXPECT_EQ(
        interpolate(falling, m3, 1, 7),
        pageWith({{32, 200}, {54, 167}, {76, 133}, {98, 100}, {120, 67}, {142, 33}, {164, 0}}));
}
