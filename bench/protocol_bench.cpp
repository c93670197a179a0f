// SPDX-License-Identifier: MIT
// Cost of building packets and of recognising a page reply chunk by chunk.
#include <benchmark/benchmark.h>

#include "src/protocol/packets.h"
#include "src/protocol/reply_recognizer.h"

namespace {

class NullSink : public kestrova::ReplySink {
  public:
    void showSaveDone() override {}
    void replacePage(const kestrova::PageRecord& record) override {
        benchmark::DoNotOptimize(record);
    }
    void showFailed() override {}
    void showBadCommunication() override {}
};

void BM_WritePagePacket(benchmark::State& state) {
    const auto record = kestrova::defaultPageRecord();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kestrova::buildWritePagePacket(record));
    }
}
BENCHMARK(BM_WritePagePacket);

void BM_PageReplyInChunks(benchmark::State& state) {
    const auto reply =
        kestrova::buildPagePacket(kestrova::defaultPageRecord(), kestrova::command::kPage);
    const auto chunk = static_cast<std::size_t>(state.range(0));
    kestrova::ReplyRecognizer recognizer;
    NullSink sink;
    for (auto _ : state) {
        for (std::size_t at = 0; at < reply.size(); at += chunk) {
            recognizer.onChunk(std::span(reply).subspan(at, std::min(chunk, reply.size() - at)),
                               sink);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_PageReplyInChunks)->Arg(1)->Arg(7)->Arg(215);

}  // namespace
