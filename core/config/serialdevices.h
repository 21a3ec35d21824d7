#pragma once

#include "core/config/profilefile.h"

class Configuration;

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The serial devices present on this computer, the COM number each one has,
// and the advice shown when a port cannot be opened.

// A present device and the COM number that reaches it (0: none does).
struct SerialDevice {
    std::string path;
    int comPort = 0;
    bool operator==(const SerialDevice&) const = default;
};

// A process that has a device open.
struct PortHolder {
    int pid = 0;
    std::string name;
    bool operator==(const PortHolder&) const = default;
};

// Why a port could not be opened.
enum class PortFailure {
    NoDevice,   // the COM number stands for no device at all
    NotFound,   // the device does not exist
    Permission, // the user may not open it
    Busy,       // another program has it
    Other,
};

// The ports Select COM steps through.
constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 16;

// Select COM: the port after `port`, or with `down` the one before it (not
// below 1); past 16 comes 1 again.
int nextComPort(int port, bool down);

// Device nodes of USB serial adapters in devDir: ttyUSB<n> and ttyACM<n>, each
// kind in number order.
std::vector<std::string> usbSerialDevices(const std::filesystem::path& devDir = "/dev");

// Numbers the present devices: a device gets the lowest COM n whose path (as
// comPaths gives it, n and path, links already resolved) is that device.
// Devices come out in the order given.
std::vector<SerialDevice> numberDevices(const std::vector<std::string>& present,
                                        const std::vector<std::pair<int, std::string>>& comPaths);

// The USB serial devices in devDir and the devices the configuration maps a
// COM number to that exist, numbered through the configuration's mapping.
std::vector<SerialDevice> presentSerialDevices(const ProfileFile& profile,
                                               const std::filesystem::path& devDir = "/dev");

// The port of a first run (no configuration file yet): the COM number of the
// one USB serial device when exactly one is present and has a number, else def.
int firstRunComPort(const std::vector<SerialDevice>& devices, int def);

// The port to start on: the configured one, or on a first run (no
// configuration file yet) the one firstRunComPort picks from devDir's devices.
int startComPort(const Configuration& config, const std::filesystem::path& devDir = "/dev");

// "Serial devices on this computer:" with one line per device, or "No serial
// device is connected."
std::string deviceListText(const std::vector<SerialDevice>& devices);

// The processes whose open files (procDir/<pid>/fd) include the device, by
// process id. Processes that cannot be inspected are left out.
std::vector<PortHolder> portHolders(const std::filesystem::path& device,
                                    const std::filesystem::path& procDir = "/proc");

// "orvane (process 812), orvane-cli (process 901)".
std::string portHoldersText(const std::vector<PortHolder>& holders);

// What the user can do about a failure to open device: the present devices for
// a missing one, the group command for a permission error (group: the
// device's group, user: the account), the holding processes of a busy port.
std::string connectAdvice(PortFailure failure, const std::vector<SerialDevice>& devices,
                          const std::string& group, const std::string& user,
                          const std::vector<PortHolder>& holders);

// connectAdvice with the facts of this computer: the present devices (numbered
// through profile's mapping), the device's group, the current account and the
// processes holding the device.
std::string connectAdviceFor(PortFailure failure, const std::string& device,
                             const ProfileFile& profile);
