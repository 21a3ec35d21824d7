#include "core/config/configuration.h"

#include "tests/app/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one scope and restores it afterwards.
class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvOverride() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(ConfigFilePath, FollowsXdgConfigHomeElseHome) {
    struct Row {
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Row rows[] = {
        {"/x/cfg", "/home/u", "/x/cfg/Orvane/loggerconfig.ini"},
        {nullptr, "/home/u", "/home/u/.config/Orvane/loggerconfig.ini"},
        {"", "/home/u", "/home/u/.config/Orvane/loggerconfig.ini"},
        {"relative/cfg", "/home/u", "/home/u/.config/Orvane/loggerconfig.ini"},
    };
    for (const auto& row : rows) {
        const EnvOverride xdg("XDG_CONFIG_HOME", row.xdg);
        const EnvOverride home("HOME", row.home);
        EXPECT_EQ(configFilePath(), fs::path(row.expected)) << (row.xdg ? row.xdg : "(unset)");
    }
}

TEST(Configuration, NoFileGivesDefaults) {
    TempDir dir;
    const EnvOverride xdg("XDG_CONFIG_HOME", dir.path().c_str());
    const Configuration config;
    EXPECT_EQ(config.path(), dir.path() / "Orvane" / "loggerconfig.ini");
    EXPECT_EQ(config.comPort(), 3);
    EXPECT_EQ(config.sampleRate(), 0);
    EXPECT_EQ(config.alarmHigh(), 150);
    EXPECT_EQ(config.alarmLow(), -50);
    EXPECT_TRUE(config.alarmNotifications());
    EXPECT_FALSE(config.alarmSound());
}

TEST(Configuration, AlarmNoticesInASectionOfTheirOwn) {
    TempDir dir;
    const fs::path file = dir.path() / "loggerconfig.ini";
    writeText(file, "[COMInfo]\nCOM num=2\n");
    Configuration config(file);
    ASSERT_TRUE(config.writeAlarmNotices(false, true));
    EXPECT_EQ(readText(file), "[COMInfo]\nCOM num=2\n[ALARMNOTIFYInfo]\nNOTIFY=0\nSOUND=1\n");
    EXPECT_FALSE(config.alarmNotifications());
    EXPECT_TRUE(config.alarmSound());
}

TEST(Configuration, WindowAndGraphSettingsInSectionsOfTheirOwn) {
    TempDir dir;
    const fs::path file = dir.path() / "loggerconfig.ini";
    writeText(file, "[COMInfo]\nCOM num=2\n");
    Configuration config(file);
    EXPECT_EQ(config.windowPlacement().width, 0);
    EXPECT_TRUE(config.followReadings());
    ASSERT_TRUE(config.writeWindowPlacement({1200, 800, true}));
    ASSERT_TRUE(config.writeFollowReadings(false));
    EXPECT_EQ(readText(file), "[COMInfo]\nCOM num=2\n[WINDOWInfo]\nWidth=1200\nHeight=800\n"
                              "Maximized=1\n[GRAPHInfo]\nFollowReadings=0\n");
    EXPECT_EQ(config.windowPlacement().height, 800);
    EXPECT_TRUE(config.windowPlacement().maximized);
    EXPECT_FALSE(config.followReadings());
}

TEST(Configuration, StoredValuesAreUsedUnchanged) {
    TempDir dir;
    const fs::path file = dir.path() / "loggerconfig.ini";
    writeText(file, "[COMInfo]\nCOM num=0\n[SAMPRATEInfo]\nSAMPRATE=12\n"
                    "[ALARMHIInfo]\nALARMHI=abc\n[ALARMLOInfo]\nALARMLO=-300\n");
    const Configuration config(file);
    EXPECT_EQ(config.comPort(), 0);
    EXPECT_EQ(config.sampleRate(), 12);
    EXPECT_EQ(config.alarmHigh(), 0);
    EXPECT_EQ(config.alarmLow(), -300);
}

TEST(Configuration, CloseValuesInAFreshFolder) {
    TempDir dir;
    const fs::path file = dir.path() / "Orvane" / "loggerconfig.ini";
    Configuration config(file);
    ASSERT_TRUE(config.writeCloseValues(4, 3, 150, -50));
    EXPECT_EQ(readText(file), "[COMInfo]\nCOM num=4\n[SAMPRATEInfo]\nSAMPRATE=3\n"
                              "[ALARMHIInfo]\nALARMHI=150\n[ALARMLOInfo]\nALARMLO=-50\n");

    ASSERT_TRUE(config.writeCloseValues(17, 11, -20, -2147483647 - 1));
    EXPECT_EQ(config.comPort(), 17);
    EXPECT_EQ(config.sampleRate(), 11);
    EXPECT_EQ(config.alarmHigh(), -20);
    EXPECT_EQ(config.alarmLow(), -2147483647 - 1);
}

TEST(Configuration, CloseValuesKeepForeignSectionsAndKeys) {
    TempDir dir;
    const fs::path file = dir.path() / "loggerconfig.ini";
    writeText(file, "; my port mapping\n"
                    "[COMDevices]\nCOM4=/dev/ttyACM0\n"
                    "[ALARMLOInfo]\nALARMLO=-10\n"
                    "[COMInfo]\nCOM num=2\nbaud=2400\n\n"
                    "[Window]\nx=50\n");
    Configuration config(file);
    ASSERT_TRUE(config.writeCloseValues(4, 3, 150, -50));
    EXPECT_EQ(readText(file), "; my port mapping\n"
                              "[COMDevices]\nCOM4=/dev/ttyACM0\n"
                              "[ALARMLOInfo]\nALARMLO=-50\n"
                              "[COMInfo]\nCOM num=4\nbaud=2400\n\n"
                              "[Window]\nx=50\n"
                              "[SAMPRATEInfo]\nSAMPRATE=3\n"
                              "[ALARMHIInfo]\nALARMHI=150\n");
    EXPECT_EQ(config.comDevicePath(4), "/dev/ttyACM0");
}

TEST(Configuration, CloseValuesReportTheFirstFailure) {
    TempDir dir;
    writeText(dir.path() / "plain", "x");
    const fs::path file = dir.path() / "plain" / "Orvane" / "loggerconfig.ini";
    Configuration config(file);
    const std::string error = config.writeCloseValues(4, 3, 150, -50).error();
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
    EXPECT_EQ(config.comPort(), 3);
}

TEST(ComDevicePath, MappedElseTtyUsb) {
    struct Row {
        int n;
        const char* expected;
    };
    const Row unmapped[] = {
        {1, "/dev/ttyUSB0"},
        {4, "/dev/ttyUSB3"},
        {16, "/dev/ttyUSB15"},
        {17, "/dev/ttyUSB16"},
        {0, ""},
        {-3, ""},
    };
    const Row mapped[] = {
        {1, "/dev/ttyUSB0"},
        {4, "/dev/ttyACM0"},
        {5, "/dev/ttyUSB4"}, // empty mapping
        {0, "/dev/pts/3"},
        {-3, ""},
        {16, "/dev/serial/by-id/usb-x"},
    };
    TempDir dir;
    const fs::path file = dir.path() / "loggerconfig.ini";
    const ProfileFile profile(file);
    for (const auto& row : unmapped)
        EXPECT_EQ(comDevicePath(row.n, profile), row.expected) << row.n;

    writeText(file, "[COMInfo]\nCOM4=/dev/wrong\n"
                    "[comdevices]\ncom4 = /dev/ttyACM0\nCOM5=\nCOM0=/dev/pts/3\n"
                    "COM16=/dev/serial/by-id/usb-x\n");
    for (const auto& row : mapped)
        EXPECT_EQ(comDevicePath(row.n, profile), row.expected) << row.n;
}

} // namespace
