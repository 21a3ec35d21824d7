#include "ui/panels/textcache.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

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
    Text entry;
    entry.laid.setText(text);
    entry.laid.setTextFormat(Qt::PlainText);
    entry.laid.prepare(QTransform(), font);
    entry.advance = QFontMetricsF(font).horizontalAdvance(text);
    ++m_count;
    return *f->texts.insert(text, entry);
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
        // Static text in opaque mode is drawn without the painter's
        // translation, so the text itself goes transparent.
        p.setBackgroundMode(Qt::TransparentMode);
        p.drawStaticText(x, y, t.laid);
        p.setBackgroundMode(Qt::OpaqueMode);
    } else {
        p.drawStaticText(x, y, t.laid);
    }
}
