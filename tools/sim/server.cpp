// SPDX-License-Identifier: MIT
#include "tools/sim/server.h"

#include <poll.h>

#include <array>
#include <iostream>
#include <optional>

#include "tools/sim/device_link.h"
#include "tools/sim/pty_device.h"
#include "tools/sim/tcp_listener.h"

namespace kestrova::sim {

namespace {

// A client hung up on gets up to this long to read the last reply: closing a pty's master
// throws away what its slave has not read. Written bytes reach the slave's queue a moment
// after the write, so an empty queue counts only once bytes were seen in it or after a while.
constexpr std::chrono::milliseconds kLastReplyGrace{1000};
constexpr std::chrono::milliseconds kLastReplyArrival{100};
constexpr std::chrono::milliseconds kUnreadLookInterval{5};

int fail(const std::string& error) {
    std::cerr << "kestrova-sim: " << error << std::endl;
    return 1;
}

// False on a stop.
bool waitForClient(const TcpListener& listener, const StopSignal& stop) {
    std::array<pollfd, 2> watch{{{listener.fd(), POLLIN, 0}, {stop.fd(), POLLIN, 0}}};
    while (::poll(watch.data(), watch.size(), -1) <= 0 || watch[1].revents == 0) {
        if (watch[0].revents != 0) {
            return true;
        }
    }
    return false;
}

void waitUntilRead(const PtyDevice& pty, const StopSignal& stop) {
    bool seenUnread = false;
    for (auto waited = std::chrono::milliseconds(0); waited < kLastReplyGrace;
         waited += kUnreadLookInterval) {
        const bool unread = pty.unreadByClient() > 0;
        seenUnread = seenUnread || unread;
        if (!unread && (seenUnread || waited >= kLastReplyArrival)) {
            return;
        }
        if (!stop.pause(kUnreadLookInterval)) {
            return;
        }
    }
}

// --away after a hang-up: nothing is there for that long. False on a stop.
bool stayAway(const SimOptions& options, ConsoleLog& log, const StopSignal& stop) {
    log.note("away for " + std::to_string(options.awayS) + " s");
    return stop.pause(std::chrono::seconds(options.awayS));
}

}  // namespace

int serveTcp(const SimOptions& options, Session& session, ConsoleLog& log, const StopSignal& stop) {
    std::string error;
    auto listener = TcpListener::open(options.port, error);
    if (!listener) {
        return fail(error);
    }
    log.listening("listening on 127.0.0.1:" + std::to_string(listener->port()));
    while (waitForClient(*listener, stop)) {
        auto client = listener->accept();
        if (!client) {
            continue;
        }
        log.note("client " + client->peer + " connected");
        const SessionEnd end = session.serve(client->socket.get(), &*listener);
        if (end == SessionEnd::Stopped) {
            break;
        }
        log.note(end == SessionEnd::HungUp    ? "hung up on " + client->peer
                 : end == SessionEnd::Dropped ? "dropped " + client->peer + ": it reads nothing"
                                              : "client " + client->peer + " left");
        if (end == SessionEnd::HungUp && options.awayS != 0) {
            // Closed before the client, so that one coming back at once is refused too.
            const std::uint16_t port = listener->port();
            listener.reset();
            client.reset();
            if (!stayAway(options, log, stop)) {
                break;
            }
            listener = TcpListener::open(port, error);
            if (!listener) {
                return fail(error);
            }
            log.listening("back on 127.0.0.1:" + std::to_string(port));
        }
    }
    log.note("stopped");
    return 0;
}

int servePty(const SimOptions& options, Session& session, ConsoleLog& log, const StopSignal& stop) {
    std::string error;
    auto pty = PtyDevice::open(error);
    if (!pty) {
        return fail(error);
    }
    std::optional<DeviceLink> link =
        options.link.empty() ? std::nullopt : DeviceLink::create(options.link, pty->path(), error);
    if (!options.link.empty() && !link) {
        return fail(error);
    }
    // Announced once the link is in place, so that whoever reads the line can use either.
    log.listening("pty " + pty->path());
    const auto releaseLeftLine = [&] {
        if (pty->releaseLeftExclusive()) {
            log.note("client left; the line is free for the next one");
        }
    };
    for (;;) {
        const SessionEnd end = session.serve(pty->fd(), nullptr, releaseLeftLine);
        if (end == SessionEnd::Stopped) {
            break;
        }
        if (end == SessionEnd::Dropped) {
            log.note("the client reads nothing; dropped what it left unread");
            pty->discardUnread();
        }
        if (end != SessionEnd::HungUp) {
            continue;  // the slave is always open: nothing else ends a client here
        }
        // Hanging up a pty means closing its master; the next client opens a new one.
        waitUntilRead(*pty, stop);
        pty.reset();
        if (options.awayS != 0 && !stayAway(options, log, stop)) {
            break;
        }
        pty = PtyDevice::open(error);
        if (!pty || (link && !link->retarget(pty->path(), error))) {
            return fail(error);
        }
        log.listening("pty " + pty->path());
    }
    log.note("stopped");
    return 0;
}

}  // namespace kestrova::sim
