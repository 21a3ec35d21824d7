#pragma once

#include "core/config/profilefile.h"

#include <filesystem>
#include <string>

// The per-user configuration file: "$XDG_CONFIG_HOME/Orvane/loggerconfig.ini",
// else "$HOME/.config/Orvane/loggerconfig.ini" (the home folder from the user
// database when HOME is unset).
std::filesystem::path configFilePath();

// The device of port COM n. A "[COMDevices]" section may name it with a line
// "COM<n>=<path>"; otherwise COM n is "/dev/ttyUSB<n-1>". There is no COM0 or
// below: without a mapping such n gives an empty string, which the caller
// reports as "no device" rather than opening another port's device.
std::string comDevicePath(int n, const ProfileFile& profile);

// The four settings that outlive a run, each in its own section.
class Configuration {
public:
    static constexpr int kDefaultComPort = 3;
    static constexpr int kDefaultSampleRate = 0; // "Auto"
    static constexpr int kDefaultAlarmHigh = 150;
    static constexpr int kDefaultAlarmLow = -50;

    explicit Configuration(std::filesystem::path file = configFilePath());

    const std::filesystem::path& path() const { return m_profile.path(); }
    const ProfileFile& profile() const { return m_profile; }

    // Values as stored, not range-checked: the readers decide what an odd
    // value means.
    int comPort() const;    // "COMInfo" / "COM num"
    int sampleRate() const; // "SAMPRATEInfo" / "SAMPRATE", index 0..11
    int alarmHigh() const;  // "ALARMHIInfo" / "ALARMHI"
    int alarmLow() const;   // "ALARMLOInfo" / "ALARMLO"
    // How far back inside a limit a reading must be before its alarm ends, in
    // degrees: "ALARMLOInfo" / "DEADBAND" (1 unless a number of at least 0).
    float alarmDeadband() const;

    // How the window tells an alarm: "ALARMNOTIFYInfo" / "NOTIFY" (a desktop
    // notification, on unless 0) and "SOUND" (a sound, off unless non-zero).
    bool alarmNotifications() const;
    bool alarmSound() const;
    // Writes both at once (a command changed one of them).
    Result<> writeAlarmNotices(bool notifications, bool sound);

    // The main window's size and whether it was maximised ("WINDOWInfo":
    // "Width", "Height", "Maximized"); 0 x 0 when none was kept.
    struct WindowPlacement {
        int width = 0;
        int height = 0;
        bool maximized = false;
    };
    WindowPlacement windowPlacement() const;
    Result<> writeWindowPlacement(const WindowPlacement& placement);

    // Tools > Follow the Readings: the graph's value window moves to show the
    // newest reading ("GRAPHInfo" / "FollowReadings", on unless 0).
    bool followReadings() const;
    Result<> writeFollowReadings(bool on);

    std::string comDevicePath(int n) const { return ::comDevicePath(n, m_profile); }

    // The folder the file dialogs start in: the last one a file was saved to
    // or opened from ("FOLDERInfo" / "LastFolder"); empty when none is kept.
    std::string lastFolder() const;
    Result<> writeLastFolder(const std::string& folder);

    // Continue in a New File ("NEWFILEInfo"): whether a full recording is
    // written and recording goes on ("Continue", 0 or 1), and the folder the
    // files go to ("Folder"; empty until the user chose one).
    bool continueInNewFile() const;
    std::string newFileFolder() const;
    Result<> writeContinueInNewFile(bool on, const std::string& folder);

    // Writes the four keys in this order as decimal text, in one rewrite of
    // the file: all four or none, with a message naming the file and the
    // reason.
    Result<> writeCloseValues(int comPort, int sampleRate, int alarmHigh, int alarmLow);

private:
    ProfileFile m_profile;
};
