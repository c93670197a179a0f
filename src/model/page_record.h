// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace kestrova {

inline constexpr std::size_t kStepCount = 8;
inline constexpr std::size_t kMotorCount = 22;
inline constexpr std::size_t kPageNameSize = 7;
inline constexpr std::size_t kPositionCount = kStepCount * kMotorCount;
inline constexpr std::size_t kPageRecordSize = 203;
inline constexpr std::size_t kPageCount = 20;  // pages the controller board holds: 0..19

// Value ranges and the values of a fresh page.
inline constexpr std::uint8_t kMaxPosition = 200;
inline constexpr std::uint8_t kMaxAcc = 50;
inline constexpr std::uint8_t kMaxRate = 200;
inline constexpr std::uint8_t kMaxRepeat = 254;
inline constexpr std::uint8_t kDefaultPosition = 100;
inline constexpr std::uint8_t kDefaultAcc = 50;
inline constexpr std::uint8_t kDefaultRate = 50;

using StepPositions = std::array<std::uint8_t, kMotorCount>;
using AllPositions = std::array<std::uint8_t, kPositionCount>;
using StepValues = std::array<std::uint8_t, kStepCount>;
using PageName = std::array<std::uint8_t, kPageNameSize>;
using PageBytes = std::array<std::uint8_t, kPageRecordSize>;

// One page of motion, byte for byte as it sits in memory, on the wire and in a page file.
// Every field is a byte or an array of bytes, so the layout has no padding on any compiler.
struct PageRecord {
    PageName pageName;        // NUL-padded; a 7-character name has no terminating NUL
    std::uint8_t pageNum;     // 0..19
    AllPositions position;    // step s, motor m at 22 * s + m
    StepValues acc;           // per step
    StepValues rate;          // per step
    std::uint8_t nextPage;    // 0 = none, else 1..19
    std::uint8_t enableStep;  // last step that plays, 0..7
    std::uint8_t repeat;      // 1..254

    friend bool operator==(const PageRecord&, const PageRecord&) = default;
};

static_assert(sizeof(PageRecord) == kPageRecordSize);
static_assert(std::is_trivially_copyable_v<PageRecord>);
static_assert(std::is_standard_layout_v<PageRecord>);
static_assert(offsetof(PageRecord, pageNum) == 7);
static_assert(offsetof(PageRecord, position) == 8);
static_assert(offsetof(PageRecord, acc) == 184);
static_assert(offsetof(PageRecord, rate) == 192);
static_assert(offsetof(PageRecord, nextPage) == 200);
static_assert(offsetof(PageRecord, enableStep) == 201);
static_assert(offsetof(PageRecord, repeat) == 202);

PageBytes toBytes(const PageRecord& record);
PageRecord fromBytes(std::span<const std::uint8_t, kPageRecordSize> bytes);

// The page at start-up and after a page reset.
PageRecord defaultPageRecord();

}  // namespace kestrova
