#include "core/publish/publishqueue.h"

#include <algorithm>

bool PublishQueue::push(std::string kind, std::string payload) {
    bool kept = true;
    if (m_entries.size() >= m_nCapacity && !m_entries.empty()) {
        if (m_entries.front().handedOut && !m_entries.front().acknowledged)
            --m_nHandedOut;
        m_entries.pop_front();
        ++m_nDropped;
        kept = false;
    }
    m_entries.push_back({{m_nNextId++, std::move(kind), std::move(payload)}});
    return kept;
}

std::vector<QueuedMessage> PublishQueue::takeDue(std::size_t inFlight) {
    std::vector<QueuedMessage> due;
    for (Entry& e : m_entries) {
        if (m_nHandedOut >= inFlight)
            break;
        if (e.handedOut)
            continue;
        e.handedOut = true;
        ++m_nHandedOut;
        due.push_back(e.message);
    }
    return due;
}

void PublishQueue::acknowledge(std::uint64_t id) {
    // Ids rise along the queue.
    const auto it = std::lower_bound(
        m_entries.begin(), m_entries.end(), id,
        [](const Entry& e, std::uint64_t wanted) { return e.message.id < wanted; });
    if (it == m_entries.end() || it->message.id != id || !it->handedOut || it->acknowledged)
        return;
    it->acknowledged = true;
    --m_nHandedOut;
    while (!m_entries.empty() && m_entries.front().acknowledged)
        m_entries.pop_front();
}

void PublishQueue::connectionLost() {
    for (Entry& e : m_entries)
        e.handedOut = e.acknowledged;
    m_nHandedOut = 0;
}

bool PublishQueue::holds(std::string_view kind) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [kind](const Entry& e) { return !e.handedOut && e.message.kind == kind; });
}
