// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrova::sim {

// A symbolic link that gives a pseudo-terminal a stable name. It is removed when the
// simulator ends, unless someone has pointed it elsewhere meanwhile.
class DeviceLink {
  public:
    // Refuses to replace anything but a symbolic link.
    static std::optional<DeviceLink> create(const std::filesystem::path& link,
                                            const std::string& target, std::string& error);
    ~DeviceLink();
    DeviceLink(DeviceLink&& other) noexcept;
    DeviceLink& operator=(DeviceLink&&) = delete;
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Points the link at a new device, replacing it in one step.
    bool retarget(const std::string& newTarget, std::string& error);

  private:
    DeviceLink(std::filesystem::path link, std::string target)
        : link(std::move(link)), target(std::move(target)) {}

    std::filesystem::path link;
    std::string target;
};

}  // namespace kestrova::sim
