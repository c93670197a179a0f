// SPDX-License-Identifier: MIT
#include "src/serial/port_devices.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <utility>

namespace kestrova {

namespace {

constexpr int kNetworkChoice = static_cast<int>(kPortChoiceNames.size());
constexpr std::string_view kTcpPrefix = "tcp:";

PortDevice invalid() {
    return {};
}

PortDevice parseTcp(std::string_view rest) {
    const auto colon = rest.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return invalid();
    }
    const std::string_view portText = rest.substr(colon + 1);
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(portText.data(), portText.data() + portText.size(), value);
    if (error != std::errc{} || end != portText.data() + portText.size() || value == 0 ||
        value > 65535) {
        return invalid();
    }
    std::string_view host = rest.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);  // an IPv6 literal
    }
    return {PortDevice::Kind::Tcp, {}, std::string(host), static_cast<std::uint16_t>(value)};
}

}  // namespace

std::string portChoiceName(int portNumber) {
    const auto index = static_cast<std::size_t>(portNumber - 1);
    return index < kPortChoiceNames.size() ? std::string(kPortChoiceNames[index])
                                           : "port " + std::to_string(portNumber);
}

PortDevice parsePortDevice(const std::string& text) {
    const std::string_view view = text;
    if (view.starts_with(kTcpPrefix)) {
        return parseTcp(view.substr(kTcpPrefix.size()));
    }
    if (std::string name = serialDeviceName(text); !name.empty()) {
        return {PortDevice::Kind::SerialDevice, std::move(name), {}, 0};
    }
    return invalid();
}

PortDevice portDevice(int portNumber) {
    if (portNumber < 1) {
        return invalid();
    }
    const int choice = std::min(portNumber, kNetworkChoice);
    const std::string variable = "KESTROVA_COM" + std::to_string(choice);
    if (const char* value = std::getenv(variable.c_str()); value != nullptr && *value != '\0') {
        return parsePortDevice(value);
    }
    return builtInPortDevice(portNumber);
}

std::string deviceText(const PortDevice& device) {
    switch (device.kind) {
        case PortDevice::Kind::SerialDevice:
            return device.path;
        case PortDevice::Kind::Tcp:
            return std::string(kTcpPrefix) + device.host + ':' + std::to_string(device.port);
        case PortDevice::Kind::Invalid:
            break;
    }
    return "invalid";
}

}  // namespace kestrova
