#pragma once

#include "core/viewer/spanstatistics.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class RecordingSeries;

// What the report of a span says: a header (the files, the period, the unit,
// the limits), the graph of the span, its statistics, its alarm episodes and,
// when asked for, the table of its samples; "Page n of m" on every page.
struct SpanReport {
    QStringList files;
    QString period; // "first to last"
    QString unit;
    SpanLimits limits;
    std::vector<std::pair<QString, QString>> statistics;
    std::vector<AlarmEpisode> episodes;
    std::size_t episodeCount = 0;
    // Draws the graph of the span into a rectangle of the given size at the origin.
    std::function<void(QPainter&, QSize)> drawGraph;
    // The samples of the table, [first, last) of `series`; none when it is null.
    const RecordingSeries* series = nullptr;
    std::size_t first = 0;
    std::size_t last = 0;
};

// The pages, for `device` (a printer, a PDF writer); the number of pages.
int printSpanReport(QPagedPaintDevice& device, const SpanReport& report);
