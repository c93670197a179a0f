// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <numeric>

#include "model/motion_page.h"

using namespace kestrova;

namespace {

PageBytes expectedDefaultBytes() {
    PageBytes bytes{};
    const char name[] = "Noname";
    std::copy(name, name + 7, bytes.begin());
    std::fill(bytes.begin() + 8, bytes.begin() + 184, 100);
    std::fill(bytes.begin() + 184, bytes.begin() + 200, 50);
    bytes[202] = 1;
    return bytes;
}

}  // namespace

TEST(MotionPage, FreshAndResetPagesAreTheDefaultRecord) {
    CMotionPage page;
    EXPECT_EQ(toBytes(page.getRecord()), expectedDefaultBytes());

    PageRecord scrambled{};
    scrambled.pageName.fill('x');
    scrambled.repeat = 9;
    page.setRecord(scrambled);
    page.reset();
    EXPECT_EQ(toBytes(page.getRecord()), expectedDefaultBytes());
    EXPECT_EQ(page.checkNotBusy(), 1);
    // The program-wide page starts as the default page too.
    EXPECT_EQ(toBytes(motionPage.getRecord()), expectedDefaultBytes());
}

TEST(MotionPage, SevenCharacterNameHasNoTerminatorAndReadsBackWhole) {
    CMotionPage page;
    const PageName name{'W', 'a', 'l', 'k', 'i', 'n', 'g'};
    page.setPageName(name);
    PageName back{};
    page.getPageName(back);
    EXPECT_EQ(back, name);
    const PageBytes bytes = toBytes(page.getRecord());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 7), "Walking");
    EXPECT_EQ(bytes[7], 0) << "the page number follows the name directly";
}

TEST(MotionPage, RecordRoundTripKeepsValuesOutsideTheUserInterfaceRanges) {
    PageBytes bytes;
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{53});  // wraps through 255 and 0
    CMotionPage page;
    page.setRecord(fromBytes(bytes));
    EXPECT_EQ(toBytes(page.getRecord()), bytes);
    EXPECT_EQ(page.getRepeat(), static_cast<std::uint8_t>(53 + 202));
    EXPECT_EQ(page.getPageNum(), 60);
}

TEST(MotionPage, AllPositionsComeInStepOrderThenMotorOrder) {
    CMotionPage page;
    for (unsigned step = 0; step < kStepCount; ++step) {
        StepPositions row;
        for (unsigned motor = 0; motor < kMotorCount; ++motor) {
            row[motor] = static_cast<std::uint8_t>(step * 30 + motor);
        }
        page.setStepPositions(step, row);
    }
    AllPositions all{};
    page.getAllPositions(all);
    for (unsigned i = 0; i < kPositionCount; ++i) {
        EXPECT_EQ(all[i], (i / kMotorCount) * 30 + i % kMotorCount) << "position " << i;
    }
    // The record keeps them at 8 + 22 * step + motor.
    EXPECT_EQ(toBytes(page.getRecord())[8 + 22 * 3 + 5], 3 * 30 + 5);
}

TEST(MotionPage, StepIndexUsesOnlyItsLowByteAndIgnoresStepsBeyondSeven) {
    CMotionPage page;
    page.setAcc(256 + 2, 7);
    page.setRate(512 + 7, 9);
    EXPECT_EQ(page.getAcc(2), 7);
    EXPECT_EQ(page.getRate(7), 9);
    EXPECT_EQ(page.getAcc(0x1002), 7);
    StepValues acc{};
    page.getAllAcc(acc);
    EXPECT_EQ(acc, (StepValues{50, 50, 7, 50, 50, 50, 50, 50}));

    const PageBytes before = toBytes(page.getRecord());
    page.setAcc(8, 1);
    page.setRate(255, 1);
    page.setStepPositions(8, StepPositions{});
    EXPECT_EQ(toBytes(page.getRecord()), before) << "no step beyond 7 may write into the record";
    EXPECT_EQ(page.getAcc(8), 0);
    StepPositions row;
    row.fill(1);
    page.getStepPositions(200, row);
    EXPECT_EQ(row, StepPositions{});
}
