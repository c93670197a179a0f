// SPDX-License-Identifier: MIT
#include "tools/board/board_link.h"

#include <algorithm>
#include <thread>

#include "src/protocol/packets.h"
#include "src/serial/port_settings.h"
#include "tools/board/port_choice.h"

namespace kestrova::board {

namespace {

// The board answers a play only to refuse it, and a refusal comes at once.
constexpr std::chrono::milliseconds kRefusalWindow{500};
// After a request that got no answer in time, the line counts as quiet once no byte has come
// for this long (or for the reply timeout, if that is shorter); a line that never falls quiet
// is given up on after kLongestDrain, and what it sends is skipped as noise.
constexpr std::chrono::milliseconds kQuiet{1000};
constexpr std::chrono::milliseconds kLongestDrain{30'000};
// How often a wait for a reply looks whether the device went away.
constexpr std::chrono::milliseconds kGoneLook{50};
// How often a lost link is tried while it is waited for.
constexpr std::chrono::milliseconds kReopenPause{200};

// What to check when the link fails, on the command line.
constexpr const char* kLinkAdvice =
    "check the cable, the --port and that the board (or kestrova-sim) is on";

Outcome failed(std::string problem) {
    return {false, std::move(problem), std::nullopt};
}

// The system's reason without the serial layer's hint, which speaks to the editor's user.
std::string withoutHint(const std::string& reason) {
    return reason.substr(0, reason.find("; "));
}

const char* replyName(BoardReply::Kind kind) {
    return kind == BoardReply::Kind::Done ? "a done reply" : "a page reply";
}

}  // namespace

std::string BoardLink::open(const PortDevice& device, std::uint32_t baudRate) {
    this->device = device;
    this->baudRate = baudRate;
    heard = false;
    comm.setOwnerWindow(this);
    PortSettings settings = buildPortSettings(0, 0);
    settings.baudRate = baudRate;
    if (comm.open(settings, device) != 0) {
        return {};
    }
    return "cannot open " + lastFailure.device + ": " + lastFailure.reason;
}

Outcome BoardLink::readPage(std::uint8_t number) {
    return request(buildReadRequest(number), Awaited::Page, number, true);
}

Outcome BoardLink::writePage(const PageRecord& record) {
    return request(buildWritePagePacket(record), Awaited::Done, record.pageNum, true);
}

Outcome BoardLink::playPage(const PageRecord& record) {
    return request(buildPlayPagePacket(record), Awaited::Nothing, record.pageNum, false);
}

void BoardLink::onCommRead(std::span<const std::uint8_t> chunk) {
    reader.feed(chunk);
    heard = true;
    lastHeard = Clock::now();
}

std::string BoardLink::reconnect() {
    comm.close();
    const std::string problem = open(device, baudRate);
    lost = !problem.empty();
    waitSpent = waitSpent && lost;
    return problem;
}

std::string BoardLink::reopen() {
    std::string problem = reconnect();
    if (problem.empty() || waitSpent || timing.wait.count() == 0) {
        return problem;
    }
    const std::string seconds = std::to_string(timing.wait.count()) + " s";
    notice("the link is lost (" + problem + "); waiting up to " + seconds +
           " for it to come back (Ctrl+C stops)");
    const auto until = std::min(Clock::now() + timing.wait, timing.deadline);
    while (!problem.empty() && Clock::now() < until) {
        std::this_thread::sleep_for(kReopenPause);
        problem = reconnect();
    }
    waitSpent = !problem.empty();
    return waitSpent ? "still lost after " + seconds + " (" + problem + ")" : problem;
}

Outcome BoardLink::request(std::span<const std::uint8_t> packet, Awaited awaited,
                           std::uint8_t number, bool retry) {
    if (Clock::now() >= timing.deadline) {
        return failed("the run's time limit (--limit) ran out");
    }
    if (lost) {
        if (const std::string problem = reopen(); !problem.empty()) {
            Outcome outcome = failed("the link is still lost (" + problem + "); " + kLinkAdvice);
            outcome.linkLost = true;
            return outcome;
        }
    }
    Outcome outcome = retry ? twice(packet, awaited, number) : attempt(packet, awaited, number);
    lost = outcome.linkLost;
    return outcome;
}

Outcome BoardLink::twice(std::span<const std::uint8_t> packet, Awaited awaited,
                         std::uint8_t number) {
    Outcome first = attempt(packet, awaited, number);
    if (first.ok) {
        return first;
    }
    if (first.linkLost) {
        if (const std::string problem = reopen(); !problem.empty()) {
            first.problem += "; " + problem;
            return first;
        }
    }
    Outcome second = attempt(packet, awaited, number);
    if (!second.ok) {
        second.problem += first.problem == second.problem ? " (tried twice)"
                                                          : " (first try: " + first.problem + ")";
    }
    return second;
}

Outcome BoardLink::lostLink() const {
    const std::string reason = withoutHint(lastFailure.reason);
    Outcome outcome =
        failed(heard ? "the link was lost (" + reason + "); " + kLinkAdvice
                     : "the other side closed the link at once (" + reason +
                           "): the port is busy or refuses us; another program, such as the "
                           "editor, may hold it");
    outcome.linkLost = true;
    return outcome;
}

TaskQueue::Clock::time_point BoardLink::bounded(std::chrono::milliseconds wait) const {
    return std::min(Clock::now() + wait, timing.deadline);
}

bool BoardLink::waitForReply(Clock::time_point until) {
    const auto endsWait = [this] { return reader.reply().has_value() || comm.deviceGone(); };
    // The watcher tells nobody that the device went away: looked at now and then.
    while (!tasks.runUntil(std::min(until, Clock::now() + kGoneLook), endsWait)) {
        if (Clock::now() >= until) {
            return false;
        }
    }
    return reader.reply().has_value();
}

void BoardLink::letLineFallQuiet() {
    const auto quiet = std::min(timing.timeout, kQuiet);
    const auto timedOut = Clock::now();
    const auto giveUp = bounded(kLongestDrain);
    const auto found = [this] { return reader.reply().has_value(); };
    for (;;) {
        const auto quietFrom = heard ? std::max(lastHeard, timedOut) : timedOut;
        const auto until = std::min(quietFrom + quiet, giveUp);
        if (Clock::now() >= until || tasks.runUntil(until, found)) {
            return;
        }
    }
}

Outcome BoardLink::attempt(std::span<const std::uint8_t> packet, Awaited awaited,
                           std::uint8_t number) {
    reader.clear();
    if (comm.write(packet) == 0) {
        return lostLink();
    }
    const auto wait =
        awaited == Awaited::Nothing ? std::min(timing.timeout, kRefusalWindow) : timing.timeout;
    const bool answered = waitForReply(bounded(wait));
    if (!answered && comm.deviceGone()) {
        return lostLink();
    }
    if (!answered && awaited != Awaited::Nothing) {
        letLineFallQuiet();  // a late answer to this request is still taken as its answer
    }
    const std::optional<BoardReply>& reply = reader.reply();
    if (!reply) {
        return awaited == Awaited::Nothing
                   ? Outcome{true, {}, std::nullopt}
                   : failed("no answer within " + std::to_string(wait.count()) + " ms");
    }
    if (reply->kind == BoardReply::Kind::Refused) {
        return failed("the board refused it (\"aaaaa\")");
    }
    if (reply->kind == BoardReply::Kind::BadChecksum) {
        return failed("the board answered with a bad checksum");
    }
    if (awaited == Awaited::Nothing) {
        return {true, {}, std::nullopt};
    }
    const auto expected =
        awaited == Awaited::Done ? BoardReply::Kind::Done : BoardReply::Kind::Page;
    if (reply->kind != expected) {
        return failed(std::string("expected ") + replyName(expected) + ", received " +
                      replyName(reply->kind));
    }
    if (reply->kind == BoardReply::Kind::Page && reply->page.pageNum != number) {
        return failed("asked for page " + std::to_string(number) + ", received page " +
                      std::to_string(reply->page.pageNum));
    }
    return {true, {}, reply->page};
}

}  // namespace kestrova::board
