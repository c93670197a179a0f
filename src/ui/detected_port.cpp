// SPDX-License-Identifier: MIT
#include "src/ui/detected_port.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace kestrova {

namespace {

// The same node under two names (a /dev/serial/by-id link and its target) is one device.
bool sameDevice(const std::string& left, const std::string& right) {
    std::error_code error;
    return left == right || std::filesystem::equivalent(left, right, error);
}

}  // namespace

QString DetectedPort::label() const {
    return description.isEmpty() ? name : name + " (" + description + ")";
}

PortDevice DetectedPort::portDevice() const {
    return {PortDevice::Kind::SerialDevice, QFile::encodeName(path).toStdString(), {}, 0};
}

bool DetectedPort::isNamedByChoice(int choiceCount) const {
    const std::string own = portDevice().path;
    for (int number = 1; number <= choiceCount; ++number) {
        const PortDevice choice = kestrova::portDevice(number);
        if (choice.kind == PortDevice::Kind::SerialDevice && sameDevice(choice.path, own)) {
            return true;
        }
    }
    return false;
}

}  // namespace kestrova
