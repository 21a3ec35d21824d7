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

size_t qHash(const LargeGlyphs::Shaping& pair, size_t seed) {
    return qHashMulti(seed, pair.font, pair.first, pair.second);
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

int LargeGlyphs::shaped(const Shaping& pair) {
    if (const auto it = m_shaping.constFind(pair); it != m_shaping.constEnd())
        return *it;
    if (m_shaping.size() >= m_capacity)
        m_shaping.clear();
    QString text(QChar(pair.first));
    if (pair.second != 0)
        text += QChar(pair.second);
    QTextLayout layout(text, pair.font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    int shift = kUnshaped;
    if (runs.size() == 1) {
        // Glyph positions are whole sixty-fourths of a pixel.
        const QList<QPointF> at = runs[0].positions();
        if (at.size() == text.size())
            shift = int(std::llround((pair.second != 0 ? at[1].x() - at[0].x() : at[0].x()) * 64));
    }
    return *m_shaping.insert(pair, shift);
}

bool LargeGlyphs::place(const QFont& font, const QColor& colour, QPoint baseline,
                        const QString& text, QList<Placed>& placed) {
    // Each glyph starts where its character's pair with the one before puts
    // it (advance and kerning): the text's shaping, one pair at a time. A
    // character that is not one glyph alone or in its pairs is left to drawText.
    placed.clear();
    qint64 x = qint64(baseline.x()) * 64;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isSurrogate() || c.isMark())
            return false;
        const int shift = shaped({font, i == 0 ? c.unicode() : text[i - 1].unicode(),
                                  i == 0 ? char16_t(0) : c.unicode()});
        if (shift == kUnshaped)
            return false;
        x += shift;
        const Key key{font, c.unicode(), int(x & 63), colour.rgba()};
        placed.append({picture(key), QPoint(int(x >> 6), baseline.y())});
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
        if (!g.picture.image.isNull())
            p.drawImage(g.at + g.picture.offset, g.picture.image);
}

QRect LargeGlyphs::inkRect(const QFont& font, const QColor& colour, QPoint baseline,
                           const QString& text) {
    QList<Placed> placed;
    if (!place(font, colour, baseline, text, placed))
        return QFontMetrics(font).boundingRect(text).translated(baseline);
    QRect ink;
    for (const Placed& g : placed)
        ink |= g.picture.ink.translated(g.at);
    return ink;
}
