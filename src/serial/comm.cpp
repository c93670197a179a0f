// SPDX-License-Identifier: MIT
#include "serial/comm.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <system_error>
#include <thread>

#include "serial/app_message_box.h"
#include "serial/chunk_mailbox.h"
#include "serial/device_io.h"
#include "serial/port_devices.h"
#include "serial/serial_device.h"
#include "serial/tcp_stream.h"
#include "serial/wake_pipe.h"
#include "serial/write_time_limit.h"

using kestrova::ChunkMailbox;
using kestrova::CommOwner;
using kestrova::DeviceKind;
using kestrova::PortDevice;
using kestrova::UniqueFd;

namespace {

constexpr int kWatcherEndedNormally = 1;
constexpr int kWatcherSetupFailed = 0;
constexpr int kWatcherWithoutPort = -1;

// Where posted chunk tasks find the port's receive buffer. Tasks may outlive the CComm (they
// wait in the owner's queue), so they reach it only through this, which the destructor
// clears. Recursive: an owner may destroy the port from inside its own chunk handler.
struct ReceiveTarget {
    std::recursive_mutex mutex;
    CComm* comm = nullptr;
};

UniqueFd openDevice(const PortDevice& device, const kestrova::PortSettings& settings) {
    switch (device.kind) {
        case PortDevice::Kind::SerialDevice:
            return kestrova::openSerialDevice(device.path, settings);
        case PortDevice::Kind::Tcp:
            return kestrova::connectTcp(device.host, device.port);
        case PortDevice::Kind::Invalid:
            break;
    }
    return {};
}

}  // namespace

// The port's private side: the owner, where chunk tasks deliver, and the open session.
struct CComm::State {
    // One open port: its device, the watcher and the hand-off of this session.
    struct Session {
        UniqueFd device;
        DeviceKind kind = DeviceKind::SerialDevice;
        std::uint32_t baudRate = 0;
        kestrova::WakePipe wake;
        std::shared_ptr<ChunkMailbox> mailbox = std::make_shared<ChunkMailbox>();
        std::atomic<bool> gone{false};  // set by the watcher when the device went away
        std::array<std::uint8_t, kRxBufferSize> chunk{};  // the watcher's read buffer
        std::thread watcher;
    };

    std::atomic<CommOwner*> owner{nullptr};
    std::shared_ptr<ReceiveTarget> target = std::make_shared<ReceiveTarget>();
    std::unique_ptr<Session> session;

    // Watcher: reads everything queued, chunk by chunk. False when the device went away.
    static bool drain(CComm& comm, Session& session) {
        const auto buffer = std::span(session.chunk).first(kLargestChunk);
        while (comm.connected.load()) {
            const kestrova::ReadResult got = kestrova::readQueued(session.device.get(), buffer);
            if (got.gone) {
                return false;
            }
            if (got.count == 0) {
                return true;
            }
            comm.deliverChunk(buffer.first(got.count));
        }
        return true;
    }

    // Owner's thread: the chunk lies at the start of rxBuffer while the owner consumes it.
    static void handOver(ReceiveTarget& target, CommOwner& owner,
                         std::span<const std::uint8_t> chunk) {
        std::lock_guard lock(target.mutex);
        if (target.comm != nullptr) {
            std::copy(chunk.begin(), chunk.end(), target.comm->rxBuffer.begin());
            owner.onCommRead(std::span(target.comm->rxBuffer).first(chunk.size()));
        }
    }
};

CComm::CComm() : state(std::make_unique<State>()) {
    state->target->comm = this;
}

CComm::~CComm() {
    closeAll();
    std::lock_guard lock(state->target->mutex);
    state->target->comm = nullptr;
}

void CComm::setOwnerWindow(CommOwner* owner) {
    state->owner.store(owner);
}

int CComm::open(const kestrova::PortSettings& settings) {
    return open(settings, kestrova::portDevice(settings.portNumber));
}

int CComm::open(const kestrova::PortSettings& settings, const PortDevice& device) {
    if (state->session) {
        return 0;  // one watcher per object: close first
    }
    auto session = std::make_unique<State::Session>();
    session->device = openDevice(device, settings);
    session->kind =
        device.kind == PortDevice::Kind::Tcp ? DeviceKind::Socket : DeviceKind::SerialDevice;
    session->baudRate = settings.baudRate;
    if (!session->device || !session->wake.valid()) {
        return 0;
    }
    connected.store(1);
    state->session = std::move(session);
    try {
        state->session->watcher = std::thread(watchPort, this);
    } catch (const std::system_error&) {
        // A port nobody listens to would look open but stay deaf: fail the open instead.
        close();
        return 0;
    }
    return 1;
}

int CComm::write(std::span<const std::uint8_t> bytes) {
    const State::Session* session = state->session.get();
    const bool sent =
        session != nullptr && connected.load() == 1 && !session->gone.load() &&
        kestrova::writeWhole(session->device.get(), session->kind, bytes, session->baudRate,
                             std::chrono::steady_clock::now() +
                                 kestrova::writeTimeLimit(bytes.size(), session->baudRate));
    if (!sent) {
        kestrova::showAppMessage("ERROR");
    }
    return 1;
}

int CComm::close() {
    connected.store(0);
    if (!state->session) {
        return 1;
    }
    State::Session& session = *state->session;
    // Release a watcher waiting for the owner (possibly this very thread) or for input, and
    // let it finish before the device goes: it must never touch a released descriptor.
    session.mailbox->stop();
    session.wake.signal();
    if (session.watcher.joinable()) {
        session.watcher.join();
    }
    if (session.kind == DeviceKind::SerialDevice) {
        kestrova::releaseSerialDevice(session.device.get());
    }
    state->session.reset();
    return 1;
}

int CComm::closeAll() {
    if (connected.load() == 1 || state->session) {
        close();
    }
    return 1;
}

std::size_t CComm::read(std::span<std::uint8_t> buffer) {
    if (!state->session) {
        return 0;
    }
    return kestrova::readQueued(state->session->device.get(), buffer).count;
}

void CComm::deliverChunk(std::span<const std::uint8_t> bytes) {
    CommOwner* owner = state->owner.load();
    State::Session* session = state->session.get();
    if (owner == nullptr || session == nullptr) {
        return;  // nobody to receive it
    }
    const std::shared_ptr<ChunkMailbox> mailbox = session->mailbox;
    const std::shared_ptr<ReceiveTarget> target = state->target;
    while (!bytes.empty()) {
        const auto chunk = bytes.first(std::min(bytes.size(), kLargestChunk));
        bytes = bytes.subspan(chunk.size());
        mailbox->put(chunk);
        owner->postToOwner([mailbox, target, owner] {
            mailbox->consume([&](std::span<const std::uint8_t> stored) {
                State::handOver(*target, *owner, stored);
            });
        });
        if (!mailbox->waitConsumed()) {
            return;  // closing: the posted task still delivers this chunk later
        }
    }
}

int CComm::watchPort(CComm* comm) {
    if (comm == nullptr || !comm->state->session) {
        return kWatcherWithoutPort;
    }
    State::Session& session = *comm->state->session;
    std::array<pollfd, 2> waits{
        {{session.device.get(), POLLIN, 0}, {session.wake.readFd(), POLLIN, 0}}};
    // No time-out: an idle port sleeps until input arrives or close() signals the pipe.
    while (comm->connected.load() == 1) {
        if (::poll(waits.data(), waits.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return kWatcherSetupFailed;
        }
        if (waits[1].revents != 0) {
            break;
        }
        const bool hungUp = (waits[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if (!State::drain(*comm, session) || hungUp) {
            // Gone for good: a hung-up device reports readable forever, so stop here.
            session.gone.store(true);
            break;
        }
    }
    return kWatcherEndedNormally;
}
