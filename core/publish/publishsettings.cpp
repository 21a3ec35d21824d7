#include "core/publish/publishsettings.h"

#include <algorithm>
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
    PublishSettings plain = settings;
    if (takePasswordFromUrl(plain))
        profile.keepPrivate();
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
    Result<BrokerUrl> broker = parseBrokerUrl(std::string(url) + "/" + std::string(topic));
    if (broker && !settings.password.empty()) {
        if (broker->user.empty())
            return Failure{std::string("a password needs a user: give it in the URL, as in "
                                       "mqtt://anna@broker:1883")};
        broker->password = settings.password;
    }
    return broker;
}

bool takePasswordFromUrl(PublishSettings& settings) {
    const std::size_t scheme = settings.url.find("://");
    if (scheme == std::string::npos)
        return false;
    const std::size_t begin = scheme + 3;
    const std::size_t end = std::min(settings.url.find('/', begin), settings.url.size());
    const std::size_t at = settings.url.rfind('@', end);
    if (at == std::string::npos || at < begin)
        return false;
    const std::size_t colon = settings.url.find(':', begin);
    if (colon == std::string::npos || colon > at)
        return false;
    // Its %XX escapes decoded as the URL's reader does.
    const Result<BrokerUrl> decoded =
        parseBrokerUrl("mqtt://u:" + settings.url.substr(colon + 1, at - colon - 1) + "@h/t");
    settings.password =
        decoded ? decoded->password : settings.url.substr(colon + 1, at - colon - 1);
    settings.url.erase(colon, at - colon);
    return true;
}
