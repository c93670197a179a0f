// SPDX-License-Identifier: MIT
// Random chunkings of random bytes through the reply recogniser: between chunks it never holds
// more than 290 bytes, the bytes past what it holds are zero, and it is empty after a reply.
#include <algorithm>
#include <cstdlib>
#include <span>

#include "src/protocol/reply_recognizer.h"

namespace {

class CountingSink : public kestrova::ReplySink {
  public:
    int frames = 0;
    void showSaveDone() override { ++frames; }
    void replacePage(const kestrova::PageRecord&) override { ++frames; }
    void showFailed() override { ++frames; }
    void showBadCommunication() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrova::ReplyRecognizer recognizer;
    CountingSink sink;
    for (std::span input(data, size); !input.empty();) {
        // The first byte of each round chooses the next chunk's length (1..256).
        const std::size_t length = std::min<std::size_t>(input.size(), std::size_t{input[0]} + 1);
        const int framesBefore = sink.frames;
        recognizer.onChunk(input.first(length), sink);
        input = input.subspan(length);
        const auto rest = std::span(recognizer.buffer()).subspan(recognizer.length());
        if (recognizer.length() > kestrova::ReplyRecognizer::kMostHeld ||
            std::any_of(rest.begin(), rest.end(), [](std::uint8_t b) { return b != 0; }) ||
            (sink.frames != framesBefore && recognizer.length() != 0)) {
            std::abort();
        }
    }
    return 0;
}
