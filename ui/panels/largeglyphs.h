#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <limits>

class QPainter;

// Text in a face larger than the painter keeps glyph images of (64 pixels) is
// filled as outlines every time it is drawn: the reading's 65-pixel digits
// cost more than the rest of a reading's repaint. Here each glyph is filled
// once, for each sixty-fourth of a pixel it may start at and each colour, into
// a picture that is then laid on the surface as the fill would have coloured
// it (the fill's blend of colour and coverage is the premultiplied picture's
// blend). The pictures differ from the fill only as the fill differs from
// itself when drawn a whole pixel further on: by a few levels at a few edge
// pixels. Text the pictures cannot stand for (glyphs that are not one per
// character, a painter that scales or a surface of more than one device pixel
// a pixel) is drawn with QPainter::drawText.
class LargeGlyphs {
public:
    explicit LargeGlyphs(qsizetype capacity = 512) : m_capacity(capacity) {}

    // Draws `text` as QPainter::drawText(baseline, text) does with a solid
    // pen of `colour`.
    void draw(QPainter& p, const QFont& font, const QColor& colour, QPoint baseline,
              const QString& text);
    // The pixels draw() colours for `text` at `baseline` (empty for none);
    // for text the pictures cannot stand for, the text's bounding box.
    QRect inkRect(const QFont& font, const QColor& colour, QPoint baseline, const QString& text);

    qsizetype size() const { return m_pictures.size(); }

private:
    struct Key {
        QFont font;
        char16_t character = 0;
        int sixtyFourths = 0; // where the glyph starts past a whole pixel
        QRgb colour = 0;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed);
    // A character alone (second 0), or two side by side.
    struct Shaping {
        QFont font;
        char16_t first = 0;
        char16_t second = 0;
        bool operator==(const Shaping&) const = default;
    };
    friend size_t qHash(const Shaping& pair, size_t seed);
    static constexpr int kUnshaped = std::numeric_limits<int>::min();
    struct Picture {
        QImage image;  // premultiplied: the fill's colour times its coverage
        QPoint offset; // of the image's corner from the glyph's pixel on the baseline
        QRect ink;     // the pixels with any coverage, from the same point
    };
    // A glyph placed on the surface: its picture and where that goes.
    // A copy, not a pointer into the cache: placing a later glyph of the same
    // text may grow the cache or start it again.
    struct Placed {
        Picture picture;
        QPoint at;
    };
    // The glyphs of `text` from `baseline`, false when the pictures cannot
    // stand for it.
    bool place(const QFont& font, const QColor& colour, QPoint baseline, const QString& text,
               QList<Placed>& placed);
    const Picture& picture(const Key& key);
    // Where the glyph of a character alone starts, or how far the second
    // glyph of a pair starts from the first, in sixty-fourths of a pixel;
    // kUnshaped where the text is not one glyph a character.
    int shaped(const Shaping& pair);

    qsizetype m_capacity;
    QHash<Key, Picture> m_pictures;
    QHash<Shaping, int> m_shaping;
};
