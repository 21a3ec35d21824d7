#pragma once

#include "app/prompter.h"

#include <QStringList>

// Answers every question with a preset answer and remembers what was shown.
class RecordingPrompter : public Prompter {
public:
    explicit RecordingPrompter(QStringList* log, bool answer = false) : m_log(log), m_answer(answer) {}

    void information(QWidget*, const QString& text) override { m_log->append(text); }
    void warning(QWidget*, const QString& text) override { m_log->append(text); }
    bool askYesNo(QWidget*, const QString& text) override
    {
        m_log->append(text);
        return m_answer;
    }

private:
    QStringList* m_log;
    bool m_answer;
};
