// SPDX-License-Identifier: MIT
#include "tools/board/board_link.h"

#include <algorithm>

#include "src/protocol/packets.h"
#include "src/serial/port_settings.h"
#include "tools/board/port_choice.h"

namespace kestrova::board {

namespace {

// The board answers a play only to refuse it, and a refusal comes at once.
constexpr std::chrono::milliseconds kRefusalWindow{500};

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

std::string BoardLink::reconnect() {
    comm.close();
    const std::string problem = open(device, baudRate);
    lost = !problem.empty();
    return problem;
}

Outcome BoardLink::request(std::span<const std::uint8_t> packet, Awaited awaited,
                           std::uint8_t number, bool retry) {
    if (lost) {
        if (const std::string problem = reconnect(); !problem.empty()) {
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
    const Outcome first = attempt(packet, awaited, number);
    if (first.ok || first.linkLost) {
        return first;  // the same packet on a lost link would fail the same way
    }
    Outcome second = attempt(packet, awaited, number);
    if (!second.ok) {
        second.problem += first.problem == second.problem ? " (tried twice)"
                                                          : " (first try: " + first.problem + ")";
    }
    return second;
}

Outcome BoardLink::attempt(std::span<const std::uint8_t> packet, Awaited awaited,
                           std::uint8_t number) {
    reader.clear();
    if (comm.write(packet) == 0) {
        Outcome lostLink = failed("the link was lost (" + withoutHint(lastFailure.reason) + "); " +
                                  kLinkAdvice + "; it is opened again for the next page");
        lostLink.linkLost = true;
        return lostLink;
    }
    const auto wait = awaited == Awaited::Nothing ? std::min(timeout, kRefusalWindow) : timeout;
    tasks.runUntil(TaskQueue::Clock::now() + wait, [this] { return reader.reply().has_value(); });
    const std::optional<BoardReply>& reply = reader.reply();
    if (!reply) {
        return awaited == Awaited::Nothing
                   ? Outcome{true, {}, std::nullopt}
                   : failed("no answer within " + std::to_string(wait.count()) + " ms");
    }
    if (reply->kind == BoardReply::Kind::Refused) {
        return failed("the board refused it (\"aaaaa\")");
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
