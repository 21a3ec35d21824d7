#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair for tests: the slave side is a real serial device path
// the logger opens; the test writes instrument bytes into the master side.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    bool write(const QByteArray& bytes);
    // What the program wrote into the slave side so far.
    QByteArray read();
    // Hangs up: closes the master side, so the reader sees the line drop.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
