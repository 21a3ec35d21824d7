#pragma once

#include "ui/panels/largeglyphs.h"
#include "ui/panels/textcache.h"

#include <QFont>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>

class Acquisition;
class FigureNotices;
class Recorder;
class QComboBox;
class QPainter;
class InstrumentLine;

// The replica of the instrument's face across the top of the main window: port
// and on-line state, data-input indicator, clock, emissivity, reading, mode,
// running maximum and minimum, lock, range, unit, and the sample-rate selector.
// It owns no measurement data: it draws what the acquisition and the line hold.
class CDisplayPanel : public QWidget {
    Q_OBJECT
public:
    explicit CDisplayPanel(Recorder& recorder, const InstrumentLine& line, int sampleRateIni,
                           QWidget* parent = nullptr);

    // Regions that readings and commands repaint.
    static QRect regionRect(unsigned panelRegion);
    static constexpr QRect portBox() { return QRect(QPoint(16, 10), QPoint(110, 32)); }
    static constexpr QRect onlineBox() { return QRect(QPoint(116, 10), QPoint(215, 32)); }
    static constexpr QRect clockBox() { return QRect(387, 10, 295, 23); }
    // The line is the built-in simulated instrument: the port box says "SIM".
    void setSimulated(bool simulated);
    // Repaints the regions named by PanelRegion bits: each region's rectangle
    // and wherever its texts lie, as they were last drawn and as they are now.
    void invalidateRegions(unsigned regions);
    QRegion repaintRegion(unsigned regions) const;

    // Draws the face into `p` (widget coordinates); texts wholly outside
    // `exposed` are left out.
    void paintFace(QPainter& p, const QRegion& exposed);
    void paintFace(QPainter& p) { paintFace(p, QRegion(rect())); }

    const QString& clockText() const { return m_strClock; }
    QComboBox* sampleRateBox() const { return m_comboTime; }

    // Pixel-sized faces of the instrument's lettering.
    const QFont& readingFont() const { return m_fontReading; }
    const QFont& smallFont() const { return m_fontSmall; }
    const QFont& captionFont() const { return m_fontCaption; }
    const QFont& figuresFont() const { return m_fontFigures; }

    // The one-second tick: new clock text, redrawn in its box alone, and the
    // data-input indicator cleared.
    void tickClock();

    // The figures the face shows, for those who cannot see it: the reading
    // (with its unit), unit, mode, emissivity, maximum, minimum, lock, range,
    // port, line state, data-input indicator and clock. The value is what the
    // face shows, without blanks (empty before the first reading).
    struct Figure {
        QString name;
        QString value;
        QRect area;         // where it is shown, in panel pixels
        bool quiet = false; // changes all the time: its changes are not told
    };
    static constexpr int kFigures = 12;
    Figure figure(int index) const;

Q_SIGNALS:
    // The user picked a sample rate (index into the table, -1 for none); the
    // recording control has already taken it.
    void sampleRateChosen(int index);
    // A new commit interval was chosen (the recorder has re-armed its timer):
    // the views update.
    void updateViewsRequested();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The texts that change with a reading, each repainted with its regions.
    enum FaceText {
        Value,
        BigUnit,
        Max,
        Min,
        Mode,
        Emissivity,
        Lock,
        UnitLetter,
        Range,
        kFaceTexts
    };
    struct Placed {
        QPoint at; // top-left corner of the text cell
        const QFont* font;
        QString text;
        unsigned regions; // PanelRegion bits that repaint it
        QColor colour;
    };
    Placed faceText(FaceText which) const;
    // The pixels `text` may touch, drawn at `at` with `font`. Worked out once
    // for the text a face shows: asked before its repaint and after it.
    QRect inkBounds(FaceText which, const Placed& placed) const;
    void drawFaceText(QPainter& p, FaceText which);
    bool drawText(QPainter& p, int x, int y, const QFont& font, const QColor& colour,
                  const QString& text);
    void onSampleRateActivated(int index);

    QString m_strClock;
    int m_nSampleRateIni = 0;
    QComboBox* m_comboTime = nullptr;

    QFont m_fontReading; // reading and its big unit letter
    QFont m_fontSmall;   // bottom row
    QFont m_fontClock;
    QFont m_fontLogo;
    QFont m_fontLogoSub;
    QFont m_fontCaption; // top row, captions, "MAX:"/"MIN:"
    QFont m_fontFigures; // maximum, minimum, mode, emissivity

    Recorder& m_recorder;
    const Acquisition& m_acq;     // what the recorder holds
    const InstrumentLine& m_line; // its port and state are shown
    int m_nClockTimer = 0;
    bool m_bSimulated = false;
    mutable TextCache m_texts;
    mutable LargeGlyphs m_largeGlyphs;  // the reading's digits and unit letter
    FigureNotices* m_notices = nullptr; // tells screen readers what changed
    QRegion m_exposed;                  // what the paint in progress covers
    QRect m_drawn[kFaceTexts];          // where each face text was last drawn
    struct Ink {
        const QFont* font = nullptr;
        QString text;
        QPoint at;
        QRect bounds;
    };
    mutable Ink m_ink[kFaceTexts]; // the last inkBounds of each face text
};
