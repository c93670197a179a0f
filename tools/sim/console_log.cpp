// SPDX-License-Identifier: MIT
#include "tools/sim/console_log.h"

#include <algorithm>
#include <array>

#include "src/protocol/packets.h"
#include "tools/common/byte_text.h"

namespace kestrova::sim {

namespace {

std::string pageText(const PageRecord& page) {
    return "page " + std::to_string(page.pageNum) + " \"" + pageNameText(page.pageName) + "\"";
}

std::string checksumText(const ReceivedPacket& packet) {
    return packet.checksumGood() ? "checksum good" : "checksum bad";
}

const char* commandName(std::uint8_t letter) {
    switch (letter) {
        case command::kLivePositions:
            return "live positions";
        case command::kReadPage:
            return "read";
        case command::kWritePage:
            return "write";
        case command::kPlayPage:
            return "play";
        default:
            return "unknown";
    }
}

}  // namespace

std::string describePacket(const ReceivedPacket& packet) {
    switch (packet.kind) {
        case PacketKind::WritePage:
        case PacketKind::PlayPage:
            return "<- " + std::string(commandName(packet.letter)) + " " +
                   pageText(packet.record()) + ", " + checksumText(packet);
        case PacketKind::ReadPage:
            return "<- read page " + std::to_string(packet.pageNum());
        case PacketKind::LivePositions:
            return "<- live positions, " + checksumText(packet);
        case PacketKind::UnknownCommand:
            return "<- unknown command 0x" + hexByte(packet.letter);
        case PacketKind::BrokenFrame:
            return "<- broken " + std::string(commandName(packet.letter)) +
                   " packet: no trailer where it should end";
    }
    return {};
}

std::string describeAnswer(const BoardAnswer& answer) {
    switch (answer.verdict) {
        case Verdict::Stored:
            return "-> done (stored)";
        case Verdict::PageSent:
            return "-> " +
                   pageText(fromBytes(
                       std::span(answer.reply).subspan<kPayloadOffset, kPageRecordSize>())) +
                   " (" + std::to_string(answer.reply.size()) + " bytes)";
        case Verdict::Played:
        case Verdict::Moved:
            return {};
        default:
            return "-> failure line (" + std::string(verdictText(answer.verdict)) + ")";
    }
}

std::string describePositions(const StepPositions& servos, const std::optional<PlayedStep>& step) {
    std::string text = "positions";
    for (const std::uint8_t position : servos) {
        text += " " + std::to_string(position);
    }
    if (!step) {
        return text + "  (live)";
    }
    return text + "  (" + pageText(step->page) + " step " + std::to_string(step->step) + " round " +
           std::to_string(step->round) + ")";
}

std::string hexText(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += (text.empty() ? "" : " ") + hexByte(byte);
    }
    return text;
}

void ConsoleLog::listening(const std::string& where) {
    out << where << std::endl;
}

void ConsoleLog::note(const std::string& text) {
    line(text);
}

void ConsoleLog::received(const ReceivedPacket& packet) {
    line(describePacket(packet));
}

void ConsoleLog::answered(const BoardAnswer& answer) {
    const std::string text = describeAnswer(answer);
    if (!text.empty()) {
        line(text);
    }
}

void ConsoleLog::positions(const StepPositions& servos, const std::optional<PlayedStep>& step) {
    line(describePositions(servos, step));
}

void ConsoleLog::noise(std::size_t count) {
    line("   skipped " + std::to_string(count) + " byte(s) of noise");
}

void ConsoleLog::rawIn(std::span<const std::uint8_t> bytes) {
    if (hex) {
        line("<< " + hexText(bytes));
    }
}

void ConsoleLog::rawOut(std::span<const std::uint8_t> bytes) {
    if (hex) {
        line(">> " + hexText(bytes));
    }
}

void ConsoleLog::line(const std::string& text) {
    if (!quiet) {
        out << text << std::endl;
    }
}

}  // namespace kestrova::sim
