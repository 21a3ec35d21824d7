#pragma once

#include "core/result.h"

#include <cstddef>
#include <string>
#include <string_view>

// Where readings are published: mqtt://[user[:password]@]host[:port]/topic,
// or mqtts:// for a connection over TLS. The topic is the path after the
// host; the messages go to its subtopics reading, alarm and status.
struct BrokerUrl {
    bool tls = false;
    std::string user;
    std::string password;
    std::string host; // a name or an address; an IPv6 address without its brackets
    int port = 1883;
    std::string topic;

    friend bool operator==(const BrokerUrl&, const BrokerUrl&) = default;
};

inline constexpr int kMqttPort = 1883;
inline constexpr int kMqttsPort = 8883;
// The longest topic MQTT carries, in bytes, and the most a subtopic adds to
// the one given ("/reading").
inline constexpr std::size_t kMaxTopicBytes = 65535;
inline constexpr std::size_t kLongestSubtopic = 8;

// Reads a broker URL. User, password and topic may hold %XX escapes (a
// password with @ or / in it). Fails with a phrase saying what is wrong,
// also for a topic a broker would refuse: not UTF-8, with a control
// character, a + or a #, or too long.
Result<BrokerUrl> parseBrokerUrl(std::string_view text);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view text);

// The broker's address for messages, never with the password:
// "mqtt://anna@broker:1883/orvane/oven-1".
std::string brokerText(const BrokerUrl& url);

// The topic a kind of message goes to: "orvane/oven-1/reading".
std::string subtopic(const BrokerUrl& url, std::string_view kind);
