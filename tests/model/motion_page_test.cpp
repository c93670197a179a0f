// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <numeric>

#include "src/model/motion_page.h"
#include "tests/support/sample_page.h"

using namespace kestrova;

// The default page's bytes are checked in the packets that carry it.
TEST(MotionPage, StartsAndResetsToTheDefaultPageAndKeepsEveryByteOfARecord) {
    CMotionPage page;
    EXPECT_EQ(page.getRecord(), defaultPageRecord());
    PageBytes bytes;
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{53});  // wraps through 255 and 0
    page.setRecord(fromBytes(bytes));
    EXPECT_EQ(toBytes(page.getRecord()), bytes);

    const PageName name{'W', 'a', 'l', 'k', 'i', 'n', 'g'};
    page.setPageName(name);
    PageName back{};
    page.getPageName(back);
    EXPECT_EQ(back, name);
    EXPECT_EQ(toBytes(page.getRecord())[7], 60) << "the name has no terminator of its own";
    page.reset();
    EXPECT_EQ(page.getRecord(), defaultPageRecord());
}

TEST(MotionPage, StepsComeInOrderAndOnlyTheLowByteOfAStepIndexCounts) {
    CMotionPage page;
    page.setRecord(test::samplePage());
    AllPositions all{};
    page.getAllPositions(all);
    EXPECT_EQ(all, test::samplePage().position);

    page.setAllAcc(StepValues{1, 2, 3, 4, 5, 6, 7, 8});
    page.setAcc(256 + 2, 70);
    page.setRate(512 + 7, 9);
    StepValues acc{}, rate{};
    page.getAllAcc(acc);
    page.getAllRates(rate);
    EXPECT_EQ(acc, (StepValues{1, 2, 70, 4, 5, 6, 7, 8}));
    EXPECT_EQ(rate, (StepValues{50, 50, 50, 50, 50, 50, 50, 9}));
    page.setAllRates(acc);
    EXPECT_EQ(page.getRecord().rate, acc);

    // Steps beyond 7 must never write into the fields after the positions.
    const PageBytes before = toBytes(page.getRecord());
    page.setAcc(kStepCount, 1);
    page.setRate(255, 1);
    page.setStepPositions(kStepCount, StepPositions{});
    EXPECT_EQ(toBytes(page.getRecord()), before);
    EXPECT_EQ(page.getAcc(kStepCount), 0);
}
