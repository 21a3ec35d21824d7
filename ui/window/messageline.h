#pragma once

#include <QString>
#include <QWidget>

#include <map>

class QLabel;
class QToolButton;

// What a message is about: one message per topic at a time, a newer one
// replacing the older.
enum class MessageTopic { Line, Port, Silence, Journal, Alarm, File, Simulator, Broker, Limits };

enum class MessageLevel { Information, Warning, Error };

// The window's message line: a row for each message that is true now, with an
// icon for its level, the whole text and a close button; hidden when there is
// none. It never takes the focus by itself (Tab reaches the close buttons) and
// never waits for an answer. To screen readers each row is an alert named with
// its text, announced when it is shown or its text changes.
class MessageLine : public QWidget {
    Q_OBJECT
public:
    explicit MessageLine(QWidget* parent = nullptr);

    void showMessage(MessageTopic topic, const QString& text, MessageLevel level);
    void clearMessage(MessageTopic topic);

    // The text shown for `topic` (empty when none), and its level.
    QString text(MessageTopic topic) const;
    MessageLevel level(MessageTopic topic) const;
    bool isEmpty() const { return m_rows.empty(); }

    // Lays the line out at `topLeft` of its parent, `width` pixels wide, as
    // high as its rows need.
    void place(QPoint topLeft, int width);

Q_SIGNALS:
    // The user closed the message of `topic`.
    void dismissed(MessageTopic topic);
    // The line was laid out again: shown, hidden or of another height.
    void laidOut();

private:
    struct Row {
        QWidget* frame = nullptr;
        QLabel* icon = nullptr;
        QLabel* label = nullptr;
        QToolButton* close = nullptr;
        MessageLevel level = MessageLevel::Information;
    };
    Row makeRow(MessageTopic topic);
    void styleRow(Row& row, MessageLevel level);
    void announce(const Row& row, bool shownBefore);
    void relayout();

    std::map<MessageTopic, Row> m_rows; // in the order of the topics, top down
    QPoint m_ptTopLeft;
    int m_nWidth = 0;
};
