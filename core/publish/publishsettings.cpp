#include "core/publish/publishsettings.h"

#include <array>

namespace {

constexpr std::string_view kSection = "PUBLISHInfo";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

PublishSettings readPublishSettings(const ProfileFile& profile) {
    return {profile.readInt(kSection, "Publish", 0) != 0, profile.readString(kSection, "URL", ""),
            profile.readString(kSection, "Topic", "")};
}

Result<> writePublishSettings(ProfileFile& profile, const PublishSettings& settings) {
    const std::array<ProfileValue, 3> values = {{{kSection, "Publish", settings.on ? "1" : "0"},
                                                 {kSection, "URL", settings.url},
                                                 {kSection, "Topic", settings.topic}}};
    return profile.write(values);
}

Result<BrokerUrl> publishBroker(const PublishSettings& settings) {
    std::string_view url = trimmed(settings.url);
    std::string_view topic = trimmed(settings.topic);
    if (url.empty())
        return Failure{std::string("give the broker's URL, as in mqtt://broker:1883")};
    while (topic.starts_with('/'))
        topic.remove_prefix(1);
    while (url.ends_with('/'))
        url.remove_suffix(1);
    // A topic in the URL already: the one given goes below it.
    return parseBrokerUrl(std::string(url) + "/" + std::string(topic));
}
