#include "ui/panels/textcache.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <limits>

TextCache::FontTexts& TextCache::forFont(const QFont& font) {
    // Painters and style options hand the same font over and over as copies
    // of one another, which is a pointer comparison.
    if (m_lastTexts && font.isCopyOf(m_lastFont))
        return *m_lastTexts;
    auto it = m_byFont.find(font);
    if (it == m_byFont.end()) {
        const QFontMetricsF exact(font);
        it = m_byFont.insert(
            font, FontTexts{{QFontMetrics(font).ascent(), exact.ascent(), exact.descent()}, {}});
    }
    m_lastFont = font;
    m_lastTexts = &*it;
    return *it;
}

const TextCache::Metrics& TextCache::metrics(const QFont& font) {
    return forFont(font).metrics;
}

const TextCache::Text& TextCache::get(const QFont& font, const QString& text) {
    FontTexts* f = &forFont(font);
    auto it = f->texts.constFind(text);
    if (it != f->texts.constEnd())
        return *it;
    if (m_count >= m_capacity) {
        m_byFont.clear();
        m_lastTexts = nullptr;
        m_count = 0;
        f = &forFont(font);
    }
    // One line, laid out as QPainter::drawText lays out plain text.
    QTextLayout layout(text, font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(std::numeric_limits<int>::max() / 256);
    layout.endLayout();
    Text entry;
    entry.glyphs = layout.glyphRuns();
    entry.advance = line.horizontalAdvance();
    ++m_count;
    return *f->texts.insert(text, entry);
}

void TextCache::Text::draw(QPainter& p, QPointF at) const {
    for (const QGlyphRun& run : glyphs)
        p.drawGlyphRun(at, run);
}

QRectF TextCache::Text::ink() const {
    if (m_inkKnown)
        return m_ink;
    QRectF ink;
    for (const QGlyphRun& run : glyphs) {
        const QRawFont font = run.rawFont();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < qMin(indexes.size(), positions.size()); ++i) {
            const QRectF box = font.boundingRect(indexes[i]);
            if (!box.isEmpty())
                ink |= box.translated(positions[i]);
        }
    }
    m_ink = ink;
    m_inkKnown = true;
    return ink;
}

void drawCachedText(QPainter& p, TextCache& cache, const QFont& font, int x, int y,
                    const QString& text) {
    if (text.isEmpty())
        return;
    const TextCache::Text& t = cache.get(font, text);
    p.setFont(font);
    if (p.backgroundMode() == Qt::OpaqueMode) {
        // The box plain text fills: from the exact ascent above the baseline
        // to the exact descent below it, one advance wide.
        const TextCache::Metrics& m = cache.metrics(font);
        p.fillRect(
            QRectF(x, y + m.ascent - m.exactAscent, t.advance, m.exactAscent + m.exactDescent),
            p.background());
        // The glyphs themselves go on transparently over it.
        p.setBackgroundMode(Qt::TransparentMode);
        t.draw(p, QPointF(x, y));
        p.setBackgroundMode(Qt::OpaqueMode);
    } else {
        t.draw(p, QPointF(x, y));
    }
}
