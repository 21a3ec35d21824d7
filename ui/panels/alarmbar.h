#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QScrollBar;

// The strip under the graph: the graph's horizontal pan bar and the two edits in
// which the user types the high and low alarm limits. Every edit of a limit
// takes effect at once, so the graph follows the number while it is typed.
class AlarmBar : public QWidget {
    Q_OBJECT
public:
    // `alarmHigh` and `alarmLow` are the start limits (from the configuration
    // file); they fill the edits without any notification.
    explicit AlarmBar(int alarmHigh, int alarmLow, QWidget* parent = nullptr);

    // The C library's integer conversion of a limit text: leading blanks, an
    // optional sign, the decimal digits up to the first other character; 0
    // when there are none. Values beyond the int range are clamped to it.
    static int toLimit(const QString& text);
    // Whether `c` may be typed into a limit edit (backspace aside).
    static bool isLimitCharacter(QChar c);

    // The limits the edits hold (their conversion, see toLimit).
    int barAlarmHigh() const;
    int barAlarmLow() const;

    // The graph's pan bar: enabled while the graph is zoomed. The range and
    // the position are set without notification.
    void setPanEnabled(bool enabled);
    void setPanRange(int maximum, int pageStep);
    void setPanPosition(int position);

    QScrollBar* panBar() const { return m_scrollPan; }
    QLineEdit* highEdit() const { return m_editAlarmHigh; }
    QLineEdit* lowEdit() const { return m_editAlarmLow; }
    QLabel* highLabel() const { return m_labelAlarmHigh; }
    QLabel* lowLabel() const { return m_labelAlarmLow; }

Q_SIGNALS:
    // The user changed the text of a limit edit; `value` is its conversion.
    void highLimitEdited(int value);
    void lowLimitEdited(int value);
    // The user moved the pan bar (thumb, arrows or page steps).
    void panMoved(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Drops what could not have been typed (pasted or dropped text) and
    // returns the conversion of what remains.
    static int takeEdit(QLineEdit* edit);

    QScrollBar* m_scrollPan = nullptr;
    QLabel* m_labelAlarmHigh = nullptr;
    QLineEdit* m_editAlarmHigh = nullptr;
    QLabel* m_labelAlarmLow = nullptr;
    QLineEdit* m_editAlarmLow = nullptr;
};
