// SPDX-License-Identifier: MIT
#include "src/protocol/reply_recognizer.h"

#include <algorithm>

#include "src/protocol/packets.h"

namespace kestrova {

void ReplyRecognizer::onChunk(std::span<const std::uint8_t> chunk, ReplySink& sink) {
    for (const std::uint8_t byte : chunk) {
        append(byte, sink);
    }
    // The buffer is cleared before the sink hears of a reply, so that whatever the sink does
    // (a modal box runs an event loop) it finds the recogniser ready for the next bytes.
    if (holdsCompleteFrame()) {
        const std::uint8_t letter = replyBuffer[kLetterOffset];
        const PageRecord record =
            fromBytes(std::span(replyBuffer).subspan<kPayloadOffset, kPageRecordSize>());
        clear();
        if (letter == command::kDone) {
            sink.showSaveDone();
        } else if (letter == command::kPage) {
            sink.replacePage(record);
        }
    }
    if (holdsFailureLine()) {
        clear();
        sink.showFailed();
    }
}

void ReplyRecognizer::append(std::uint8_t byte, ReplySink& sink) {
    replyBuffer[replyLength++] = byte;
    if (replyLength > kMostHeld) {
        clear();
        sink.showBadCommunication();
    }
}

bool ReplyRecognizer::holdsCompleteFrame() const {
    if (replyLength <= kPayloadOffset + 1 ||
        !std::equal(kPacketHeader.begin(), kPacketHeader.end(), replyBuffer.begin())) {
        return false;
    }
    if (replyBuffer[kLetterOffset] == command::kPage && replyLength < kShortestPageReply) {
        return false;
    }
    // The trailer's FE bytes, then any last byte.
    const auto trailer =
        replyBuffer.begin() + static_cast<std::ptrdiff_t>(replyLength - kPacketTrailer.size());
    return std::equal(kPacketTrailer.begin(), kPacketTrailer.end() - 1, trailer);
}

bool ReplyRecognizer::holdsFailureLine() const {
    return std::equal(kFailureLine.begin(), kFailureLine.end(), replyBuffer.begin());
}

void ReplyRecognizer::clear() {
    replyBuffer.fill(0);
    replyLength = 0;
}

}  // namespace kestrova
