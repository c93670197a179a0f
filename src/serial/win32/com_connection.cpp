// SPDX-License-Identifier: MIT
#include "src/serial/win32/com_connection.h"

#include <algorithm>
#include <array>

#include "src/platform/win32/system_reason.h"
#include "src/serial/win32/comm_settings.h"

namespace kestrova {

namespace {

constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

// Debugger output only: a transfer of queued bytes did not complete at once.
constexpr const char* kPendingNote = "\n\rIO Pending";

void resetOverlap(OVERLAPPED& overlap, HANDLE event) {
    overlap = OVERLAPPED{};
    overlap.hEvent = event;
    ::ResetEvent(event);
}

}  // namespace

ComConnection::ComConnection(UniqueHandle port) : port_(std::move(port)) {}

OpenedPort ComConnection::open(const std::string& name, const PortSettings& settings) {
    UniqueHandle port(::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED,
                                    nullptr));
    if (!port) {
        return {nullptr, systemReason(::GetLastError())};
    }
    ::SetCommMask(port.get(), EV_RXCHAR);
    ::SetupComm(port.get(), kDeviceQueueSize, kDeviceQueueSize);
    ::PurgeComm(port.get(), kPurgeAll);
    COMMTIMEOUTS timeouts = commTimeoutsFor(settings.baudRate);
    ::SetCommTimeouts(port.get(), &timeouts);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ::GetCommState(port.get(), &dcb);
    dcb = dcbFor(dcb, settings);
    if (!::SetCommState(port.get(), &dcb)) {
        return {nullptr, systemReason(::GetLastError())};
    }
    std::unique_ptr<ComConnection> connection(new ComConnection(std::move(port)));
    if (!connection->readEvent_ || !connection->writeEvent_ || !connection->wakeEvent_) {
        return {nullptr, systemReason(::GetLastError())};
    }
    return {std::move(connection), {}};
}

bool ComConnection::startRead(std::span<std::uint8_t> buffer, DWORD& got) {
    resetOverlap(readOverlap_, readEvent_.get());
    got = 0;
    return ::ReadFile(port_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                      &readOverlap_) ||
           ::GetLastError() == ERROR_IO_PENDING;
}

// Completes the read startRead began, waiting if it is still pending.
bool ComConnection::finishRead(DWORD& got) {
    if (::WaitForSingleObject(readEvent_.get(), 0) != WAIT_OBJECT_0) {
        ::OutputDebugStringA(kPendingNote);
    }
    return ::GetOverlappedResult(port_.get(), &readOverlap_, &got, TRUE);
}

ReadResult ComConnection::waitAndRead(std::span<std::uint8_t> buffer) {
    DWORD got = 0;
    if (!startRead(buffer, got)) {
        return {0, true};
    }
    const std::array<HANDLE, 2> waits{readEvent_.get(), wakeEvent_.get()};
    if (::WaitForMultipleObjects(2, waits.data(), FALSE, INFINITE) != WAIT_OBJECT_0) {
        ::CancelIoEx(port_.get(), &readOverlap_);
    }
    if (::GetOverlappedResult(port_.get(), &readOverlap_, &got, TRUE)) {
        return {got, false};
    }
    return {0, ::GetLastError() != ERROR_OPERATION_ABORTED};
}

ReadResult ComConnection::readQueued(std::span<std::uint8_t> buffer) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(port_.get(), &errors, &status)) {
        return {};
    }
    const auto count = std::min<std::size_t>(buffer.size(), status.cbInQue);
    DWORD got = 0;
    if (count == 0) {
        return {};
    }
    if (!startRead(buffer.first(count), got) || !finishRead(got)) {
        return {0, true};
    }
    return {got, false};
}

WriteResult ComConnection::write(std::span<const std::uint8_t> bytes, Deadline deadline) {
    resetOverlap(writeOverlap_, writeEvent_.get());
    DWORD sent = 0;
    BOOL done = ::WriteFile(port_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &sent,
                            &writeOverlap_);
    if (!done && ::GetLastError() == ERROR_IO_PENDING) {
        ::OutputDebugStringA(kPendingNote);
        // The device's own write time-out should end it; the deadline is the backstop.
        if (::WaitForSingleObject(writeEvent_.get(),
                                  static_cast<DWORD>(timeLeft(deadline).count())) !=
            WAIT_OBJECT_0) {
            ::CancelIoEx(port_.get(), &writeOverlap_);
        }
        done = ::GetOverlappedResult(port_.get(), &writeOverlap_, &sent, TRUE);
    }
    if (done && sent == bytes.size()) {
        return {};
    }
    const DWORD error = done ? ERROR_SEM_TIMEOUT : ::GetLastError();
    // The rest of the packet must never follow later.
    ::PurgeComm(port_.get(), PURGE_TXABORT | PURGE_TXCLEAR);
    DWORD errors = 0;
    ::ClearCommError(port_.get(), &errors, nullptr);
    return {false, error == ERROR_OPERATION_ABORTED || error == ERROR_SEM_TIMEOUT
                       ? std::string("write timed out")
                       : systemReason(error)};
}

void ComConnection::wake() {
    ::SetEvent(wakeEvent_.get());
}

void ComConnection::release() {
    ::EscapeCommFunction(port_.get(), CLRDTR);
    ::EscapeCommFunction(port_.get(), CLRRTS);
    ::PurgeComm(port_.get(), kPurgeAll);
}

}  // namespace kestrova
