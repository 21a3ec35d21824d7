#include "core/publish/brokerurl.h"

#include <charconv>
#include <optional>

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// %XX escapes decoded; nothing when an escape is cut or not hexadecimal.
std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int hi = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

// The length of a valid UTF-8 sequence starting at text[i], or 0.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t n = 0;
    unsigned least = 0; // the smallest code point of that length: no overlong forms
    unsigned cp = 0;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        least = 0x80;
        cp = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        least = 0x800;
        cp = b & 0x0Fu;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        least = 0x10000;
        cp = b & 0x07u;
    } else {
        return 0;
    }
    if (i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3Fu);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

// Why a broker would refuse `topic` as the root of the published topics, or
// nothing.
std::optional<std::string> topicProblem(const std::string& topic) {
    if (topic.size() + kLongestSubtopic > kMaxTopicBytes)
        return "the topic is " + std::to_string(topic.size()) + " bytes long; MQTT takes " +
               std::to_string(kMaxTopicBytes - kLongestSubtopic) + " at most here";
    for (std::size_t i = 0; i < topic.size();) {
        const std::size_t n = utf8Length(topic, i);
        if (n == 0)
            return std::string("the topic is not valid UTF-8 text: look at its % escapes");
        const auto b = static_cast<unsigned char>(topic[i]);
        // C0 and C1 control characters, and DEL.
        if (b < 0x20 || b == 0x7F || (b == 0xC2 && static_cast<unsigned char>(topic[i + 1]) < 0xA0))
            return std::string("the topic holds a control character (such as %00 or a line "
                               "break), which brokers refuse");
        i += n;
    }
    if (topic.find_first_of("+#") != std::string::npos)
        return "the topic '" + topic + "' holds a + or a #, which only subscribers use";
    return std::nullopt;
}

} // namespace

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

Result<BrokerUrl> parseBrokerUrl(std::string_view text) {
    BrokerUrl url;
    constexpr std::string_view plain = "mqtt://";
    constexpr std::string_view secure = "mqtts://";
    if (text.starts_with(plain)) {
        text.remove_prefix(plain.size());
    } else if (text.starts_with(secure)) {
        text.remove_prefix(secure.size());
        url.tls = true;
        url.port = kMqttsPort;
    } else {
        return Failure{std::string("the broker URL starts with mqtt:// or mqtts://")};
    }

    const std::size_t slash = text.find('/');
    std::string_view authority = text.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? "" : text.substr(slash + 1);

    // The user's part ends at the last @: a password may hold one unescaped.
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
        const std::size_t colon = userInfo.find(':');
        const auto user = unescape(userInfo.substr(0, colon));
        const auto password =
            unescape(colon == std::string_view::npos ? "" : userInfo.substr(colon + 1));
        if (!user || !password)
            return Failure{std::string("a % in the broker URL is not followed by two hex digits")};
        if (user->empty())
            return Failure{std::string("the broker URL has an @ but no user name before it")};
        if (!isValidUtf8(*user) || user->find('\0') != std::string::npos)
            return Failure{std::string("the user name in the broker URL is not valid UTF-8 text")};
        url.user = *user;
        url.password = *password;
    }

    std::string_view port;
    bool hasPort = false;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return Failure{std::string("the broker's IPv6 address lacks its closing ]")};
        url.host = authority.substr(1, close - 1);
        authority.remove_prefix(close + 1);
        hasPort = authority.starts_with(':');
        if (hasPort)
            port = authority.substr(1);
        else if (!authority.empty())
            return Failure{std::string("the broker URL has text after the IPv6 address")};
    } else {
        const std::size_t colon = authority.find(':');
        url.host = authority.substr(0, colon);
        hasPort = colon != std::string_view::npos;
        if (hasPort)
            port = authority.substr(colon + 1);
    }
    if (url.host.empty())
        return Failure{std::string("the broker URL names no host")};
    if (hasPort) {
        int number = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
        if (port.empty() || error != std::errc() || end != port.data() + port.size() ||
            number < 1 || number > 65535)
            return Failure{"the broker's port is a number from 1 to 65535, not '" +
                           std::string(port) + "'"};
        url.port = number;
    }

    std::string_view topic = path;
    while (topic.ends_with('/'))
        topic.remove_suffix(1);
    const auto decoded = unescape(topic);
    if (!decoded)
        return Failure{std::string("a % in the broker URL is not followed by two hex digits")};
    if (decoded->empty())
        return Failure{std::string("the broker URL names no topic: add it after the host, as in "
                                   "mqtt://broker:1883/orvane/oven-1")};
    if (const auto problem = topicProblem(*decoded))
        return Failure{*problem};
    url.topic = *decoded;
    return url;
}

std::string brokerText(const BrokerUrl& url) {
    std::string text = url.tls ? "mqtts://" : "mqtt://";
    if (!url.user.empty())
        text += url.user + "@";
    text += url.host.find(':') != std::string::npos ? "[" + url.host + "]" : url.host;
    text += ":" + std::to_string(url.port) + "/" + url.topic;
    return text;
}

std::string subtopic(const BrokerUrl& url, std::string_view kind) {
    return url.topic + "/" + std::string(kind);
}
