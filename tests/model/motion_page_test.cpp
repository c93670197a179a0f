// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <numeric>

#include "model/motion_page.h"

using namespace kestrova;

TEST(MotionPage, StartsAndResetsToTheDefaultPageBytes) {
    PageBytes expected{'N', 'o', 'n', 'a', 'm', 'e', 0};
    std::fill(expected.begin() + 8, expected.begin() + 184, 100);
    std::fill(expected.begin() + 184, expected.begin() + 200, 50);
    expected[202] = 1;

    CMotionPage page;
    EXPECT_EQ(toBytes(page.getRecord()), expected);
    EXPECT_EQ(toBytes(motionPage.getRecord()), expected);
    page.setRecord(PageRecord{});
    page.reset();
    EXPECT_EQ(toBytes(page.getRecord()), expected);
    EXPECT_EQ(page.checkNotBusy(), 1);
}

TEST(MotionPage, KeepsEveryByteOfARecordAndAFullSevenCharacterName) {
    PageBytes bytes;
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{53});  // wraps through 255 and 0
    CMotionPage page;
    page.setRecord(fromBytes(bytes));
    EXPECT_EQ(toBytes(page.getRecord()), bytes);
    EXPECT_EQ(page.getRepeat(), static_cast<std::uint8_t>(53 + 202));

    const PageName name{'W', 'a', 'l', 'k', 'i', 'n', 'g'};
    page.setPageName(name);
    PageName back{};
    page.getPageName(back);
    EXPECT_EQ(back, name);
    EXPECT_EQ(toBytes(page.getRecord())[7], 60) << "the name has no terminator of its own";
}

TEST(MotionPage, StepsComeInOrderAndOnlyTheLowByteOfAStepIndexCounts) {
    CMotionPage page;
    for (unsigned step = 0; step < kStepCount; ++step) {
        StepPositions row;
        std::iota(row.begin(), row.end(), static_cast<std::uint8_t>(step * 30));
        page.setStepPositions(step, row);
    }
    AllPositions all{};
    page.getAllPositions(all);
    for (unsigned i = 0; i < kPositionCount; ++i) {
        ASSERT_EQ(all[i], (i / kMotorCount) * 30 + i % kMotorCount) << "position " << i;
    }

    page.setAcc(256 + 2, 7);
    page.setRate(512 + 7, 9);
    StepValues acc{};
    page.getAllAcc(acc);
    EXPECT_EQ(acc, (StepValues{50, 50, 7, 50, 50, 50, 50, 50}));
    EXPECT_EQ(page.getRate(7), 9);

    // Steps beyond 7 must never write into the fields after the positions.
    const PageBytes before = toBytes(page.getRecord());
    page.setAcc(8, 1);
    page.setRate(255, 1);
    page.setStepPositions(8, StepPositions{});
    EXPECT_EQ(toBytes(page.getRecord()), before);
    EXPECT_EQ(page.getAcc(8), 0);
}
