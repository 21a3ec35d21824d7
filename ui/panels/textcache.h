#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

// Texts laid out once per font and kept, so that a repaint only draws glyphs.
// A text is shaped once: its glyphs, its advance and its ink all come from
// that one layout.
// Readings repeat, captions never change, and a screenful needs at most a
// few hundred texts; past the capacity the cache starts again. A laid-out text
// costs a few hundred bytes, so the capacity stays near what one screen shows:
// the panel and the graph's labels show a few dozen texts at once.
class TextCache {
public:
    struct Text {
        QList<QGlyphRun> glyphs; // placed from the text cell's top-left corner
        qreal advance = 0;
        // Draws the glyphs with the painter's pen, the cell's top-left corner at `at`.
        void draw(QPainter& p, QPointF at) const;
        // The glyphs' bounding boxes together, from the cell's top-left
        // corner (empty for blanks); worked out when first asked.
        QRectF ink() const;

    private:
        mutable QRectF m_ink;
        mutable bool m_inkKnown = false;
    };
    struct Metrics {
        int ascent = 0; // whole pixels, as QFontMetrics gives it
        qreal exactAscent = 0;
        qreal exactDescent = 0;
    };

    explicit TextCache(qsizetype capacity = 256) : m_capacity(capacity) {}

    const Text& get(const QFont& font, const QString& text);
    const Metrics& metrics(const QFont& font);

    qsizetype size() const { return m_count; }

private:
    struct FontTexts {
        Metrics metrics;
        QHash<QString, Text> texts;
    };
    FontTexts& forFont(const QFont& font);

    qsizetype m_capacity;
    qsizetype m_count = 0;
    QHash<QFont, FontTexts> m_byFont;
    QFont m_lastFont;                 // the font looked up last
    FontTexts* m_lastTexts = nullptr; // and its entry
};

// Draws `text` of `font` with its top-left corner at (x, y) exactly as
// QPainter::drawText at the baseline y + ascent does, including the
// background box in opaque mode.
void drawCachedText(QPainter& p, TextCache& cache, const QFont& font, int x, int y,
                    const QString& text);
