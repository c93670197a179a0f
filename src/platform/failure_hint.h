// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kestrova {

// What the user may do about a system error code.
struct FailureHint {
    long code;
    std::string_view hint;
};

// The system's reason followed by "; " and the first hint for `code`, if any.
inline std::string withHint(std::string reason, long code, std::span<const FailureHint> hints) {
    for (const FailureHint& entry : hints) {
        if (entry.code == code) {
            return reason.append("; ").append(entry.hint);
        }
    }
    return reason;
}

}  // namespace kestrova
