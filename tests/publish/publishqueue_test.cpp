#include "core/files/csvexport.h"
#include "core/publish/publishmessages.h"
#include "core/publish/publishqueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> payloads(const std::vector<QueuedMessage>& messages) {
    std::vector<std::string> out;
    for (const QueuedMessage& m : messages)
        out.push_back(m.payload);
    return out;
}

using Texts = std::vector<std::string>;

TEST(PublishQueue, HandsOutInOrderWithinTheWindowAndKeepsWhatIsNotAcknowledged) {
    PublishQueue q;
    for (const char* p : {"1", "2", "3", "4", "5"})
        ASSERT_TRUE(q.push("reading", p));
    const auto first = q.takeDue(2);
    EXPECT_EQ(payloads(first), (Texts{"1", "2"}));
    EXPECT_TRUE(q.takeDue(2).empty()) << "the window is full";
    // An acknowledgement out of order frees a place but keeps the front.
    q.acknowledge(first[1].id);
    EXPECT_EQ(payloads(q.takeDue(2)), (Texts{"3"}));
    EXPECT_EQ(q.size(), 5u);
    q.acknowledge(first[0].id);
    q.acknowledge(first[0].id); // twice: ignored
    EXPECT_EQ(q.size(), 3u);
    // The connection is lost: what was out and not acknowledged comes first.
    q.connectionLost();
    EXPECT_EQ(payloads(q.takeDue(10)), (Texts{"3", "4", "5"}));
    q.acknowledge(99); // an id never given: ignored
    EXPECT_EQ(q.size(), 3u);
}

TEST(PublishQueue, PastItsCapacityTheOldestGo) {
    PublishQueue q(3);
    EXPECT_EQ(PublishQueue::kDefaultCapacity >= 62000, true) << "an hour at the line's rate";
    for (const char* p : {"1", "2", "3"})
        ASSERT_TRUE(q.push("reading", p));
    const auto out = q.takeDue(1); // "1" is out when it is dropped
    EXPECT_FALSE(q.push("reading", "4"));
    EXPECT_FALSE(q.push("alarm", "5"));
    EXPECT_EQ(q.dropped(), 2u);
    q.acknowledge(out[0].id); // came too late: nothing changes
    EXPECT_EQ(q.size(), 3u);
    EXPECT_EQ(payloads(q.takeDue(1)), (Texts{"3"})) << "the dropped one left the window";
}

TEST(PublishMessages, ReadingsAndAlarmsAsJson) {
    // How a time reads is the CSV's table; here it only has its place.
    const std::int64_t t = 1796648631;
    const std::string at = isoLocalTime(t);
    const auto withTime = [&at](std::string json) {
        return json.replace(json.find("TIME"), 4, at);
    };
    struct Row {
        PublishedReading reading;
        const char* json;
    };
    const std::vector<Row> rows = {
        {{1, t, 23.5f, "C", false}, R"({"n":1,"time":"TIME","value":23.5,"unit":"C","log":false})"},
        {{62001, t, -12.04f, "F", true},
         R"({"n":62001,"time":"TIME","value":-12.0,"unit":"F","log":true})"},
        {{7, t, 3000.0f, "C", true}, R"({"n":7,"time":"TIME","value":null,"unit":"C","log":true})"},
        {{8, t, 0.0f, "C\"\n", false},
         R"({"n":8,"time":"TIME","value":0.0,"unit":"C\"\u000a","log":false})"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(readingJson(row.reading), withTime(row.json));
    EXPECT_NE(readingJson({9, t, 1.0f, "C", false, 5}).find(isoLocalTime(t, 5)), std::string::npos);
    EXPECT_EQ(alarmJson({AlarmLevel::High, 162.5f, "C", 150, t}, 12),
              withTime(R"({"n":12,"state":"high","time":"TIME","value":162.5,)"
                       R"("unit":"C","limit":150})"));
    EXPECT_EQ(alarmJson({AlarmLevel::Normal, 20.0f, "F", -50, t}, 3),
              withTime(R"({"n":3,"state":"normal","time":"TIME","value":20.0,)"
                       R"("unit":"F","limit":-50})"));
}

} // namespace
