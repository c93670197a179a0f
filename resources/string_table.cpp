// SPDX-License-Identifier: MIT
// The string table: the About item's text and the motor labels, which name each motor and the
// controller pin that drives it.
#include <algorithm>
#include <array>

#include "resources/templates.h"

namespace kestrova::res {

namespace {

struct StringEntry {
    int id;
    std::string_view text;
};

constexpr std::array<StringEntry, 23> kStrings{{
    {101, "Tandrel 정보(&A)..."},
    {102, "M1(PB0)"},
    {103, "M2(PB1)"},
    {104, "M3(PB2)"},
    {105, "M4(PB3)"},
    {106, "M5(PB4)"},
    {107, "M6(PB5)"},
    {108, "M7(PB6)"},
    {109, "M8(PB7)"},
    {110, "M9(PE0)"},
    {111, "M10(PE1)"},
    {112, "M11(PE2)"},
    {113, "M12(PE3)"},
    {114, "M13(PC0)"},
    {115, "M14(PC1)"},
    {116, "M15(PC2)"},
    {117, "M16(PC3)"},
    {118, "M17(PC4)"},
    {119, "M18(PC5)"},
    {120, "M19(PC6)"},
    {121, "M20(PC7)"},
    {122, "M21(PD4)"},
    {123, "M22(PD5)"},
}};

}  // namespace

std::string_view loadString(int id) {
    const auto found = std::find_if(kStrings.begin(), kStrings.end(),
                                    [id](const StringEntry& entry) { return entry.id == id; });
    return found == kStrings.end() ? std::string_view{} : found->text;
}

}  // namespace kestrova::res
