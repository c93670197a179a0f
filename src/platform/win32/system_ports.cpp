// SPDX-License-Identifier: MIT
#include "src/platform/system_ports.h"

#include <windows.h>
// windows.h first: the device installer's header needs its types.
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <map>
#include <string>

namespace kestrova {

namespace {

std::string toUtf8(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                          nullptr, nullptr);
    return text;
}

// A string value of an open registry key; empty when missing or not a string.
std::wstring stringValue(HKEY key, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD type = 0;
    DWORD size = sizeof value - sizeof(wchar_t);  // room for the terminator the value may lack
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return value;
}

class RegistryKey {
  public:
    explicit RegistryKey(HKEY key) : key_(key == INVALID_HANDLE_VALUE ? nullptr : key) {}
    ~RegistryKey() {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY get() const { return key_; }

  private:
    HKEY key_;
};

// Every port of the serial driver map: "COM1" and the like, without friendly names.
void addDriverPorts(std::map<std::wstring, std::wstring>& ports) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &opened) != ERROR_SUCCESS) {
        return;
    }
    const RegistryKey key(opened);
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameSize = 256;
        if (::RegEnumValueW(key.get(), index, valueName, &nameSize, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        const std::wstring port = stringValue(key.get(), valueName);
        if (!port.empty()) {
            ports.try_emplace(port);
        }
    }
}

// "USB Serial Port" of "USB Serial Port (COM3)": the list shows the port's name beside it.
std::wstring withoutPortName(std::wstring friendly, const std::wstring& port) {
    const std::wstring suffix = L" (" + port + L")";
    if (friendly.ends_with(suffix)) {
        friendly.resize(friendly.size() - suffix.size());
    }
    return friendly;
}

// The devices of the Ports class that are present, with their friendly names
// ("USB Serial Port (COM3)").
void addPortDevices(std::map<std::wstring, std::wstring>& ports) {
    HDEVINFO devices =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const RegistryKey key(
            ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ));
        const std::wstring port = key.get() ? stringValue(key.get(), L"PortName") : L"";
        if (!port.starts_with(L"COM")) {
            continue;  // a printer port or a device without a port yet
        }
        wchar_t friendly[256] = {};
        const bool named = ::SetupDiGetDeviceRegistryPropertyW(
            devices, &device, SPDRP_FRIENDLYNAME, nullptr, reinterpret_cast<BYTE*>(friendly),
            sizeof friendly - sizeof(wchar_t), nullptr);
        ports[port] = named ? withoutPortName(friendly, port) : L"";
    }
    ::SetupDiDestroyDeviceInfoList(devices);
}

// COM2 before COM10.
bool byNumber(const SystemPort& left, const SystemPort& right) {
    return std::pair(left.name.size(), left.name) < std::pair(right.name.size(), right.name);
}

}  // namespace

std::vector<SystemPort> systemSerialPorts() {
    std::map<std::wstring, std::wstring> found;  // name to friendly name
    addDriverPorts(found);
    addPortDevices(found);
    std::vector<SystemPort> ports;
    for (const auto& [name, friendly] : found) {
        const std::string text = toUtf8(name);
        ports.push_back({text, toUtf8(friendly), R"(\\.\)" + text});
    }
    std::sort(ports.begin(), ports.end(), byNumber);
    return ports;
}

}  // namespace kestrova
