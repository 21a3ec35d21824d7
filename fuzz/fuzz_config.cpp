// The configuration file as the logger reads it at start-up and rewrites it at
// close. Reads must agree with each other (a key is either missing for every
// default or present for all); a write must read back, leave the other keys
// as they were, and a second identical write must not change the file.
#include "core/config/configuration.h"
#include "core/config/profilefile.h"

#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_config: %s\n", what);
        std::abort();
    }
}

struct Key {
    const char* section;
    const char* key;
};

constexpr std::array<Key, 6> kKeys = {{
    {"COMInfo", "COM num"},
    {"SAMPRATEInfo", "SAMPRATE"},
    {"ALARMHIInfo", "ALARMHI"},
    {"ALARMLOInfo", "ALARMLO"},
    {"COMDevices", "COM3"},
    {"comdevices", " com1 "},
}};

constexpr std::array<const char*, 4> kValues = {"7", "-2147483648", "/dev/ttyACM0", ""};

// A folder of this process's own, in memory where the system has one.
const fs::path& workFolder() {
    static const fs::path folder = [] {
        std::error_code ec;
        fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path p = base / ("orvane-fuzz-config-" + std::to_string(::getpid()));
        fs::create_directories(p);
        std::atexit([] {
            std::error_code e;
            fs::remove_all(workFolder(), e);
        });
        return p;
    }();
    return folder;
}

void writeFile(const fs::path& p, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    check(out.good(), "cannot write the work file");
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads one key and checks that its missing/present answers agree. A second
// read with other defaults settles answers that equal the first defaults.
std::string probe(const ProfileFile& file, const Key& k) {
    const std::string missingA = "\x01missing";
    const std::string a = file.readString(k.section, k.key, missingA);
    const bool missing = a == missingA && file.readString(k.section, k.key, "\x02missing") != a;
    int value = file.readInt(k.section, k.key, 12345);
    const bool isDefault = value == 12345 && file.readInt(k.section, k.key, -54321) == -54321;
    if (missing || a.empty())
        check(isDefault, "readInt of a missing or empty key is not the default");
    else
        check(!isDefault, "readInt of a present key depends on the default");
    if (!missing)
        check(a.empty() || (a.front() != ' ' && a.back() != ' '), "value not trimmed");
    return missing ? std::string("\x01missing") : a;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = workFolder() / "loggerconfig.ini";
    writeFile(file, data, size);

    const Configuration config(file);
    (void)config.comPort();
    (void)config.sampleRate();
    (void)config.alarmHigh();
    (void)config.alarmLow();
    for (int n : {-1, 0, 1, 3, 16})
        (void)config.comDevicePath(n);

    ProfileFile profile(file);
    std::array<std::string, kKeys.size()> before;
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        before[i] = probe(profile, kKeys[i]);

    // The close sequence's kind of write, on a copy.
    const fs::path copy = workFolder() / "copy.ini";
    writeFile(copy, data, size);
    const std::size_t which = size > 0 ? data[0] % kKeys.size() : 0;
    const char* value = kValues[size > 1 ? data[1] % kValues.size() : 0];
    ProfileFile target(copy);
    const bool written = target.writeString(kKeys[which].section, kKeys[which].key, value).ok();
    check(written, "a small file in a writable folder could not be written");
    check(target.readString(kKeys[which].section, kKeys[which].key, "\x01missing") == value,
          "the written value does not read back");
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (i != which)
            check(probe(target, kKeys[i]) == before[i], "a write changed another key");
    }
    const std::string once = readFile(copy);
    check(target.writeString(kKeys[which].section, kKeys[which].key, value).ok(),
          "the second write failed");
    check(readFile(copy) == once, "writing the same value again changed the file");
    return 0;
}
