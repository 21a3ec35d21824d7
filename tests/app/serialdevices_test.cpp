#include "core/config/serialdevices.h"

#include "core/config/configuration.h"
#include "tests/app/tempdir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;

void PrintTo(const SerialDevice& d, std::ostream* os) {
    *os << "COM" << d.comPort << "=" << d.path;
}
void PrintTo(const PortHolder& h, std::ostream* os) {
    *os << h.pid << ":" << h.name;
}

namespace {

using ComPaths = std::vector<std::pair<int, std::string>>;
using Devices = std::vector<SerialDevice>;

TEST(SerialDevices, EachDeviceGetsTheLowestComNumberThatReachesIt) {
    struct Row {
        const char* what;
        std::vector<std::string> present;
        ComPaths comPaths;
        Devices expected;
    };
    const Row rows[] = {
        {"nothing present", {}, {{1, "/dev/ttyUSB0"}}, {}},
        {"default mapping",
         {"/dev/ttyUSB0", "/dev/ttyUSB3"},
         {{1, "/dev/ttyUSB0"}, {2, "/dev/ttyUSB1"}, {4, "/dev/ttyUSB3"}},
         {{"/dev/ttyUSB0", 1}, {"/dev/ttyUSB3", 4}}},
        {"an ACM device without a mapping",
         {"/dev/ttyUSB0", "/dev/ttyACM0"},
         {{1, "/dev/ttyUSB0"}},
         {{"/dev/ttyUSB0", 1}, {"/dev/ttyACM0", 0}}},
        {"remapped: COM1 is the ACM device, ttyUSB0 has no number left",
         {"/dev/ttyUSB0", "/dev/ttyACM0"},
         {{1, "/dev/ttyACM0"}, {2, "/dev/ttyUSB1"}},
         {{"/dev/ttyUSB0", 0}, {"/dev/ttyACM0", 1}}},
        {"two numbers for one device: the lower",
         {"/dev/ttyUSB2"},
         {{9, "/dev/ttyUSB2"}, {3, "/dev/ttyUSB2"}},
         {{"/dev/ttyUSB2", 3}}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(numberDevices(row.present, row.comPaths), row.expected) << row.what;
}

TEST(SelectCom, StepsUpWrappingPast16OrDownStoppingAt1) {
    struct Row {
        int from;
        bool down;
        int expected;
    };
    const Row rows[] = {{1, false, 2}, {15, false, 16}, {16, false, 1}, {3, true, 2},
                        {1, true, 1},  {0, false, 1},   {20, false, 21}};
    for (const Row& r : rows)
        EXPECT_EQ(nextComPort(r.from, r.down), r.expected) << r.from << (r.down ? " down" : " up");
}

TEST(SerialDevices, FirstRunStartsOnTheOnlyUsbDevice) {
    struct Row {
        const char* what;
        Devices devices;
        int expected;
    };
    const Row rows[] = {
        {"none", {}, 3},
        {"one", {{"/dev/ttyUSB0", 1}}, 1},
        {"one, far up", {{"/dev/ttyUSB6", 7}}, 7},
        {"one beyond COM16", {{"/dev/ttyUSB16", 17}}, 3},
        {"two", {{"/dev/ttyUSB0", 1}, {"/dev/ttyUSB1", 2}}, 3},
        {"one USB and one ACM", {{"/dev/ttyUSB0", 1}, {"/dev/ttyACM0", 0}}, 3},
        {"one ACM without a number", {{"/dev/ttyACM0", 0}}, 3},
        {"one ACM with a number", {{"/dev/ttyACM0", 5}}, 5},
        {"one USB and a mapped built-in port", {{"/dev/ttyUSB1", 2}, {"/dev/ttyS0", 4}}, 2},
    };
    for (const Row& row : rows)
        EXPECT_EQ(firstRunComPort(row.devices, 3), row.expected) << row.what;
}

TEST(SerialDevices, AdviceNamesDevicesGroupOrHolders) {
    struct Row {
        const char* what;
        PortFailure failure;
        Devices devices;
        std::string group;
        std::vector<PortHolder> holders;
        std::string expected;
    };
    const Row rows[] = {
        {"not found, none present",
         PortFailure::NotFound,
         {},
         "",
         {},
         "No serial device is connected.\n"
         "Plug in the instrument's cable and choose On/Off again."},
        {"no device for the number",
         PortFailure::NoDevice,
         {{"/dev/ttyUSB0", 1}, {"/dev/ttyACM0", 0}},
         "",
         {},
         "Serial devices on this computer:\n"
         "    COM1: /dev/ttyUSB0\n"
         "    /dev/ttyACM0 (no COM number: give it one with a line COM<n>=/dev/ttyACM0 in the "
         "[COMDevices] section of the configuration file)\n"
         "Choose the instrument's port with Select COM."},
        {"permission, device of dialout",
         PortFailure::Permission,
         {{"/dev/ttyUSB0", 1}},
         "dialout",
         {},
         "Your account may not use serial devices. Add it to the dialout group, then log out "
         "and in again:\n    sudo usermod -aG dialout ann"},
        {"permission, device of uucp",
         PortFailure::Permission,
         {},
         "uucp",
         {},
         "Your account may not use serial devices. Add it to the uucp group, then log out "
         "and in again:\n    sudo usermod -aG uucp ann"},
        {"permission, device of root",
         PortFailure::Permission,
         {},
         "root",
         {},
         "Your account may not use serial devices. Add it to the dialout group, then log out "
         "and in again:\n    sudo usermod -aG dialout ann"},
        {"busy, holder unknown",
         PortFailure::Busy,
         {},
         "",
         {},
         "Another program is using it. Close that program and choose On/Off again."},
        {"busy, one holder",
         PortFailure::Busy,
         {},
         "",
         {{812, "minicom"}},
         "It is in use by minicom (process 812). Close it and choose On/Off again."},
        {"busy, two holders",
         PortFailure::Busy,
         {},
         "",
         {{812, "minicom"}, {900, ""}},
         "It is in use by these programs: minicom (process 812), a program (process 900). "
         "Close it and choose On/Off again."},
    };
    for (const Row& row : rows)
        EXPECT_EQ(connectAdvice(row.failure, row.devices, row.group, "ann", row.holders),
                  row.expected)
            << row.what;
}

// A /dev with adapters, a built-in port and look-alikes.
struct DevRig {
    TempDir tmp;
    fs::path dev = tmp.path() / "dev";
    fs::path config = tmp.path() / "config" / "loggerconfig.ini";

    explicit DevRig(std::initializer_list<const char*> nodes) {
        fs::create_directories(dev);
        fs::create_directories(config.parent_path());
        for (const char* n : nodes)
            writeText(dev / n, "");
    }
    std::string at(const char* name) const { return (dev / name).string(); }
};

TEST(SerialDevices, ScanFindsUsbAdaptersInNumberOrder) {
    const DevRig rig({"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyUSB", "ttyUSBx", "tty1"});
    EXPECT_EQ(usbSerialDevices(rig.dev),
              (std::vector{rig.at("ttyUSB2"), rig.at("ttyUSB10"), rig.at("ttyACM0")}));
    EXPECT_TRUE(usbSerialDevices(rig.tmp.path() / "none").empty());
}

TEST(SerialDevices, PresentDevicesFollowTheConfiguredMapping) {
    const DevRig rig({"ttyUSB0", "ttyACM0", "ttyS0"});
    fs::create_directories(rig.dev / "serial" / "by-id");
    fs::create_symlink("../../ttyACM0", rig.dev / "serial" / "by-id" / "usb-cable");
    writeText(rig.dev / "pts3", "");
    fs::create_symlink("pts3", rig.dev / "ttyUSB1"); // listed under the name it was found by
    writeText(rig.config, "[COMDevices]\nCOM2=" + (rig.dev / "serial/by-id/usb-cable").string() +
                              "\nCOM5=" + rig.at("ttyS0") + "\nCOM6=/nowhere/ttyX\n");
    const Configuration config(rig.config);
    // COM2 now stands for the ACM adapter, so ttyUSB1 has no number; the
    // mapped built-in port is listed; a mapping to nothing is not.
    EXPECT_EQ(presentSerialDevices(config.profile(), rig.dev), (Devices{{rig.at("ttyUSB0"), 1},
                                                                        {rig.at("ttyUSB1"), 0},
                                                                        {rig.at("ttyACM0"), 2},
                                                                        {rig.at("ttyS0"), 5}}));
}

TEST(SerialDevices, OnlyAFirstRunStartsOnTheDevicePresent) {
    const DevRig rig({"pts2"});
    fs::create_symlink("pts2", rig.dev / "ttyUSB4"); // an adapter that is a link still counts
    EXPECT_EQ(startComPort(Configuration(rig.config), rig.dev), 5);
    // Once the file exists, its value (or the default) holds.
    writeText(rig.config, "[SAMPRATEInfo]\nSAMPRATE=2\n");
    EXPECT_EQ(startComPort(Configuration(rig.config), rig.dev), 3);
    writeText(rig.config, "[COMInfo]\nCOM num=9\n");
    EXPECT_EQ(startComPort(Configuration(rig.config), rig.dev), 9);
}

TEST(SerialDevices, HoldersAreTheProcessesWithTheDeviceOpen) {
    const DevRig rig({"ttyUSB0", "ttyUSB1"});
    const fs::path proc = rig.tmp.path() / "proc";
    const auto process = [&](const char* pid, const char* comm, const fs::path& file) {
        fs::create_directories(proc / pid / "fd");
        writeText(proc / pid / "comm", std::string(comm) + "\n");
        fs::create_symlink("/dev/null", proc / pid / "fd" / "0");
        fs::create_symlink(file, proc / pid / "fd" / "3");
    };
    process("812", "minicom", fs::canonical(rig.at("ttyUSB0")));
    process("77", "screen", fs::canonical(rig.at("ttyUSB0")));
    process("90", "other", fs::canonical(rig.at("ttyUSB1")));
    fs::create_directories(proc / "self" / "fd");
    fs::create_directories(proc / "1234"); // no fd folder to read
    EXPECT_EQ(portHolders(rig.at("ttyUSB0"), proc),
              (std::vector<PortHolder>{{77, "screen"}, {812, "minicom"}}));
    EXPECT_TRUE(portHolders(rig.tmp.path() / "dev" / "ttyUSB9", proc).empty());
}

} // namespace
