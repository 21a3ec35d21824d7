#pragma once

#include "ui/base/prompter.h"

#include <QStringList>

// Answers every question with a preset answer, hands out preset paths for the
// file dialogs (an empty one cancels) and remembers what was shown.
class RecordingPrompter : public Prompter {
public:
    explicit RecordingPrompter(QStringList* log, bool answer = false)
        : m_log(log), m_answer(answer) {}

    void information(QWidget*, const QString& text) override { m_log->append(text); }
    void warning(QWidget*, const QString& text) override { m_log->append(text); }
    bool askYesNo(QWidget*, const QString& text) override {
        m_log->append(text);
        return m_answer;
    }
    QString saveFileName(QWidget*, const QString& proposed, const QString&,
                         const QString&) override {
        m_proposed = proposed;
        return m_savePaths.isEmpty() ? QString() : m_savePaths.takeFirst();
    }
    QString openFileName(QWidget*, const QString&, const QString&) override {
        return m_openPaths.isEmpty() ? QString() : m_openPaths.takeFirst();
    }

    QStringList m_savePaths;
    QStringList m_openPaths;
    QString m_proposed;

private:
    QStringList* m_log;
    bool m_answer;
};
