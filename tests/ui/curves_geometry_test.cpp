// SPDX-License-Identifier: MIT
// Where steps and values sit in a 500 x 440 picture, worked out by hand: the plot spans x 40 to
// 460 (60 pixels a step) and y 10 (the top of the scale) to 410 (0): 2 pixels a position,
// 8 pixels an ACC value.
#include <gtest/gtest.h>

#include "src/ui/curves_geometry.h"

using namespace kestrova;

namespace {

constexpr std::size_t kM5 = 4, kM22 = 21, kAcc = 22, kRate = 23;

CurveChoice only(std::initializer_list<std::size_t> curves) {
    CurveChoice choice{};
    for (const std::size_t curve : curves) {
        choice[curve] = true;
    }
    return choice;
}

}  // namespace

TEST(CurvesGeometry, MapsStepsAndValuesBothWays) {
    const CurvesGeometry geometry({500, 440});
    EXPECT_EQ(std::tuple(geometry.stepX(0), geometry.stepX(3), geometry.stepX(7)),
              std::tuple(40, 220, 460));
    EXPECT_EQ(
        std::tuple(geometry.valueY(120, kM5), geometry.valueY(0, kRate), geometry.valueY(25, kAcc)),
        std::tuple(170, 410, 210));
    // y, the curve, the value: 119.5 rounds to 120, 118.5 to 119, ACC's 24.5 to 25 and 23.75
    // to 24; beyond the scale nothing is clamped here.
    const std::tuple<int, std::size_t, int> values[] = {
        {170, kM5, 120}, {171, kM5, 120}, {173, kM5, 119}, {0, kM5, 205},
        {430, kM5, -10}, {214, kAcc, 25}, {220, kAcc, 24}};
    for (const auto& [y, curve, value] : values) {
        EXPECT_EQ(geometry.valueAt(y, curve), value) << "y " << y;
    }
    const std::pair<int, std::optional<std::size_t>> steps[] = {
        {9, std::nullopt}, {10, 0}, {69, 0}, {70, 1}, {250, 4}, {490, 7}, {491, std::nullopt}};
    for (const auto& [x, step] : steps) {
        EXPECT_EQ(geometry.stepAt(x), step) << "x " << x;
    }
}

TEST(CurvesGeometry, FindsTheTopmostChosenPointWithinSixPixels) {
    const CurvesGeometry geometry({500, 440});
    PageRecord page = defaultPageRecord();  // positions 100 at y 210, ACC 50 at 10, Rate 50 at 310
    page.position[3 * 22 + kM5] = 120;      // at (220, 170)
    CurveChoice every{};
    every.fill(true);
    EXPECT_EQ(geometry.pointAt({224, 174}, page, every), (CurvePoint{kM5, 3}));
    EXPECT_EQ(geometry.pointAt({226, 170}, page, every), (CurvePoint{kM5, 3}));
    EXPECT_EQ(geometry.pointAt({227, 170}, page, every), std::nullopt);
    EXPECT_EQ(geometry.pointAt({220, 177}, page, every), std::nullopt);
    EXPECT_EQ(geometry.pointAt({220, 210}, page, every), (CurvePoint{kM22, 3})) << "drawn last";
    EXPECT_EQ(geometry.pointAt({220, 210}, page, only({0, kM5})), (CurvePoint{0, 3}));
    EXPECT_EQ(geometry.pointAt({220, 170}, page, only({})), std::nullopt) << "nothing chosen";
    EXPECT_EQ(geometry.pointAt({40, 10}, page, every), (CurvePoint{kAcc, 0}));
    EXPECT_EQ(geometry.pointAt({460, 310}, page, every), (CurvePoint{kRate, 7}));
}
