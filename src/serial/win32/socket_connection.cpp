// SPDX-License-Identifier: MIT
#include "src/serial/win32/socket_connection.h"

#include <mstcpip.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <array>
#include <memory>
#include <thread>
#include <utility>

#include "src/platform/win32/system_reason.h"

namespace kestrova {

namespace {

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

struct AddrInfoFree {
    void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};

timeval timevalFor(std::chrono::milliseconds wait) {
    const long ms = static_cast<long>(std::max<std::int64_t>(wait.count(), 0));
    return {ms / 1000, (ms % 1000) * 1000};
}

// Waits until the socket can take bytes (or the connection came up).
bool waitWritable(SOCKET socket, std::chrono::milliseconds wait) {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket, &writable);
    timeval limit = timevalFor(wait);
    return ::select(0, nullptr, &writable, nullptr, &limit) == 1;
}

}  // namespace

SocketConnection::WinsockUse::WinsockUse() {
    WSADATA data{};
    started = ::WSAStartup(kWinsockVersion, &data) == 0;
}

SocketConnection::WinsockUse::~WinsockUse() {
    if (started) {
        ::WSACleanup();
    }
}

SocketConnection::~SocketConnection() {
    if (socket_ != INVALID_SOCKET) {
        ::closesocket(socket_);
    }
}

OpenedPort SocketConnection::connect(const std::string& host, std::uint16_t port) {
    std::unique_ptr<SocketConnection> connection(new SocketConnection());
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (!connection->winsock_.started || !connection->networkEvent_ || !connection->wakeEvent_ ||
        ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return {nullptr, systemReason(static_cast<DWORD>(::WSAGetLastError()))};
    }
    const std::unique_ptr<addrinfo, AddrInfoFree> addresses(found);
    SOCKET& socket = connection->socket_;
    socket = ::socket(found->ai_family, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    const int sendBuffer = kSendBufferBytes;
    const int on = 1;
    if (socket == INVALID_SOCKET || ::ioctlsocket(socket, FIONBIO, &nonBlocking) != 0 ||
        ::setsockopt(socket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&sendBuffer),
                     sizeof sendBuffer) != 0) {
        return {nullptr, systemReason(static_cast<DWORD>(::WSAGetLastError()))};
    }
    if (::connect(socket, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 &&
        (::WSAGetLastError() != WSAEWOULDBLOCK || !waitWritable(socket, kConnectTimeout))) {
        int error = WSAETIMEDOUT;
        int size = sizeof error;
        ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
        return {nullptr, systemReason(static_cast<DWORD>(error != 0 ? error : WSAETIMEDOUT))};
    }
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    ::WSAEventSelect(socket, connection->networkEvent_.get(), FD_READ | FD_CLOSE);
    return {std::move(connection), {}};
}

ReadResult SocketConnection::waitAndRead(std::span<std::uint8_t> buffer) {
    for (;;) {
        const ReadResult got = readQueued(buffer);
        if (got.count > 0 || got.gone) {
            return got;
        }
        const std::array<HANDLE, 2> waits{networkEvent_.get(), wakeEvent_.get()};
        if (::WaitForMultipleObjects(2, waits.data(), FALSE, INFINITE) != WAIT_OBJECT_0) {
            return {};  // woken
        }
        WSANETWORKEVENTS events{};
        ::WSAEnumNetworkEvents(socket_, networkEvent_.get(), &events);
    }
}

ReadResult SocketConnection::readQueued(std::span<std::uint8_t> buffer) {
    if (shutdown_.isSet()) {
        // Closing with a zero linger resets the stream and drops what it still holds, so the
        // peer never gets the rest of the packet. The watcher does it: nobody else reads now.
        if (socket_ != INVALID_SOCKET) {
            ::closesocket(std::exchange(socket_, INVALID_SOCKET));
        }
        return {0, true};
    }
    const int got =
        ::recv(socket_, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
    if (got > 0) {
        return {static_cast<std::size_t>(got), false};
    }
    return {0, got == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK};
}

int SocketConnection::sendAll(std::span<const std::uint8_t> bytes, Deadline deadline) {
    while (!bytes.empty()) {
        const int sent = ::send(socket_, reinterpret_cast<const char*>(bytes.data()),
                                static_cast<int>(bytes.size()), 0);
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(sent));
            handedOver_ += static_cast<std::uint64_t>(sent);
        } else if (::WSAGetLastError() != WSAEWOULDBLOCK) {
            return ::WSAGetLastError();
        } else if (!waitWritable(socket_, timeLeft(deadline))) {
            return WSAETIMEDOUT;
        }
    }
    return 0;
}

bool SocketConnection::acknowledged() const {
    DWORD version = 0;
    TCP_INFO_v0 info{};
    DWORD size = 0;
    if (::WSAIoctl(socket_, SIO_TCP_INFO, &version, sizeof version, &info, sizeof info, &size,
                   nullptr, nullptr) != 0) {
        return true;  // before Windows 10 1703 (and under Wine) the system cannot tell
    }
    return info.BytesInFlight == 0 && info.BytesOut >= handedOver_;
}

WriteResult SocketConnection::write(std::span<const std::uint8_t> bytes, Deadline deadline) {
    if (shutdown_.isSet()) {
        return StreamShutdown::refusal();
    }
    int error = sendAll(bytes, deadline);
    while (error == 0 && !acknowledged()) {
        error = timeLeft(deadline).count() == 0 ? WSAETIMEDOUT : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds{1});
    }
    if (error == 0) {
        return {};
    }
    // The watcher resets the stream (see readQueued); this thread no longer touches it.
    const linger abort{1, 0};
    ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                 sizeof abort);
    shutdown_.set();
    ::WSASetEvent(networkEvent_.get());
    return {false, error == WSAETIMEDOUT ? std::string("write timed out")
                                         : systemReason(static_cast<DWORD>(error))};
}

void SocketConnection::wake() {
    ::SetEvent(wakeEvent_.get());
}

}  // namespace kestrova
