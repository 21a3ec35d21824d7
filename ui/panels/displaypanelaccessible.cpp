#include "ui/panels/displaypanelaccessible.h"

#include "ui/panels/cdisplaypanel.h"

namespace {

// One figure of the face: a read-only text inside the panel.
class FieldAccessible : public QAccessibleInterface {
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
            return figure.name;
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

private:
    CDisplayPanel* panel() const { return qobject_cast<CDisplayPanel*>(m_parent->object()); }

    QAccessibleInterface* m_parent;
    int m_index;
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
    return nullptr;
}

CDisplayPanel* DisplayPanelAccessible::panel() const {
    return static_cast<CDisplayPanel*>(widget());
}

QString DisplayPanelAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return QStringLiteral("Instrument display");
    case QAccessible::Description: {
        // Everything at once, for a reader that reads the panel alone.
        QStringList figures;
        for (int i = 0; i < kFields; ++i) {
            const CDisplayPanel::Figure figure = panel()->figure(i);
            figures << figure.name + QLatin1Char(' ') +
                           (figure.value.isEmpty() ? QStringLiteral("none") : figure.value);
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
