#include "ui/viewer/spanreport.h"

#include "core/viewer/recordingseries.h"
#include "ui/viewer/spanpanels.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

// The report's texts in the user's language.
struct ReportText {
    Q_DECLARE_TR_FUNCTIONS(ReportText)
};

// One line of the report, or the graph: its height, and how to draw it at y.
struct Block {
    int height = 0;
    std::function<void(QPainter&, int y, int width)> draw;
};

constexpr int kLine = 16;
constexpr int kFooter = 24;

QFont pixelFont(int size, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(size);
    font.setBold(bold);
    return font;
}

void drawCells(QPainter& p, int y, int width, const QStringList& cells, bool bold) {
    p.setFont(pixelFont(11, bold));
    const int columns = int(cells.size());
    for (int c = 0; c < columns; ++c) {
        const QRect cell(c * width / columns, y, width / columns - 4, kLine);
        p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, cells[c]);
    }
}

} // namespace

int printSpanReport(QPagedPaintDevice& device, const SpanReport& report) {
    QPainter painter;
    const QRect page = QRect(QPoint(0, 0), QSize(device.width(), device.height()));
    const int width = page.width();
    const int usable = page.height() - kFooter;

    std::vector<Block> blocks;
    const auto text = [&](const QString& line, int size = 11, bool bold = false) {
        blocks.push_back({size + 7, [line, size, bold](QPainter& p, int y, int w) {
                              p.setFont(pixelFont(size, bold));
                              p.drawText(QRect(0, y, w, size + 7), Qt::AlignLeft | Qt::AlignVCenter,
                                         line);
                          }});
    };
    const auto gap = [&](int h) { blocks.push_back({h, [](QPainter&, int, int) {}}); };

    text(ReportText::tr("Orvane recording report"), 18, true);
    gap(6);
    text(ReportText::tr("Files: %1").arg(report.files.join(QStringLiteral(", "))));
    text(ReportText::tr("Period: %1").arg(report.period));
    text(ReportText::tr("Unit: %1")
             .arg(report.unit.isEmpty() ? ReportText::tr("none") : report.unit));
    const QLocale locale;
    const auto limit = [&](const std::optional<double>& v) {
        return v ? locale.toString(*v, 'f', 1) : ReportText::tr("none");
    };
    text(ReportText::tr("Limits: high %1, low %2")
             .arg(limit(report.limits.high), limit(report.limits.low)));
    gap(8);
    const int graphHeight = std::min(360, usable / 3);
    if (report.drawGraph)
        blocks.push_back({graphHeight, [&report, graphHeight](QPainter& p, int y, int w) {
                              p.save();
                              p.translate(0, y);
                              report.drawGraph(p, QSize(w, graphHeight));
                              p.restore();
                          }});
    gap(10);
    text(ReportText::tr("Statistics"), 13, true);
    for (const auto& [label, value] : report.statistics)
        blocks.push_back({kLine, [label, value](QPainter& p, int y, int w) {
                              drawCells(p, y, w, {label, value}, false);
                          }});
    gap(10);
    text(ReportText::tr("Alarm episodes: %1").arg(locale.toString(qulonglong(report.episodeCount))),
         13, true);
    const QStringList episodeHeader = EpisodeList::headers();
    if (!report.episodes.empty())
        blocks.push_back({kLine, [episodeHeader](QPainter& p, int y, int w) {
                              drawCells(p, y, w, episodeHeader, true);
                          }});
    for (const AlarmEpisode& e : report.episodes) {
        const QStringList cells = EpisodeList::cellsOf(e, report.unit);
        blocks.push_back(
            {kLine, [cells](QPainter& p, int y, int w) { drawCells(p, y, w, cells, false); }});
    }
    if (report.episodes.size() < report.episodeCount)
        text(ReportText::tr("(the first %1 are listed)")
                 .arg(locale.toString(qulonglong(report.episodes.size()))));
    if (report.series) {
        gap(10);
        text(ReportText::tr("Samples"), 13, true);
        const QStringList header{ReportText::tr("No."), ReportText::tr("Time"),
                                 ReportText::tr("Value")};
        blocks.push_back(
            {kLine, [header](QPainter& p, int y, int w) { drawCells(p, y, w, header, true); }});
        const RecordingSeries& s = *report.series;
        for (std::size_t i = report.first; i < report.last; ++i) {
            const QString value = s.hasValue(i) ? locale.toString(double(s.value(i)), 'f', 1)
                                                : ReportText::tr("no value");
            const QStringList cells{locale.toString(qulonglong(i - report.first + 1)),
                                    viewerTimeText(s.time(i)), value};
            blocks.push_back(
                {kLine, [cells](QPainter& p, int y, int w) { drawCells(p, y, w, cells, false); }});
        }
    }

    // Pages first, so that every page can say how many there are.
    std::vector<std::size_t> pageStarts{0};
    int y = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (y + blocks[i].height > usable && y > 0) {
            pageStarts.push_back(i);
            y = 0;
        }
        y += blocks[i].height;
    }
    const int pages = int(pageStarts.size());
    if (!painter.begin(&device))
        return 0;
    for (int n = 0; n < pages; ++n) {
        if (n > 0)
            device.newPage();
        const std::size_t end = n + 1 < pages ? pageStarts[std::size_t(n) + 1] : blocks.size();
        int at = 0;
        for (std::size_t i = pageStarts[std::size_t(n)]; i < end; ++i) {
            blocks[i].draw(painter, at, width);
            at += blocks[i].height;
        }
        painter.setFont(pixelFont(10));
        painter.drawText(QRect(0, page.height() - kFooter + 6, width, kFooter - 6),
                         Qt::AlignHCenter | Qt::AlignVCenter,
                         ReportText::tr("Page %1 of %2").arg(n + 1).arg(pages));
    }
    painter.end();
    return pages;
}
