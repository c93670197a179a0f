// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
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

// How long the link waits: for each reply, for a lost link to come back, and for the whole run.
struct LinkTiming {
    std::chrono::milliseconds timeout{0};
    std::chrono::seconds wait{0};
    TaskQueue::Clock::time_point deadline = TaskQueue::Clock::time_point::max();
};

// The link to the controller board: CComm with this as its owner. The watcher's chunks are
// handed over on the main thread while it waits for a reply. A read or write that gets no
// answer, a refusal or a lost link is tried once more. A lost link is opened again, waiting
// up to timing.wait for the board to come back; once such a wait has run out, later requests
// try once each, so that a run with the board gone for good ends soon. After a request that
// got no answer in time the line must fall quiet before the next one is sent, so that a late
// reply is never taken for the answer to another request.
class BoardLink : private CommOwner {
  public:
    // `notice` gets the lines that set no status (the link is being waited for).
    BoardLink(const LinkTiming& timing, std::function<void(const std::string&)> notice)
        : timing(timing), notice(std::move(notice)) {}
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
    using Clock = TaskQueue::Clock;

    // Opens the lost link again, waiting for it unless a wait already ran out; empty when
    // it is back, else why not.
    std::string reopen();
    std::string reconnect();
    Outcome request(std::span<const std::uint8_t> packet, Awaited awaited, std::uint8_t number,
                    bool retry);

    void postToOwner(std::function<void()> task) override { tasks.post(std::move(task)); }
    void onCommRead(std::span<const std::uint8_t> chunk) override;
    void onCommFailure(const CommFailure& failure) override { lastFailure = failure; }

    Outcome twice(std::span<const std::uint8_t> packet, Awaited awaited, std::uint8_t number);
    Outcome attempt(std::span<const std::uint8_t> packet, Awaited awaited, std::uint8_t number);
    Outcome lostLink() const;
    // True once a reply came; false when `until` passed or the device went away.
    bool waitForReply(Clock::time_point until);
    // After a request that got no answer in time: reads until the line is quiet.
    void letLineFallQuiet();
    Clock::time_point bounded(std::chrono::milliseconds wait) const;

    LinkTiming timing;
    std::function<void(const std::string&)> notice;
    CommFailure lastFailure;  // of the latest open or write that failed
    PortDevice device;
    std::uint32_t baudRate = 0;
    bool lost = false;       // a write failed: the link is opened again before the next request
    bool waitSpent = false;  // a wait for the lost link ran out
    bool heard = false;      // a byte came since the link was opened
    Clock::time_point lastHeard;
    TaskQueue tasks;  // outlives comm, whose watcher posts to it
    ReplyReader reader;
    CComm comm;
};

}  // namespace kestrova::board
