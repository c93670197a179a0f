// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "src/model/page_record.h"
#include "src/serial/comm.h"
#include "src/serial/comm_owner.h"
#include "src/serial/port_devices.h"
#include "tools/board/reply_reader.h"
#include "tools/board/task_queue.h"

namespace kestrova::board {

// What came of one request to the board.
struct Outcome {
    bool ok = false;
    std::string problem;             // why not, when not ok
    std::optional<PageRecord> page;  // a read page
    bool linkLost = false;           // the packet could not be sent
};

// The link to the controller board: CComm with this as its owner. The watcher's chunks are
// handed over on the main thread while it waits for a reply. A read or write that gets no
// answer or a refusal is tried once more. A link that was lost is opened again before the
// next request, so a board that is back serves the pages that follow.
class BoardLink : private CommOwner {
  public:
    explicit BoardLink(std::chrono::milliseconds timeout) : timeout(timeout) {}
    ~BoardLink() override { comm.closeAll(); }
    BoardLink(const BoardLink&) = delete;
    BoardLink& operator=(const BoardLink&) = delete;

    // Empty when open, else the device and the reason.
    std::string open(const PortDevice& device, std::uint32_t baudRate);

    Outcome readPage(std::uint8_t number);
    // Stored under the record's own page number; the board's done reply ends it.
    Outcome writePage(const PageRecord& record);
    // Played once (never again: the robot would move twice); the board answers a play only
    // with a refusal.
    Outcome playPage(const PageRecord& record);

  private:
    enum class Awaited { Nothing, Done, Page };

    // Opens the lost link again; empty when it is back, else why not.
    std::string reconnect();
    // The request, on a link opened again first if it was lost.
    Outcome request(std::span<const std::uint8_t> packet, Awaited awaited, std::uint8_t number,
                    bool retry);

    void postToOwner(std::function<void()> task) override { tasks.post(std::move(task)); }
    void onCommRead(std::span<const std::uint8_t> chunk) override { reader.feed(chunk); }
    void onCommFailure(const CommFailure& failure) override { lastFailure = failure; }

    Outcome twice(std::span<const std::uint8_t> packet, Awaited awaited, std::uint8_t number);
    Outcome attempt(std::span<const std::uint8_t> packet, Awaited awaited, std::uint8_t number);

    std::chrono::milliseconds timeout;
    CommFailure lastFailure;  // of the latest open or write that failed
    PortDevice device;
    std::uint32_t baudRate = 0;
    bool lost = false;  // a write failed: the link is opened again before the next request
    TaskQueue tasks;    // outlives comm, whose watcher posts to it
    ReplyReader reader;
    CComm comm;
};

}  // namespace kestrova::board
