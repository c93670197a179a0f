// SPDX-License-Identifier: MIT
#include "src/model/page_record.h"

#include <algorithm>
#include <cstring>

namespace kestrova {

PageBytes toBytes(const PageRecord& record) {
    PageBytes bytes;
    std::memcpy(bytes.data(), &record, bytes.size());
    return bytes;
}

PageRecord fromBytes(std::span<const std::uint8_t, kPageRecordSize> bytes) {
    PageRecord record;
    std::memcpy(&record, bytes.data(), bytes.size());
    return record;
}

PageRecord defaultPageRecord() {
    PageRecord record{};
    constexpr char kDefaultName[] = "Noname";
    std::copy(std::begin(kDefaultName), std::end(kDefaultName), record.pageName.begin());
    record.position.fill(kDefaultPosition);
    record.acc.fill(kDefaultAcc);
    record.rate.fill(kDefaultRate);
    record.repeat = 1;
    return record;
}

}  // namespace kestrova
