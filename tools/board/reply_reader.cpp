// SPDX-License-Identifier: MIT
#include "tools/board/reply_reader.h"

#include <algorithm>

#include "src/protocol/packets.h"
#include "src/protocol/reply_recognizer.h"

namespace kestrova::board {

namespace {

// More than any reply and the noise before it; older bytes can begin no reply still to come.
constexpr std::size_t kMostKept = 2 * ReplyRecognizer::kBufferSize;

class Heard : public ReplySink {
  public:
    void showSaveDone() override { reply = BoardReply{BoardReply::Kind::Done, {}}; }
    void replacePage(const PageRecord& record) override {
        reply = BoardReply{BoardReply::Kind::Page, record};
    }
    void showFailed() override { reply = BoardReply{BoardReply::Kind::Refused, {}}; }
    void showBadCommunication() override {}

    std::optional<BoardReply> reply;
};

bool mayBeginReply(std::uint8_t byte) {
    return byte == kPacketHeader.front() || byte == kFailureLine.front();
}

// A page reply still arriving: the bytes of its record (which may look like a failure line)
// begin nothing until it is whole.
bool beginsUnfinishedPage(std::span<const std::uint8_t> tail) {
    return tail.size() < kPagePacketSize && tail.size() > kLetterOffset &&
           std::equal(kPacketHeader.begin(), kPacketHeader.end(), tail.begin()) &&
           tail[kLetterOffset] == command::kPage;
}

}  // namespace

void ReplyReader::feed(std::span<const std::uint8_t> chunk) {
    received.insert(received.end(), chunk.begin(), chunk.end());
    if (received.size() > kMostKept) {
        received.erase(received.begin(), received.end() - static_cast<std::ptrdiff_t>(kMostKept));
    }
    for (std::size_t start = 0; start < received.size() && !found; ++start) {
        if (beginsUnfinishedPage(std::span(received).subspan(start))) {
            break;
        }
        if (mayBeginReply(received[start])) {
            found = recognizeFrom(start);
        }
    }
    if (found) {
        received.clear();
    }
}

std::optional<BoardReply> ReplyReader::recognizeFrom(std::size_t start) const {
    const auto tail = std::span(received).subspan(start);
    ReplyRecognizer recognizer;
    Heard heard;
    recognizer.onChunk(tail, heard);
    if (!heard.reply || heard.reply->kind != BoardReply::Kind::Page) {
        return heard.reply;
    }
    const auto expected = buildPagePacket(heard.reply->page, command::kPage);
    if (tail.size() < expected.size()) {
        return std::nullopt;  // cut short: the rest may still come
    }
    const auto whole = tail.first(expected.size());
    if (std::ranges::equal(whole, expected)) {
        return heard.reply;
    }
    const bool framed = std::equal(kPacketTrailer.begin(), kPacketTrailer.end(),
                                   whole.end() - std::ssize(kPacketTrailer));
    return framed ? std::optional(BoardReply{BoardReply::Kind::BadChecksum, {}}) : std::nullopt;
}

void ReplyReader::clear() {
    received.clear();
    found.reset();
}

}  // namespace kestrova::board
