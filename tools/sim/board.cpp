// SPDX-License-Identifier: MIT
#include "tools/sim/board.h"

#include <algorithm>

#include "src/protocol/packets.h"

namespace kestrova::sim {

namespace {

BoardAnswer failure(Verdict verdict) {
    return {verdict, {kFailureLine.begin(), kFailureLine.end()}};
}

template <typename Bytes>
BoardAnswer answer(Verdict verdict, const Bytes& reply) {
    return {verdict, {reply.begin(), reply.end()}};
}

// A freshly started board holds the default page under every number, each knowing its number.
std::array<PageRecord, kPageCount> defaultPages() {
    std::array<PageRecord, kPageCount> pages;
    for (std::size_t number = 0; number < pages.size(); ++number) {
        pages[number] = defaultPageRecord();
        pages[number].pageNum = static_cast<std::uint8_t>(number);
    }
    return pages;
}

StepPositions stepOf(const PageRecord& page, std::size_t step) {
    StepPositions row;
    std::copy_n(page.position.begin() + static_cast<std::ptrdiff_t>(step * kMotorCount),
                kMotorCount, row.begin());
    return row;
}

}  // namespace

bool isBoardPage(std::uint8_t number) {
    return number < kPageCount;
}

Board::Board() : pages(defaultPages()), servos(stepOf(defaultPageRecord(), 0)) {}

BoardAnswer Board::handle(const ReceivedPacket& packet, BoardListener& listener) {
    switch (packet.kind) {
        case PacketKind::UnknownCommand:
            return failure(Verdict::UnknownCommand);
        case PacketKind::BrokenFrame:
            return failure(Verdict::BrokenFrame);
        default:
            break;
    }
    if (!packet.checksumGood()) {
        return failure(Verdict::BadChecksum);
    }
    if (packet.kind != PacketKind::LivePositions && !isBoardPage(packet.pageNum())) {
        return failure(Verdict::NoSuchPage);
    }
    switch (packet.kind) {
        case PacketKind::WritePage:
            return write(packet);
        case PacketKind::ReadPage:
            return read(packet);
        case PacketKind::PlayPage:
            return play(packet, listener);
        default:
            return live(packet, listener);
    }
}

BoardAnswer Board::write(const ReceivedPacket& packet) {
    pages[packet.pageNum()] = packet.record();
    return answer(Verdict::Stored, buildDoneReply());
}

BoardAnswer Board::read(const ReceivedPacket& packet) const {
    return answer(Verdict::PageSent, buildPagePacket(pages[packet.pageNum()], command::kPage));
}

// Plays the page the packet carries, then the stored pages that follow it.
BoardAnswer Board::play(const ReceivedPacket& packet, BoardListener& listener) {
    PageRecord page = packet.record();
    for (std::size_t played = 0; played < kMostPagesPerPlay; ++played) {
        if (!playPage(page, listener) || !isBoardPage(page.nextPage) || page.nextPage == 0) {
            break;
        }
        page = pages[page.nextPage];
    }
    return {Verdict::Played, {}};
}

// Steps 0 to enableStep (7 at most), repeat times; a repeat of 0 still plays once.
bool Board::playPage(const PageRecord& page, BoardListener& listener) {
    const std::size_t lastStep = std::min<std::size_t>(page.enableStep, kStepCount - 1);
    const std::size_t rounds = std::max<std::size_t>(page.repeat, 1);
    for (std::size_t round = 1; round <= rounds; ++round) {
        for (std::size_t step = 0; step <= lastStep; ++step) {
            servos = stepOf(page, step);
            if (!listener.positionsChanged(servos, PlayedStep{page, step, round})) {
                return false;
            }
        }
    }
    return true;
}

BoardAnswer Board::live(const ReceivedPacket& packet, BoardListener& listener) {
    servos = packet.positions();
    listener.positionsChanged(servos, std::nullopt);
    return {Verdict::Moved, {}};
}

const char* verdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Stored:
            return "stored";
        case Verdict::PageSent:
            return "page sent";
        case Verdict::Played:
            return "played";
        case Verdict::Moved:
            return "servos moved";
        case Verdict::BadChecksum:
            return "bad checksum";
        case Verdict::NoSuchPage:
            return "no such page";
        case Verdict::UnknownCommand:
            return "unknown command";
        case Verdict::BrokenFrame:
            return "broken frame";
    }
    return "";
}

}  // namespace kestrova::sim
