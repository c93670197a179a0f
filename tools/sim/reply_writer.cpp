// SPDX-License-Identifier: MIT
#include "tools/sim/reply_writer.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "src/protocol/packets.h"
#include "tools/sim/stop_signal.h"

namespace kestrova::sim {

namespace {

constexpr int kWriteStallMs = 2000;

}  // namespace

std::vector<std::vector<std::uint8_t>> ReplyWriter::plan(std::span<const std::uint8_t> reply) {
    const bool noisy = noiseReplies == 0 || planned < noiseReplies;
    ++planned;
    std::vector<std::uint8_t> stream(noisy ? noise : 0);
    std::uniform_int_distribution<int> byte(0, 255);
    std::generate(stream.begin(), stream.end(),
                  [&] { return static_cast<std::uint8_t>(byte(random)); });
    stream.insert(stream.end(), reply.begin(), reply.end());
    const auto replyAt = stream.end() - std::ssize(reply);
    if (badChecksum && reply.size() == kPagePacketSize && reply[kLetterOffset] == command::kPage) {
        ++replyAt[kPayloadOffset + kPageRecordSize];  // the checksum's lowest byte
    }

    const std::size_t size = chunk == 0 ? stream.size() : chunk;
    std::vector<std::vector<std::uint8_t>> writes;
    for (std::size_t at = 0; at < stream.size(); at += size) {
        const auto from = stream.begin() + static_cast<std::ptrdiff_t>(at);
        writes.emplace_back(from,
                            from + static_cast<std::ptrdiff_t>(std::min(size, stream.size() - at)));
    }
    return writes;
}

WriteEnd ReplyWriter::send(int fd, std::span<const std::uint8_t> reply, const StopSignal& stop,
                           std::vector<std::vector<std::uint8_t>>& written) {
    written = plan(reply);
    for (std::size_t i = 0; i < written.size(); ++i) {
        const WriteEnd end =
            i > 0 && !stop.pause(pause) ? WriteEnd::Stopped : writeAll(fd, written[i], stop);
        if (end != WriteEnd::Sent) {
            written.resize(i);
            return end;
        }
    }
    return WriteEnd::Sent;
}

WriteEnd writeAll(int fd, std::span<const std::uint8_t> bytes, const StopSignal& stop) {
    while (!bytes.empty()) {
        const ssize_t sent = ::write(fd, bytes.data(), bytes.size());
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            return WriteEnd::PeerGone;
        }
        std::array<pollfd, 2> watch{{{fd, POLLOUT, 0}, {stop.fd(), POLLIN, 0}}};
        const int ready = ::poll(watch.data(), watch.size(), kWriteStallMs);
        if (ready == 0) {
            return WriteEnd::Stalled;
        }
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || (watch[0].revents & (POLLERR | POLLHUP)) != 0) {
            return WriteEnd::PeerGone;
        }
        if (watch[1].revents != 0) {
            return WriteEnd::Stopped;
        }
    }
    return WriteEnd::Sent;
}

}  // namespace kestrova::sim
