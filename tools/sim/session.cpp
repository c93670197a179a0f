// SPDX-License-Identifier: MIT
#include "tools/sim/session.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "tools/sim/tcp_listener.h"

namespace kestrova::sim {

Session::Session(Board& board, ConsoleLog& log, const SimOptions& options, std::uint32_t seed,
                 const StopSignal& stop)
    : board(board),
      log(log),
      writer(options, seed),
      stop(stop),
      stepPause(options.stepMs),
      dropAfter(options.dropAfter) {}

SessionEnd Session::serve(int connection, const TcpListener* others,
                          const std::function<void()>& idle) {
    fd = connection;
    ending.reset();
    reader.reset();
    for (;;) {
        std::array<pollfd, 3> watch{{{fd, POLLIN, 0},
                                     {stop.fd(), POLLIN, 0},
                                     {others != nullptr ? others->fd() : -1, POLLIN, 0}}};
        const bool midPacket = reader.midPacket();
        const int timeout = midPacket ? static_cast<int>(kIdleGiveUp.count())
                            : idle    ? static_cast<int>(kIdleLook.count())
                                      : -1;
        const int ready = ::poll(watch.data(), watch.size(), timeout);
        if (ready < 0 && errno != EINTR) {
            return SessionEnd::ClientLeft;
        }
        if (watch[1].revents != 0) {
            return SessionEnd::Stopped;
        }
        if (ready == 0 && midPacket) {
            reader.abandonPartial(*this);
        } else if (ready == 0) {
            idle();
        }
        if (watch[0].revents != 0 && !readChunk()) {
            ending = ending.value_or(SessionEnd::ClientLeft);
        }
        if (ending) {
            return *ending;  // a client knocking meanwhile is served next
        }
        // Turn others away only while the current client is quiet: one whose last bytes were
        // just read may be leaving, and a client knocking then is served next.
        if (others != nullptr && watch[2].revents != 0 && watch[0].revents == 0) {
            turnAway(*others);
        }
    }
}

// False once the peer is gone: end of stream, or EIO from a pty whose slave was closed.
bool Session::readChunk() {
    std::array<std::uint8_t, 4096> buffer;
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count < 0) {
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    }
    if (count == 0) {
        return false;
    }
    const std::span<const std::uint8_t> bytes(buffer.data(), static_cast<std::size_t>(count));
    log.rawIn(bytes);
    reader.feed(bytes, *this);
    return true;
}

void Session::onPacket(const ReceivedPacket& packet) {
    if (ending) {
        return;
    }
    log.received(packet);
    const BoardAnswer answer = board.handle(packet, *this);
    if (!answer.reply.empty()) {
        std::vector<std::vector<std::uint8_t>> written;
        const WriteEnd end = writer.send(fd, answer.reply, stop, written);
        for (const auto& piece : written) {
            log.rawOut(piece);
        }
        if (end == WriteEnd::Sent) {
            log.answered(answer);
        } else {
            ending = end == WriteEnd::Stalled   ? SessionEnd::Dropped
                     : end == WriteEnd::Stopped ? SessionEnd::Stopped
                                                : SessionEnd::ClientLeft;
        }
    }
    countPacket();
}

void Session::countPacket() {
    ++packetsSeen;
    if (dropAfter != 0 && packetsSeen == dropAfter) {
        ending = SessionEnd::HungUp;  // even over a failed last reply
        log.note("hanging up after " + std::to_string(packetsSeen) + " packet(s)");
    }
}

void Session::onNoise(std::size_t count) {
    log.noise(count);
}

bool Session::positionsChanged(const StepPositions& positions,
                               const std::optional<PlayedStep>& step) {
    log.positions(positions, step);
    if (step && stepPause.count() > 0) {
        return stop.pause(stepPause);
    }
    return true;
}

void Session::turnAway(const TcpListener& listener) {
    while (auto client = listener.accept()) {
        log.note("turned away " + client->peer + ": one client at a time");
    }
}

}  // namespace kestrova::sim
