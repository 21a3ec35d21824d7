#include "ui/panels/displaypanelaccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <algorithm>

namespace {

// One figure of the face: a read-only text inside the panel.
class FieldAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    FieldAccessible(QAccessibleInterface* parent, int index) : m_parent(parent), m_index(index) {}

    bool isValid() const override { return panel() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_parent->window(); }
    QAccessibleInterface* parent() const override { return m_parent; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = !panel() || !panel()->isVisible();
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (!panel())
            return QString();
        const CDisplayPanel::Figure figure = panel()->figure(m_index);
        switch (t) {
        case QAccessible::Name:
            return figure.value.isEmpty() ? figure.name
                                          : figure.name + QStringLiteral(": ") + figure.value;
        case QAccessible::Value:
            return figure.value;
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!panel())
            return QRect();
        const QRect local = panel()->figure(m_index).area;
        return QRect(panel()->mapToGlobal(local.topLeft()), local.size());
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : nullptr;
    }

    // The text is the value, read-only, without a caret or a selection.
    QString text(int startOffset, int endOffset) const override {
        return value().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(value().size()); }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    CDisplayPanel* panel() const { return qobject_cast<CDisplayPanel*>(m_parent->object()); }
    QString value() const { return panel() ? panel()->figure(m_index).value : QString(); }

    QAccessibleInterface* m_parent;
    int m_index;
};

// The sample-rate selector, named after what it selects. (A combo box is
// otherwise named after the item it shows.)
class SampleRateBoxAccessible : public QAccessibleWidget {
public:
    explicit SampleRateBoxAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    // Its one child is the list it drops down.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override {
        if (actionName != showMenuAction())
            QAccessibleWidget::doAction(actionName);
        else if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

} // namespace

DisplayPanelAccessible::DisplayPanelAccessible(CDisplayPanel* panel)
    : QAccessibleWidget(panel, QAccessible::Pane) {}

DisplayPanelAccessible::~DisplayPanelAccessible() {
    for (const QAccessible::Id id : m_fields)
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* DisplayPanelAccessible::create(const QString& className, QObject* object) {
    if (className == QLatin1String(CDisplayPanel::staticMetaObject.className()))
        return new DisplayPanelAccessible(static_cast<CDisplayPanel*>(object));
    if (className == QLatin1String("QComboBox") && qobject_cast<CDisplayPanel*>(object->parent()) &&
        object->objectName() == QLatin1String("sampleRateBox"))
        return new SampleRateBoxAccessible(static_cast<QComboBox*>(object));
    return nullptr;
}

CDisplayPanel* DisplayPanelAccessible::panel() const {
    return static_cast<CDisplayPanel*>(widget());
}

QString DisplayPanelAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return QCoreApplication::translate("DisplayPanel", "Instrument display");
    case QAccessible::Description: {
        // The figures that change with a reading (the reading to the
        // minimum) at once, for a reader that reads the panel alone.
        constexpr int kReadingFigures = 6;
        QStringList figures;
        for (int i = 0; i < kReadingFigures; ++i) {
            const CDisplayPanel::Figure figure = panel()->figure(i);
            figures << figure.name + QLatin1Char(' ') +
                           (figure.value.isEmpty()
                                ? QCoreApplication::translate("DisplayPanel", "none")
                                : figure.value);
        }
        return figures.join(QStringLiteral(", "));
    }
    default:
        return QAccessibleWidget::text(t);
    }
}

int DisplayPanelAccessible::childCount() const {
    return kFields + QAccessibleWidget::childCount();
}

QAccessibleInterface* DisplayPanelAccessible::child(int index) const {
    if (index < 0)
        return nullptr;
    if (index >= kFields)
        return QAccessibleWidget::child(index - kFields);
    auto& id = m_fields[static_cast<std::size_t>(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(
            new FieldAccessible(const_cast<DisplayPanelAccessible*>(this), index));
    return QAccessible::accessibleInterface(id);
}

int DisplayPanelAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < kFields; ++i)
        if (m_fields[static_cast<std::size_t>(i)] != 0 &&
            QAccessible::accessibleInterface(m_fields[static_cast<std::size_t>(i)]) == child)
            return i;
    const int index = QAccessibleWidget::indexOfChild(child);
    return index < 0 ? -1 : index + kFields;
}

FigureNotices::FigureNotices(CDisplayPanel* panel) : QObject(panel), m_panel(panel) {
    m_timer.setSingleShot(true);
    // Never early: a coarse timer may fire a little before its time.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FigureNotices::send);
}

void FigureNotices::changed() {
    if (!QAccessible::isActive() || m_timer.isActive())
        return;
    const qint64 since = m_sinceSent.isValid() ? m_sinceSent.elapsed() : kGapMs;
    m_timer.start(int(std::max<qint64>(0, kGapMs - since)));
}

void FigureNotices::send() {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(m_panel);
    if (!face)
        return;
    bool told = false;
    for (int i = 0; i < CDisplayPanel::kFigures; ++i) {
        const CDisplayPanel::Figure figure = m_panel->figure(i);
        QString& last = m_told[static_cast<std::size_t>(i)];
        if (figure.quiet || figure.value == last)
            continue;
        QAccessibleInterface* field = face->child(i);
        QAccessibleTextUpdateEvent text(field, 0, last, figure.value);
        QAccessible::updateAccessibility(&text);
        QAccessibleEvent name(field, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
        last = figure.value;
        told = true;
    }
    if (told) {
        QAccessibleEvent summary(m_panel, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&summary);
        m_sinceSent.restart();
    }
}
