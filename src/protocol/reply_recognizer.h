// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "src/model/page_record.h"
#include "src/protocol/packets.h"

namespace kestrova {

// What the editor does about the controller's replies, in the order they are recognised.
class ReplySink {
  public:
    virtual ~ReplySink() = default;
    virtual void showSaveDone() = 0;                         // "Save done!"
    virtual void replacePage(const PageRecord& record) = 0;  // a page arrived
    virtual void showFailed() = 0;                           // "Failed!!"
    virtual void showBadCommunication() = 0;                 // "Bad communication"
};

// Collects received chunks and recognises the controller's replies at the start of its
// buffer: a frame "###" + letter ... FE FE FE + one byte that ends exactly at a chunk's end,
// or the failure line "aaaaa\n". It never searches for a header inside the buffer; bytes that
// start nothing stay until 291 bytes have piled up, which counts as bad communication.
class ReplyRecognizer {
  public:
    static constexpr std::size_t kBufferSize = 300;
    static constexpr std::size_t kMostHeld = 290;
    // A page reply is taken only once the record and a trailer after it have arrived.
    static constexpr std::size_t kShortestPageReply =
        kPayloadOffset + kPageRecordSize + kPacketTrailer.size();

    void onChunk(std::span<const std::uint8_t> chunk, ReplySink& sink);

    std::size_t length() const { return replyLength; }
    const std::array<std::uint8_t, kBufferSize>& buffer() const { return replyBuffer; }

  private:
    void append(std::uint8_t byte, ReplySink& sink);
    bool holdsCompleteFrame() const;
    bool holdsFailureLine() const;
    void clear();

    std::array<std::uint8_t, kBufferSize> replyBuffer{};
    std::size_t replyLength = 0;
};

}  // namespace kestrova
