#pragma once

#include <QObject>

// Placeholder: the simulated instrument on a pseudo-terminal.
class PtyInstrument : public QObject {
    Q_OBJECT
public:
    explicit PtyInstrument(QObject* parent = nullptr) : QObject(parent) {}
};
