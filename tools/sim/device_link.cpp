// SPDX-License-Identifier: MIT
#include "tools/sim/device_link.h"

#include <unistd.h>

namespace kestrova::sim {

namespace fs = std::filesystem;

namespace {

// Makes a link beside the final name and renames it over, so the name is never missing.
bool placeLink(const fs::path& link, const std::string& target, std::string& error) {
    const fs::path temporary = link.string() + ".new-" + std::to_string(::getpid());
    std::error_code ec;
    fs::remove(temporary, ec);
    fs::create_symlink(target, temporary, ec);
    if (!ec) {
        fs::rename(temporary, link, ec);
    }
    if (ec) {
        error = "cannot make the link " + link.string() + ": " + ec.message();
        std::error_code ignored;  // the reason above is the one to report
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace

std::optional<DeviceLink> DeviceLink::create(const fs::path& link, const std::string& target,
                                             std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = link.string() + " exists and is not a symbolic link; not replacing it";
        return std::nullopt;
    }
    if (!placeLink(link, target, error)) {
        return std::nullopt;
    }
    return DeviceLink(link, target);
}

DeviceLink::DeviceLink(DeviceLink&& other) noexcept
    : link(std::move(other.link)), target(std::move(other.target)) {
    other.link.clear();
}

DeviceLink::~DeviceLink() {
    std::error_code ec;
    if (!link.empty() && fs::read_symlink(link, ec) == target && !ec) {
        fs::remove(link, ec);
    }
}

bool DeviceLink::retarget(const std::string& newTarget, std::string& error) {
    if (!placeLink(link, newTarget, error)) {
        return false;
    }
    target = newTarget;
    return true;
}

}  // namespace kestrova::sim
