#pragma once

#include "core/viewer/spanstatistics.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QTreeWidget;

// The statistics of the span the viewer shows, as label and value rows.
class StatisticsPanel : public QWidget {
    Q_OBJECT

public:
    explicit StatisticsPanel(QWidget* parent = nullptr);

    void showStatistics(const SpanStatistics& stats, const SpanLimits& limits, const QString& unit);
    // The rows shown, as "label<TAB>value" lines (the report prints them).
    const std::vector<std::pair<QString, QString>>& rows() const { return m_rows; }

    // The rows for `stats`: what the panel and the report show.
    static std::vector<std::pair<QString, QString>>
    rowsFor(const SpanStatistics& stats, const SpanLimits& limits, const QString& unit);

private:
    QLabel* m_text = nullptr;
    std::vector<std::pair<QString, QString>> m_rows;
};

// The alarm episodes of a recording: start, end, duration, limit, extreme.
// Choosing one says so; the viewer then zooms to it.
class EpisodeList : public QWidget {
    Q_OBJECT

public:
    explicit EpisodeList(QWidget* parent = nullptr);

    void setEpisodes(const std::vector<AlarmEpisode>& episodes, const QString& unit);
    QTreeWidget* tree() const { return m_tree; }

    // The cells of one episode's row, as the list and the report show them.
    static QStringList cellsOf(const AlarmEpisode& e, const QString& unit);
    static QStringList headers();

Q_SIGNALS:
    void chosen(const AlarmEpisode& episode);

private:
    QTreeWidget* m_tree = nullptr;
    QLabel* m_note = nullptr;
    std::vector<AlarmEpisode> m_episodes;
};

// A time as the viewer writes it: "2026-12-07 22:00:01.250".
QString viewerTimeText(std::int64_t ms);
