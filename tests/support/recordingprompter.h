#pragma once

#include "ui/base/prompter.h"

#include <QStringList>

#include <functional>

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
    QString saveFileName(QWidget*, const QString& proposed, const QString& filter,
                         const QString&) override {
        m_proposed = proposed;
        m_filters = QStringList{filter};
        return m_savePaths.isEmpty() ? QString() : m_savePaths.takeFirst();
    }
    QString openFileName(QWidget*, const QString& folder, const QString& filter,
                         const QString&) override {
        m_openFolder = folder;
        m_filters = QStringList{filter};
        return m_openPaths.isEmpty() ? QString() : m_openPaths.takeFirst();
    }
    // Takes the filter m_filterChoice (-1: the one offered first).
    QString saveFileNameAs(QWidget*, const QString& proposed, const QStringList& filters,
                           int& chosen, const QString&) override {
        m_proposed = proposed;
        m_filters = filters;
        m_offeredFilter = chosen;
        if (m_whileAsking)
            m_whileAsking();
        if (m_filterChoice >= 0)
            chosen = m_filterChoice;
        return m_savePaths.isEmpty() ? QString() : m_savePaths.takeFirst();
    }

    QString folderName(QWidget*, const QString&, const QString& folder) override {
        m_folderStart = folder;
        return m_folderPaths.isEmpty() ? QString() : m_folderPaths.takeFirst();
    }

    QStringList m_savePaths;
    QStringList m_folderPaths;
    QString m_folderStart;
    QStringList m_openPaths;
    QString m_proposed;
    QString m_openFolder;
    QStringList m_filters;
    int m_offeredFilter = -1;
    int m_filterChoice = -1;
    std::function<void()> m_whileAsking; // what happens while the dialog is open

private:
    QStringList* m_log;
    bool m_answer;
};
