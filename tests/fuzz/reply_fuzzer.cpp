// SPDX-License-Identifier: MIT
// Random chunkings of random bytes through the reply recogniser: between chunks it never holds
// more than 290 bytes, and after it has acted on a reply its buffer is all zero.
#include <algorithm>
#include <cstdlib>
#include <span>

#include "protocol/reply_recognizer.h"

namespace {

class CountingSink : public kestrova::ReplySink {
  public:
    int frames = 0;
    void showSaveDone() override { ++frames; }
    void replacePage(const kestrova::PageRecord&) override { ++frames; }
    void showFailed() override { ++frames; }
    void showBadCommunication() override {}
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrova::ReplyRecognizer recognizer;
    CountingSink sink;
    std::span input(data, size);
    while (!input.empty()) {
        // The first byte of each round chooses the next chunk's length (1..256).
        const std::size_t length = std::min<std::size_t>(input.size(), std::size_t{input[0]} + 1);
        const int framesBefore = sink.frames;
        recognizer.onChunk(input.first(length), sink);
        input = input.subspan(length);
        check(recognizer.length() <= kestrova::ReplyRecognizer::kMostHeld);
        const auto& buffer = recognizer.buffer();
        check(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(recognizer.length()),
                          buffer.end(), [](std::uint8_t b) { return b == 0; }));
        if (sink.frames != framesBefore) {
            check(recognizer.length() == 0);
        }
    }
    return 0;
}
