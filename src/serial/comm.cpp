// SPDX-License-Identifier: MIT
#include "src/serial/comm.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "src/serial/chunk_mailbox.h"
#include "src/serial/port_connection.h"
#include "src/serial/write_time_limit.h"

using kestrova::ChunkMailbox;
using kestrova::CommFailure;
using kestrova::CommOwner;
using kestrova::PortConnection;
using kestrova::PortDevice;

namespace {

constexpr int kWatcherEndedNormally = 1;
constexpr int kWatcherWithoutPort = -1;

// Where posted chunk tasks find the port's receive buffer. Tasks may outlive the CComm (they
// wait in the owner's queue), so they reach it only through this, which the destructor
// clears. Recursive: an owner may destroy the port from inside its own chunk handler.
struct ReceiveTarget {
    std::recursive_mutex mutex;
    CComm* comm = nullptr;
};

}  // namespace

// The port's private side: the owner, where chunk tasks deliver, and the open session.
struct CComm::State {
    // One open port: its device, the watcher and the hand-off of this session.
    struct Session {
        std::unique_ptr<PortConnection> port;
        std::string deviceName;
        std::uint32_t baudRate = 0;
        std::shared_ptr<ChunkMailbox> mailbox = std::make_shared<ChunkMailbox>();
        std::atomic<bool> gone{false};  // set by the watcher when the device went away
        std::array<std::uint8_t, kRxBufferSize> chunk{};  // the watcher's read buffer
        std::thread watcher;
    };

    std::atomic<CommOwner*> owner{nullptr};
    std::shared_ptr<ReceiveTarget> target = std::make_shared<ReceiveTarget>();
    std::unique_ptr<Session> session;

    // Owner's thread: the chunk lies at the start of rxBuffer while the owner consumes it.
    static void handOver(ReceiveTarget& target, CommOwner& owner,
                         std::span<const std::uint8_t> chunk) {
        std::lock_guard lock(target.mutex);
        if (target.comm != nullptr) {
            std::copy(chunk.begin(), chunk.end(), target.comm->rxBuffer.begin());
            owner.onCommRead(std::span(target.comm->rxBuffer).first(chunk.size()));
        }
    }

    // Why a write cannot go out before it is tried, or empty.
    std::string refusal(const CComm& comm) const {
        if (!session || comm.connected.load() != 1) {
            return "the port is not open";
        }
        if (session->gone.load()) {
            return "the device has gone; disconnect and connect again";
        }
        return {};
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
    session->deviceName = device.kind == PortDevice::Kind::Invalid
                              ? kestrova::portChoiceName(settings.portNumber)
                              : kestrova::deviceText(device);
    kestrova::OpenedPort opened =
        device.kind == PortDevice::Kind::Invalid
            ? kestrova::OpenedPort{nullptr, "no such device; check the KESTROVA_COM variables"}
            : kestrova::openPortConnection(device, settings);
    if (!opened.connection) {
        reportFailure(CommFailure::During::Open, session->deviceName, opened.reason);
        return 0;
    }
    session->port = std::move(opened.connection);
    session->baudRate = settings.baudRate;
    connected.store(1);
    state->session = std::move(session);
    try {
        state->session->watcher = std::thread(watchPort, this);
    } catch (const std::system_error& error) {
        // A port nobody listens to would look open but stay deaf: fail the open instead.
        const std::string deviceName = state->session->deviceName;
        close();
        reportFailure(CommFailure::During::Open, deviceName, error.what());
        return 0;
    }
    return 1;
}

bool CComm::deviceGone() const {
    return state->session && state->session->gone.load();
}

int CComm::write(std::span<const std::uint8_t> bytes) {
    std::string reason = state->refusal(*this);
    if (reason.empty()) {
        const auto deadline = std::chrono::steady_clock::now() +
                              kestrova::writeTimeLimit(bytes.size(), state->session->baudRate);
        reason = state->session->port->write(bytes, deadline).reason;
    }
    if (reason.empty()) {
        return 1;
    }
    reportFailure(CommFailure::During::Write, state->session ? state->session->deviceName : "write",
                  reason);
    return 0;
}

void CComm::reportFailure(CommFailure::During during, std::string device,
                          std::string reason) const {
    if (CommOwner* owner = state->owner.load()) {
        owner->onCommFailure({during, std::move(device), std::move(reason)});
    }
}

int CComm::close() {
    connected.store(0);
    if (!state->session) {
        return 1;
    }
    State::Session& session = *state->session;
    // Release a watcher waiting for the owner (possibly this very thread) or for input, and
    // let it finish before the device goes: it must never touch a released device.
    session.mailbox->stop();
    session.port->wake();
    if (session.watcher.joinable()) {
        session.watcher.join();
    }
    session.port->release();
    state->session.reset();
    return 1;
}

int CComm::closeAll() {
    if (connected.load() == 1 || state->session) {
        close();
    }
    return 1;
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
    const auto buffer = std::span(session.chunk).first(kLargestChunk);
    // No time-out: an idle port sleeps until input arrives or close() wakes it.
    while (comm->connected.load() == 1) {
        kestrova::ReadResult got = session.port->waitAndRead(buffer);
        // Everything queued goes out at every wake-up, chunk by chunk.
        while (got.count > 0 && comm->connected.load() == 1) {
            comm->deliverChunk(buffer.first(got.count));
            got = session.port->readQueued(buffer);
        }
        if (got.gone) {
            // Gone for good: a hung-up device reports readable forever, so stop here.
            session.gone.store(true);
            break;
        }
    }
    return kWatcherEndedNormally;
}
