// SPDX-License-Identifier: MIT
#include "tools/common/byte_text.h"

#include <algorithm>
#include <string_view>

namespace kestrova {

std::string hexByte(std::uint8_t byte) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

std::string pageNameText(const PageName& name) {
    std::string text;
    const auto end = std::find(name.begin(), name.end(), 0);
    for (auto it = name.begin(); it != end; ++it) {
        const bool printable = *it >= 0x20 && *it < 0x7F && *it != '\\' && *it != '"';
        text += printable ? std::string(1, static_cast<char>(*it)) : "\\x" + hexByte(*it);
    }
    return text;
}

std::string pageLabel(const PageRecord& page) {
    return "page " + std::to_string(page.pageNum) + " \"" + pageNameText(page.pageName) + "\"";
}

}  // namespace kestrova
