#include "core/config/serialdevices.h"

#include "core/config/configuration.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <set>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUsbPrefixes[] = {"ttyUSB", "ttyACM"};

// The number after prefix in name, or -1 when name is not prefix<digits>.
int deviceNumber(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size())
        return -1;
    const std::string_view digits = name.substr(prefix.size());
    int n = -1;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return -1;
    return n;
}

// The path with its links resolved, or the path itself when that fails.
std::string resolved(const std::string& path) {
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    return ec ? path : real.string();
}

bool isUsbSerial(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return std::ranges::any_of(kUsbPrefixes,
                               [&](std::string_view p) { return deviceNumber(name, p) >= 0; });
}

} // namespace

std::vector<std::string> usbSerialDevices(const fs::path& devDir) {
    std::vector<std::string> found;
    for (const std::string_view prefix : kUsbPrefixes) {
        std::vector<std::pair<int, std::string>> kind;
        std::error_code ec;
        for (auto it = fs::directory_iterator(devDir, ec); !ec && it != fs::directory_iterator();
             it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (const int n = deviceNumber(name, prefix); n >= 0)
                kind.emplace_back(n, it->path().string());
        }
        std::ranges::sort(kind);
        for (auto& [n, path] : kind)
            found.push_back(std::move(path));
    }
    return found;
}

std::vector<SerialDevice> numberDevices(const std::vector<std::string>& present,
                                        const std::vector<std::pair<int, std::string>>& comPaths) {
    std::vector<SerialDevice> devices;
    for (const std::string& path : present) {
        SerialDevice device{path, 0};
        for (const auto& [n, comPath] : comPaths) {
            if (comPath == path && (device.comPort == 0 || n < device.comPort))
                device.comPort = n;
        }
        devices.push_back(std::move(device));
    }
    return devices;
}

std::vector<SerialDevice> presentSerialDevices(const ProfileFile& profile, const fs::path& devDir) {
    // Devices are listed by the name they were found under and compared by the
    // file they lead to, so that a link and its target count once.
    std::vector<std::string> shown;
    std::vector<std::string> keys;
    std::set<std::string> seen;
    const auto add = [&](const std::string& path) {
        std::string key = resolved(path);
        if (seen.insert(key).second) {
            shown.push_back(path);
            keys.push_back(std::move(key));
        }
    };
    for (const std::string& path : usbSerialDevices(devDir))
        add(path);
    std::vector<std::pair<int, std::string>> comPaths;
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        std::string path = comDevicePath(n, profile);
        // The default mapping speaks of /dev; a test's folder stands in for it.
        if (const std::string def = "/dev/ttyUSB" + std::to_string(n - 1); path == def)
            path = (devDir / fs::path(def).filename()).string();
        std::error_code ec;
        if (path.empty() || !fs::exists(path, ec))
            continue;
        comPaths.emplace_back(n, resolved(path));
        add(path);
    }
    std::vector<SerialDevice> devices = numberDevices(keys, comPaths);
    for (std::size_t i = 0; i < devices.size(); ++i)
        devices[i].path = shown[i];
    return devices;
}

int nextComPort(int port, bool down) {
    if (!down)
        return port + 1 == kLastComPort + 1 ? kFirstComPort : port + 1;
    return port > kFirstComPort ? port - 1 : port;
}

int firstRunComPort(const std::vector<SerialDevice>& devices, int def) {
    const auto usb =
        std::ranges::count_if(devices, [](const SerialDevice& d) { return isUsbSerial(d.path); });
    if (usb != 1)
        return def;
    const auto it =
        std::ranges::find_if(devices, [](const SerialDevice& d) { return isUsbSerial(d.path); });
    return it->comPort >= kFirstComPort && it->comPort <= kLastComPort ? it->comPort : def;
}

int startComPort(const Configuration& config, const fs::path& devDir) {
    std::error_code ec;
    if (fs::exists(config.path(), ec) || ec)
        return config.comPort();
    return firstRunComPort(presentSerialDevices(config.profile(), devDir), config.comPort());
}

std::string deviceListText(const std::vector<SerialDevice>& devices) {
    if (devices.empty())
        return "No serial device is connected.";
    std::string text = "Serial devices on this computer:";
    for (const SerialDevice& d : devices) {
        text += "\n    ";
        if (d.comPort > 0)
            text += "COM" + std::to_string(d.comPort) + ": " + d.path;
        else
            text += d.path + " (no COM number: give it one with a line COM<n>=" + d.path +
                    " in the [COMDevices] section of the configuration file)";
    }
    return text;
}

std::vector<PortHolder> portHolders(const fs::path& device, const fs::path& procDir) {
    std::vector<PortHolder> holders;
    std::error_code ec;
    const fs::path target = fs::canonical(device, ec);
    if (ec)
        return holders;
    for (auto it = fs::directory_iterator(procDir, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const int pid = deviceNumber(name, "");
        if (pid <= 0)
            continue;
        std::error_code fdEc;
        for (auto fd = fs::directory_iterator(it->path() / "fd", fdEc);
             !fdEc && fd != fs::directory_iterator(); fd.increment(fdEc)) {
            std::error_code linkEc;
            if (fs::read_symlink(fd->path(), linkEc) != target || linkEc)
                continue;
            std::string command;
            std::ifstream comm(it->path() / "comm");
            std::getline(comm, command);
            holders.push_back({pid, command});
            break;
        }
    }
    std::ranges::sort(holders, {}, &PortHolder::pid);
    return holders;
}

std::string portHoldersText(const std::vector<PortHolder>& holders) {
    std::string text;
    for (const PortHolder& holder : holders)
        text += (text.empty() ? "" : ", ") +
                (holder.name.empty() ? std::string("a program") : holder.name) + " (process " +
                std::to_string(holder.pid) + ")";
    return text;
}

std::string connectAdvice(PortFailure failure, const std::vector<SerialDevice>& devices,
                          const std::string& group, const std::string& user,
                          const std::vector<PortHolder>& holders) {
    switch (failure) {
    case PortFailure::Permission: {
        // Adding someone to root's or the terminals' group is no cure; serial
        // ports belong to dialout on Debian.
        const std::string g =
            group.empty() || group == "root" || group == "tty" ? "dialout" : group;
        return "Your account may not use serial devices. Add it to the " + g +
               " group, then log out and in again:\n    sudo usermod -aG " + g + " " +
               (user.empty() ? std::string("$USER") : user);
    }
    case PortFailure::Busy: {
        if (holders.empty())
            return "Another program is using it. Close that program and choose On/Off again.";
        return (holders.size() == 1 ? "It is in use by " : "It is in use by these programs: ") +
               portHoldersText(holders) + ". Close it and choose On/Off again.";
    }
    case PortFailure::NoDevice:
    case PortFailure::NotFound:
    case PortFailure::Other:
        break;
    }
    return deviceListText(devices) +
           (devices.empty() ? "\nPlug in the instrument's cable and choose On/Off again."
                            : "\nChoose the instrument's port with Select COM.");
}

std::string connectAdviceFor(PortFailure failure, const std::string& device,
                             const ProfileFile& profile) {
    std::string group;
    std::string user;
    std::vector<PortHolder> holders;
    if (failure == PortFailure::Permission) {
        struct stat st {};
        if (::stat(device.c_str(), &st) == 0) {
            if (const struct group* g = ::getgrgid(st.st_gid))
                group = g->gr_name;
        }
        if (const passwd* pw = ::getpwuid(::geteuid()))
            user = pw->pw_name;
    }
    if (failure == PortFailure::Busy)
        holders = portHolders(device);
    return connectAdvice(failure, presentSerialDevices(profile), group, user, holders);
}
