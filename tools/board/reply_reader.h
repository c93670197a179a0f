// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "src/model/page_record.h"

namespace kestrova::board {

struct BoardReply {
    enum class Kind { Done, Page, Refused, BadChecksum };
    Kind kind = Kind::Done;
    PageRecord page{};  // Page only
};

// Finds the board's replies in the bytes received, with the editor's recogniser. The editor
// recognises a reply only at the start of its buffer; here it is tried from every place where
// one may begin, so that noise before a reply is skipped instead of hiding it. A page reply
// counts only when it is whole: 215 bytes, framed like the write packet; one whose checksum
// does not match its record is found as BadChecksum, so that the board's answer is not taken
// for silence.
class ReplyReader {
  public:
    void feed(std::span<const std::uint8_t> chunk);
    // The reply found since the last clear, if any.
    const std::optional<BoardReply>& reply() const { return found; }
    void clear();

  private:
    std::optional<BoardReply> recognizeFrom(std::size_t start) const;

    std::vector<std::uint8_t> received;
    std::optional<BoardReply> found;
};

}  // namespace kestrova::board
