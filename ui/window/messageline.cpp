#include "ui/window/messageline.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int kIconSize = 16;
constexpr int kRowGap = 2;
constexpr const char* kRowName = "messageRow";

struct LevelLook {
    const char* background;
    const char* border;
    QStyle::StandardPixmap icon;
};

LevelLook lookOf(MessageLevel level) {
    switch (level) {
    case MessageLevel::Information:
        return {"#e3f0fb", "#3d8bd1", QStyle::SP_MessageBoxInformation};
    case MessageLevel::Warning:
        return {"#fdf0d5", "#e08a00", QStyle::SP_MessageBoxWarning};
    case MessageLevel::Error:
        return {"#f9dede", "#c9302c", QStyle::SP_MessageBoxCritical};
    }
    return lookOf(MessageLevel::Information);
}

const char* levelName(MessageLevel level) {
    switch (level) {
    case MessageLevel::Information:
        return "Information";
    case MessageLevel::Warning:
        return "Warning";
    case MessageLevel::Error:
        return "Error";
    }
    return "";
}

// A row is an alert to screen readers, named with its whole text.
QAccessibleInterface* rowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("QWidget") && object->objectName() == QLatin1String(kRowName))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

} // namespace

MessageLine::MessageLine(QWidget* parent) : QWidget(parent) {
    static const bool accessible = [] {
        QAccessible::installFactory(&rowAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    setAccessibleName(tr("Messages"));
    setFocusPolicy(Qt::NoFocus);
    hide();
}

MessageLine::Row MessageLine::makeRow(MessageTopic topic) {
    Row row;
    row.frame = new QWidget(this);
    row.frame->setObjectName(QLatin1String(kRowName));
    row.frame->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QHBoxLayout(row.frame);
    layout->setContentsMargins(8, 4, 4, 4);
    layout->setSpacing(8);
    row.icon = new QLabel(row.frame);
    row.icon->setFixedSize(kIconSize, kIconSize);
    row.label = new QLabel(row.frame);
    row.label->setTextFormat(Qt::PlainText);
    row.label->setWordWrap(true);
    // A device path or a file name can be copied from it.
    row.label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row.label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    row.close = new QToolButton(row.frame);
    row.close->setAutoRaise(true);
    // Reached with Tab (Space closes the message); never focused by itself.
    row.close->setFocusPolicy(Qt::TabFocus);
    row.close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    row.close->setIconSize(QSize(12, 12));
    row.close->setToolTip(tr("Close"));
    row.close->setAccessibleName(tr("Close this message"));
    layout->addWidget(row.icon, 0, Qt::AlignTop);
    layout->addWidget(row.label, 1);
    layout->addWidget(row.close, 0, Qt::AlignTop);
    connect(row.close, &QToolButton::clicked, this, [this, topic] {
        clearMessage(topic);
        Q_EMIT dismissed(topic);
    });
    return row;
}

void MessageLine::styleRow(Row& row, MessageLevel level) {
    const LevelLook look = lookOf(level);
    row.level = level;
    row.frame->setStyleSheet(
        QStringLiteral("#messageRow { background: %1; border: 1px solid %2; border-radius: 4px; }")
            .arg(QLatin1String(look.background), QLatin1String(look.border)));
    row.icon->setPixmap(style()->standardIcon(look.icon).pixmap(kIconSize, kIconSize));
}

void MessageLine::showMessage(MessageTopic topic, const QString& text, MessageLevel level) {
    auto it = m_rows.find(topic);
    if (it == m_rows.end())
        it = m_rows.emplace(topic, makeRow(topic)).first;
    Row& row = it->second;
    const bool shown = row.frame->isVisible();
    if (row.label->text() == text && row.level == level && shown)
        return;
    row.label->setText(text);
    row.frame->setAccessibleName(text);
    row.frame->setAccessibleDescription(QLatin1String(levelName(level)));
    styleRow(row, level);
    relayout();
    announce(row, shown);
}

void MessageLine::announce(const Row& row, bool shownBefore) {
    if (!QAccessible::isActive())
        return;
    // Screen readers speak an alert as it comes into view: a new row comes
    // into view by itself, a new text in a row already shown is made to come
    // into view again. Some readers listen for the alert event instead.
    if (shownBefore) {
        QAccessibleEvent again(row.frame, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&again);
    }
    QAccessibleEvent alert(row.frame, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void MessageLine::clearMessage(MessageTopic topic) {
    const auto it = m_rows.find(topic);
    if (it == m_rows.end())
        return;
    // Deleted later: the close button that asked for it is still in its signal.
    it->second.frame->hide();
    it->second.frame->deleteLater();
    m_rows.erase(it);
    relayout();
}

QString MessageLine::text(MessageTopic topic) const {
    const auto it = m_rows.find(topic);
    return it == m_rows.end() ? QString() : it->second.label->text();
}

MessageLevel MessageLine::level(MessageTopic topic) const {
    const auto it = m_rows.find(topic);
    return it == m_rows.end() ? MessageLevel::Information : it->second.level;
}

void MessageLine::place(QPoint topLeft, int width) {
    m_ptTopLeft = topLeft;
    m_nWidth = width;
    relayout();
}

void MessageLine::relayout() {
    int y = 0;
    for (auto& [topic, row] : m_rows) {
        const int h = row.frame->layout()->totalHeightForWidth(m_nWidth);
        row.frame->setGeometry(0, y, m_nWidth, h);
        row.frame->show();
        y += h + kRowGap;
    }
    setGeometry(m_ptTopLeft.x(), m_ptTopLeft.y(), m_nWidth, qMax(0, y - kRowGap));
    setVisible(!m_rows.empty());
    if (!m_rows.empty())
        raise();
    Q_EMIT laidOut();
}
