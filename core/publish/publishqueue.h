#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// A message waiting for the broker: the subtopic it goes to ("reading",
// "alarm") and its payload.
struct QueuedMessage {
    std::uint64_t id = 0; // in the order of push(), from 1
    std::string kind;
    std::string payload;
};

// The messages the broker has not yet acknowledged, oldest first. Messages
// are handed out in order, a few at a time, and stay until the broker
// acknowledges them; after a lost connection the ones handed out are handed
// out again. Past the capacity the oldest go.
class PublishQueue {
public:
    // An hour of readings at the line's rate (one each 58.3 ms), and more.
    static constexpr std::size_t kDefaultCapacity = 64000;

    explicit PublishQueue(std::size_t capacity = kDefaultCapacity) : m_nCapacity(capacity) {}

    // Adds a message; false when the oldest had to go to make room.
    bool push(std::string kind, std::string payload);
    // The next messages to send, in order, so that at most `inFlight` are
    // handed out and not acknowledged.
    std::vector<QueuedMessage> takeDue(std::size_t inFlight);
    // The broker acknowledged message `id` (an id that has gone is ignored).
    void acknowledge(std::uint64_t id);
    // The connection is gone: what was handed out and not acknowledged is due
    // again, first.
    void connectionLost();

    // A message of `kind` waits to be handed out.
    bool holds(std::string_view kind) const;

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    // Messages dropped to stay within the capacity, since the start.
    std::uint64_t dropped() const { return m_nDropped; }

private:
    struct Entry {
        QueuedMessage message;
        bool handedOut = false;
        bool acknowledged = false;
    };

    std::deque<Entry> m_entries;
    std::size_t m_nCapacity;
    std::size_t m_nHandedOut = 0; // entries handed out and not acknowledged
    std::uint64_t m_nNextId = 1;
    std::uint64_t m_nDropped = 0;
};
