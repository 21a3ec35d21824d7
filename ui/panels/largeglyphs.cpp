#include "ui/panels/largeglyphs.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <cmath>

size_t qHash(const LargeGlyphs::Key& key, size_t seed) {
    return qHashMulti(seed, key.font, key.character, key.sixtyFourths, key.colour);
}

const LargeGlyphs::Picture& LargeGlyphs::picture(const Key& key) {
    if (const auto it = m_pictures.constFind(key); it != m_pictures.constEnd())
        return *it;
    if (m_pictures.size() >= m_capacity)
        m_pictures.clear();
    // The outline drawText fills, started as far past the pixel as in the
    // text; the fill with antialiasing, as drawText makes it.
    QPainterPath outline;
    outline.setFillRule(Qt::WindingFill);
    outline.addText(QPointF(key.sixtyFourths / 64.0, 0), key.font, QString(QChar(key.character)));
    Picture made;
    const QRect bounds = outline.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    if (!bounds.isEmpty()) {
        made.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        made.image.fill(Qt::transparent);
        made.offset = bounds.topLeft();
        {
            QPainter p(&made.image);
            p.setRenderHint(QPainter::Antialiasing);
            p.translate(-bounds.topLeft());
            p.fillPath(outline, QColor::fromRgba(key.colour));
        }
        for (int y = 0; y < made.image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(made.image.constScanLine(y));
            for (int x = 0; x < made.image.width(); ++x)
                if (qAlpha(line[x]) != 0)
                    made.ink |= QRect(x, y, 1, 1);
        }
        made.ink.translate(made.offset);
    }
    return *m_pictures.insert(key, made);
}

bool LargeGlyphs::place(const QFont& font, const QColor& colour, QPoint baseline,
                        const QString& text, QList<Placed>& placed) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() > 1)
        return false;
    const QList<QPointF> positions = runs.isEmpty() ? QList<QPointF>() : runs[0].positions();
    // One glyph a character, each the glyph its character makes alone.
    if (positions.size() != text.size())
        return false;
    for (const QChar c : text)
        if (c.isSurrogate() || c.isMark())
            return false;
    placed.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Glyph positions are whole sixty-fourths of a pixel.
        const qint64 x = std::llround((baseline.x() + positions[i].x()) * 64);
        const Key key{font, text[i].unicode(), int(x & 63), colour.rgba()};
        placed.append({&picture(key), QPoint(int(x >> 6), baseline.y())});
    }
    return true;
}

void LargeGlyphs::draw(QPainter& p, const QFont& font, const QColor& colour, QPoint baseline,
                       const QString& text) {
    const QTransform& t = p.deviceTransform();
    QList<Placed> placed;
    if (p.device()->devicePixelRatio() != 1.0 || t.type() > QTransform::TxTranslate ||
        t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy()) ||
        !place(font, colour, baseline, text, placed)) {
        p.setFont(font);
        p.setPen(colour);
        p.drawText(baseline, text);
        return;
    }
    for (const Placed& g : placed)
        if (!g.picture->image.isNull())
            p.drawImage(g.at + g.picture->offset, g.picture->image);
}

QRect LargeGlyphs::inkRect(const QFont& font, const QColor& colour, QPoint baseline,
                           const QString& text) {
    QList<Placed> placed;
    if (!place(font, colour, baseline, text, placed))
        return QFontMetrics(font).boundingRect(text).translated(baseline);
    QRect ink;
    for (const Placed& g : placed)
        ink |= g.picture->ink.translated(g.at);
    return ink;
}
