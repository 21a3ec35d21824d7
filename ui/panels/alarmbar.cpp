#include "ui/panels/alarmbar.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include <climits>
#include <cstdlib>

namespace {

// Controls at two pixels per template unit across and down.
constexpr int kUnit = 2;
QRect templateRect(int x, int y, int w, int h) {
    return QRect(x * kUnit, y * kUnit, w * kUnit, h * kUnit);
}

} // namespace

AlarmBar::AlarmBar(int alarmHigh, int alarmLow, QWidget* parent)
    : QWidget(parent), m_scrollPan(new QScrollBar(Qt::Horizontal, this)),
      m_labelAlarmHigh(new QLabel(QStringLiteral("AlarmHI:"), this)),
      m_editAlarmHigh(new QLineEdit(this)),
      m_labelAlarmLow(new QLabel(QStringLiteral("Lo:"), this)),
      m_editAlarmLow(new QLineEdit(this)) {
    setAccessibleName(tr("Alarm limits"));
    m_scrollPan->setAccessibleName(tr("Pan the zoomed graph"));
    m_editAlarmHigh->setAccessibleName(tr("High alarm limit"));
    m_editAlarmLow->setAccessibleName(tr("Low alarm limit"));
    m_labelAlarmHigh->setBuddy(m_editAlarmHigh);
    m_labelAlarmLow->setBuddy(m_editAlarmLow);
    // The keyboard pans the zoomed graph too (arrows, Page Up/Down, Home, End).
    m_scrollPan->setFocusPolicy(Qt::TabFocus);
    m_scrollPan->setGeometry(templateRect(0, 0, 280, 8));
    m_scrollPan->setEnabled(false);
    m_labelAlarmHigh->setGeometry(templateRect(146, 9, 29, 11));
    m_editAlarmHigh->setGeometry(templateRect(176, 8, 40, 12));
    m_labelAlarmLow->setGeometry(templateRect(219, 9, 14, 11));
    m_editAlarmLow->setGeometry(templateRect(234, 8, 45, 12));

    // Filled before the edit notifications are connected: the start values are
    // no user's edit.
    m_editAlarmHigh->setText(QString::number(alarmHigh));
    m_editAlarmLow->setText(QString::number(alarmLow));

    connect(m_editAlarmHigh, &QLineEdit::textEdited, this,
            [this] { Q_EMIT highLimitEdited(takeEdit(m_editAlarmHigh)); });
    connect(m_editAlarmLow, &QLineEdit::textEdited, this,
            [this] { Q_EMIT lowLimitEdited(takeEdit(m_editAlarmLow)); });

    connect(m_scrollPan, &QScrollBar::valueChanged, this, &AlarmBar::panMoved);

    m_editAlarmHigh->installEventFilter(this);
    m_editAlarmLow->installEventFilter(this);
    installEventFilter(this);
}

int AlarmBar::barAlarmHigh() const {
    return toLimit(m_editAlarmHigh->text());
}

int AlarmBar::barAlarmLow() const {
    return toLimit(m_editAlarmLow->text());
}

void AlarmBar::setPanEnabled(bool enabled) {
    m_scrollPan->setEnabled(enabled);
}

void AlarmBar::setPanRange(int maximum, int pageStep) {
    const QSignalBlocker quiet(m_scrollPan);
    m_scrollPan->setRange(0, maximum);
    m_scrollPan->setPageStep(pageStep);
}

void AlarmBar::setPanPosition(int position) {
    const QSignalBlocker quiet(m_scrollPan);
    m_scrollPan->setValue(position);
}

int AlarmBar::toLimit(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    const long v = std::strtol(bytes.constData(), nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

bool AlarmBar::isLimitCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
           c == QLatin1Char('.');
}

int AlarmBar::takeEdit(QLineEdit* edit) {
    const QString text = edit->text();
    QString kept;
    kept.reserve(text.size());
    int cursor = edit->cursorPosition();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLimitCharacter(text[i]))
            kept.append(text[i]);
        else if (i < edit->cursorPosition())
            --cursor;
    }
    if (kept != text) {
        edit->setText(kept);
        edit->setCursorPosition(cursor);
    }
    return toLimit(kept);
}

bool AlarmBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Enter and Escape neither close nor hide the bar.
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape)
        return true;
    if (watched != m_editAlarmHigh && watched != m_editAlarmLow)
        return QWidget::eventFilter(watched, event);
    // Of the typed characters only digits, '-', '.' and backspace reach the
    // edit. Keys that type nothing (arrows, Delete, Home) and the clipboard and
    // undo shortcuts go through; pasted or dropped text is filtered when it
    // arrives, character by character, as if it had been typed.
    if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Copy) ||
        key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Undo) ||
        key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll))
        return QWidget::eventFilter(watched, event);
    for (const QChar c : key->text())
        if (c.isPrint() && !isLimitCharacter(c))
            return true;
    return QWidget::eventFilter(watched, event);
}
