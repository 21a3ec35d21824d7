#include "core/config/configuration.h"

#include "core/store/alarmstate.h"

#include <pwd.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr const char* kFileName = "loggerconfig.ini";

struct Entry {
    const char* section;
    const char* key;
};

constexpr Entry kComPort{"COMInfo", "COM num"};
constexpr Entry kSampleRate{"SAMPRATEInfo", "SAMPRATE"};
constexpr Entry kAlarmHigh{"ALARMHIInfo", "ALARMHI"};
constexpr Entry kAlarmLow{"ALARMLOInfo", "ALARMLO"};
constexpr Entry kAlarmDeadband{"ALARMLOInfo", "DEADBAND"};
constexpr Entry kLastFolder{"FOLDERInfo", "LastFolder"};
constexpr Entry kNewFileOn{"NEWFILEInfo", "Continue"};
constexpr Entry kNewFileFolder{"NEWFILEInfo", "Folder"};
constexpr Entry kAlarmNotify{"ALARMNOTIFYInfo", "NOTIFY"};
constexpr Entry kAlarmSound{"ALARMNOTIFYInfo", "SOUND"};
constexpr Entry kWindowWidth{"WINDOWInfo", "Width"};
constexpr Entry kWindowHeight{"WINDOWInfo", "Height"};
constexpr Entry kWindowMaximized{"WINDOWInfo", "Maximized"};
constexpr Entry kFollowReadings{"GRAPHInfo", "FollowReadings"};

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

} // namespace

std::filesystem::path configFilePath() {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else
        base = homeFolder() / ".config";
    return base / "Orvane" / kFileName;
}

std::string comDevicePath(int n, const ProfileFile& profile) {
    std::string mapped = profile.readString("COMDevices", "COM" + std::to_string(n), "");
    if (!mapped.empty())
        return mapped;
    if (n < 1)
        return {};
    return "/dev/ttyUSB" + std::to_string(n - 1);
}

Configuration::Configuration(std::filesystem::path file) : m_profile(std::move(file)) {}

int Configuration::comPort() const {
    return m_profile.readInt(kComPort.section, kComPort.key, kDefaultComPort);
}

int Configuration::sampleRate() const {
    return m_profile.readInt(kSampleRate.section, kSampleRate.key, kDefaultSampleRate);
}

int Configuration::alarmHigh() const {
    return m_profile.readInt(kAlarmHigh.section, kAlarmHigh.key, kDefaultAlarmHigh);
}

int Configuration::alarmLow() const {
    return m_profile.readInt(kAlarmLow.section, kAlarmLow.key, kDefaultAlarmLow);
}

float Configuration::alarmDeadband() const {
    const std::string text = m_profile.readString(kAlarmDeadband.section, kAlarmDeadband.key, "");
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    return !text.empty() && *end == '\0' && value >= 0.0f && std::isfinite(value)
               ? value
               : kDefaultAlarmDeadband;
}

bool Configuration::alarmNotifications() const {
    return m_profile.readInt(kAlarmNotify.section, kAlarmNotify.key, 1) != 0;
}

bool Configuration::alarmSound() const {
    return m_profile.readInt(kAlarmSound.section, kAlarmSound.key, 0) != 0;
}

Result<> Configuration::writeAlarmNotices(bool notifications, bool sound) {
    const ProfileValue values[] = {
        {kAlarmNotify.section, kAlarmNotify.key, notifications ? "1" : "0"},
        {kAlarmSound.section, kAlarmSound.key, sound ? "1" : "0"},
    };
    return m_profile.write(values);
}

Configuration::WindowPlacement Configuration::windowPlacement() const {
    return {m_profile.readInt(kWindowWidth.section, kWindowWidth.key, 0),
            m_profile.readInt(kWindowHeight.section, kWindowHeight.key, 0),
            m_profile.readInt(kWindowMaximized.section, kWindowMaximized.key, 0) != 0};
}

Result<> Configuration::writeWindowPlacement(const WindowPlacement& placement) {
    const std::string width = std::to_string(placement.width);
    const std::string height = std::to_string(placement.height);
    const ProfileValue values[] = {
        {kWindowWidth.section, kWindowWidth.key, width},
        {kWindowHeight.section, kWindowHeight.key, height},
        {kWindowMaximized.section, kWindowMaximized.key, placement.maximized ? "1" : "0"},
    };
    return m_profile.write(values);
}

bool Configuration::followReadings() const {
    return m_profile.readInt(kFollowReadings.section, kFollowReadings.key, 1) != 0;
}

Result<> Configuration::writeFollowReadings(bool on) {
    return m_profile.writeString(kFollowReadings.section, kFollowReadings.key, on ? "1" : "0");
}

Result<> Configuration::writeCloseValues(int comPort, int sampleRate, int alarmHigh, int alarmLow) {
    const std::string texts[] = {std::to_string(comPort), std::to_string(sampleRate),
                                 std::to_string(alarmHigh), std::to_string(alarmLow)};
    const ProfileValue values[] = {
        {kComPort.section, kComPort.key, texts[0]},
        {kSampleRate.section, kSampleRate.key, texts[1]},
        {kAlarmHigh.section, kAlarmHigh.key, texts[2]},
        {kAlarmLow.section, kAlarmLow.key, texts[3]},
    };
    return m_profile.write(values);
}

std::string Configuration::lastFolder() const {
    return m_profile.readString(kLastFolder.section, kLastFolder.key, "");
}

Result<> Configuration::writeLastFolder(const std::string& folder) {
    return m_profile.writeString(kLastFolder.section, kLastFolder.key, folder);
}

bool Configuration::continueInNewFile() const {
    return m_profile.readInt(kNewFileOn.section, kNewFileOn.key, 0) != 0;
}

std::string Configuration::newFileFolder() const {
    return m_profile.readString(kNewFileFolder.section, kNewFileFolder.key, "");
}

Result<> Configuration::writeContinueInNewFile(bool on, const std::string& folder) {
    const ProfileValue values[] = {
        {kNewFileOn.section, kNewFileOn.key, on ? "1" : "0"},
        {kNewFileFolder.section, kNewFileFolder.key, folder},
    };
    return m_profile.write(values);
}
