#include "ui/panels/cdisplaypanel.h"

#include "core/store/acquisition.h"
#include "core/store/samplerate.h"
#include "engine/instrumentline.h"
#include "engine/recorder.h"
#include "ui/panels/displaypanelaccessible.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QToolTip>
#include <QtMath>

#include <ctime>

namespace {

const QColor kPlateGrey(177, 178, 172);
const QColor kLogoGreen(55, 140, 120);
const QColor kCaptionTeal(95, 158, 160);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

// The nineteen etched frames, (x, y, width, height).
constexpr int kFrames[19][4] = {
    {14, 0, 100, 36},    {114, 0, 104, 36},  {218, 0, 166, 36},  {384, 0, 302, 36},
    {14, 28, 156, 38},   {170, 28, 388, 38}, {560, 28, 290, 38}, {14, 58, 156, 44},
    {14, 94, 156, 38},   {170, 58, 388, 74}, {560, 58, 290, 98}, {638, 62, 210, 50},
    {638, 104, 210, 50}, {14, 124, 68, 32},  {170, 124, 74, 32}, {244, 124, 74, 32},
    {318, 124, 134, 32}, {452, 124, 68, 32}, {520, 124, 38, 32}};

// A font by em height in pixels and, where given, average character width
// (0: the face's natural width).
QFont makeFont(const QString& family, int height, int width, bool heavy, bool italic) {
    QFont f(family);
    f.setPixelSize(height);
    f.setWeight(heavy ? QFont::Black : QFont::Normal);
    f.setItalic(italic);
    f.setStyleHint(QFont::SansSerif);
    if (width > 0) {
        const int natural = QFontMetrics(f).averageCharWidth();
        if (natural > 0)
            f.setStretch(qBound(1, 100 * width / natural, 4000));
    }
    return f;
}

} // namespace

CDisplayPanel::CDisplayPanel(Recorder& recorder, const InstrumentLine& line, int sampleRateIni,
                             QWidget* parent)
    : QWidget(parent), m_nSampleRateIni(sampleRateIni), m_comboTime(new QComboBox(this)),
      m_recorder(recorder), m_acq(recorder.acquisition()), m_line(line) {
    const QString sans = QStringLiteral("Liberation Sans");
    m_fontReading = makeFont(sans, 65, 0, false, false);
    m_fontSmall = makeFont(sans, 16, 0, true, false);
    m_fontClock = makeFont(sans, 27, 14, false, false);
    m_fontLogo = makeFont(sans, 24, 13, true, true);
    m_fontLogoSub = makeFont(QStringLiteral("Liberation Serif"), 8, 0, false, true);
    m_fontCaption = makeFont(sans, 19, 0, true, false);
    m_fontFigures = makeFont(sans, 30, 13, true, false);

    static const bool accessible = [] {
        QAccessible::installFactory(&DisplayPanelAccessible::create);
        return true;
    }();
    Q_UNUSED(accessible);
    m_notices = new FigureNotices(this);
    m_comboTime->setObjectName(QStringLiteral("sampleRateBox"));
    m_comboTime->setAccessibleName(tr("Sample rate"));
    // The selector's caption is a label of its own, tied to it for screen readers.
    auto* timeCaption = new QLabel(QStringLiteral("Time:"), this);
    timeCaption->setFont(m_fontSmall);
    timeCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette black = timeCaption->palette();
    black.setColor(QPalette::WindowText, kBlack);
    timeCaption->setPalette(black);
    const QFontMetrics captionMetrics(m_fontSmall);
    timeCaption->setGeometry(25, 132, captionMetrics.horizontalAdvance(timeCaption->text()) + 2,
                             captionMetrics.height());
    timeCaption->setBuddy(m_comboTime);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    // The list shows its items in lower case; the item data keeps the label.
    for (const std::string_view label : kSampleRateLabels) {
        const QString text = QString::fromLatin1(label.data(), qsizetype(label.size()));
        m_comboTime->addItem(text.toLower(), text);
    }
    m_comboTime->setCurrentIndex(
        isIntervalRate(m_nSampleRateIni) || m_nSampleRateIni == 0 ? m_nSampleRateIni : -1);
    m_comboTime->setGeometry(82, 132, 82, 22);
    m_comboTime->setFocusPolicy(Qt::StrongFocus);
    connect(m_comboTime, &QComboBox::activated, this, &CDisplayPanel::onSampleRateActivated);
    m_comboTime->installEventFilter(this);
    installEventFilter(this);
    m_nClockTimer = startTimer(1000);
    connect(&recorder, &Recorder::alarmLimitsChanged, this,
            [this] { invalidateRegions(RegionMax | RegionMin); });
    // The top row follows the line.
    connect(&line, &InstrumentLine::portChanged, this, [this] {
        update(portBox());
        m_notices->changed();
    });
    connect(&line, &InstrumentLine::stateChanged, this, [this] {
        update(onlineBox());
        m_notices->changed();
    });
}

QRect CDisplayPanel::regionRect(unsigned panelRegion) {
    // (left, top, right, bottom), right and bottom exclusive.
    const auto r = [](int l, int t, int rr, int b) {
        return QRect(QPoint(l, t), QPoint(rr - 1, b - 1));
    };
    switch (panelRegion) {
    case RegionValue:
        return r(172, 68, 554, 128);
    case RegionMode:
        return r(65, 104, 163, 142);
    case RegionMax:
        return r(641, 73, 849, 108);
    case RegionMin:
        return r(641, 115, 849, 150);
    case RegionLock:
        return r(150, 132, 240, 158);
    case RegionUnit:
        return r(322, 134, 556, 153);
    case RegionEmissivity:
        return r(16, 68, 166, 98);
    case RegionBlink:
        return r(342, 13, 359, 30);
    default:
        return QRect();
    }
}

void CDisplayPanel::setSimulated(bool simulated) {
    m_bSimulated = simulated;
    update(portBox());
    m_notices->changed();
}

QRegion CDisplayPanel::repaintRegion(unsigned regions) const {
    if (regions & RegionWhole)
        return QRegion(rect());
    QRegion region;
    for (unsigned bit = 1; bit <= RegionBlink; bit <<= 1)
        if (regions & bit)
            region += regionRect(bit);
    // A face's glyphs reach above and beside the windows the rectangles
    // describe, by as much as the font that stands in for it makes them: the
    // old text goes and the new one comes whole.
    for (int which = 0; which < kFaceTexts; ++which) {
        const Placed placed = faceText(FaceText(which));
        if (placed.regions & regions)
            region += m_drawn[which] | inkBounds(FaceText(which), placed);
    }
    return region;
}

void CDisplayPanel::invalidateRegions(unsigned regions) {
    update(repaintRegion(regions));
    if ((regions & ~RegionBlink) != 0)
        m_notices->changed();
}

CDisplayPanel::Figure CDisplayPanel::figure(int index) const {
    const DisplayTexts& t = m_acq.panel();
    const auto shown = [](const std::string& text) {
        return QString::fromStdString(text).trimmed();
    };
    const auto placed = [this](FaceText which) { return faceText(which).text; };
    switch (index) {
    case 0: {
        const QString value = shown(t.m_strValue);
        const QString unit = shown(m_acq.unit());
        return {tr("Reading"),
                value.isEmpty() || unit.isEmpty() ? value : value + QLatin1Char(' ') + unit,
                regionRect(RegionValue)};
    }
    case 1:
        return {tr("Unit"), placed(UnitLetter), QRect(522, 134, 34, 19)};
    case 2:
        return {tr("Mode"), shown(t.m_strMode), regionRect(RegionMode)};
    case 3:
        return {tr("Emissivity"), shown(t.m_strEmissivity), regionRect(RegionEmissivity)};
    case 4:
        return {tr("Maximum"), shown(t.m_strMax), regionRect(RegionMax)};
    case 5:
        return {tr("Minimum"), shown(t.m_strMin), regionRect(RegionMin)};
    case 6:
        return {tr("Lock"), placed(Lock), regionRect(RegionLock)};
    case 7:
        return {tr("Range"), placed(Range), QRect(322, 134, 126, 19)};
    case 8:
        return {tr("Port"),
                m_bSimulated ? QStringLiteral("SIM") : QStringLiteral("COM %1").arg(m_line.port()),
                portBox()};
    case 9:
        return {tr("Line"),
                m_line.state() == LineState::Online ? QStringLiteral("OnLine")
                                                    : QStringLiteral("OffLine"),
                onlineBox()};
    case 10:
        return {tr("DataInput"), m_acq.blink() ? tr("on") : tr("off"), regionRect(RegionBlink),
                true};
    case 11:
        return {tr("Clock"), m_strClock.trimmed(), clockBox(), true};
    default:
        return {};
    }
}

CDisplayPanel::Placed CDisplayPanel::faceText(FaceText which) const {
    const DisplayTexts& t = m_acq.panel();
    const QString unit = QString::fromStdString(m_acq.unit());
    const bool celsius = unit == QLatin1String("C");
    // A maximum above the high alarm limit and a minimum below the low one in red.
    const AlarmLimits limits = m_recorder.alarmLimits();
    switch (which) {
    case Value:
        return {{200, 60}, &m_fontReading, QString::fromStdString(t.m_strValue), RegionValue, kRed};
    case BigUnit:
        return {{415, 60}, &m_fontReading, unit, RegionValue | RegionUnit, kRed};
    case Max:
        return {{680, 70},
                &m_fontFigures,
                QString::fromStdString(t.m_strMax),
                RegionMax,
                t.m_fMax > float(limits.high) ? kRed : kBlack};
    case Min:
        return {{680, 110},
                &m_fontFigures,
                QString::fromStdString(t.m_strMin),
                RegionMin,
                t.m_fMin < float(limits.low) ? kRed : kBlack};
    case Mode:
        return {{65, 94}, &m_fontFigures, QString::fromStdString(t.m_strMode), RegionMode, kRed};
    case Emissivity:
        return {{65, 60},
                &m_fontFigures,
                QString::fromStdString(t.m_strEmissivity),
                RegionEmissivity,
                kRed};
    case Lock:
        return {{173, 132},
                &m_fontSmall,
                m_acq.locked() ? QStringLiteral("Lock") : QStringLiteral("UnLock"),
                RegionLock,
                kBlack};
    case UnitLetter:
        return {{530, 132},
                &m_fontSmall,
                celsius ? QStringLiteral("C") : QStringLiteral("F"),
                RegionUnit,
                kBlack};
    case Range:
        return {{330, 132},
                &m_fontSmall,
                celsius ? QStringLiteral("-50 to 1050") : QStringLiteral("-58 to 1922"),
                RegionUnit,
                kBlack};
    case kFaceTexts:
        break;
    }
    return {};
}

namespace {

// Past 64 px glyphs are filled as outlines, which static text smooths slightly
// otherwise than plain text does: the reading keeps the plain look, drawn from
// pictures of its glyphs' fills.
bool largeFont(const QFont& font) {
    constexpr int kLargestCachedGlyphs = 64;
    return font.pixelSize() > kLargestCachedGlyphs;
}

} // namespace

QRect CDisplayPanel::inkBounds(FaceText which, const Placed& placed) const {
    Ink& ink = m_ink[which];
    if (ink.font == placed.font && ink.at == placed.at && ink.text == placed.text)
        return ink.bounds;
    ink = {placed.font, placed.text, placed.at, QRect()};
    if (!placed.text.trimmed().isEmpty()) {
        // Anti-aliased edges, italic and heavy strokes reach a little past the
        // bounding box the metrics give.
        constexpr int kMargin = 3;
        QRect bounds;
        if (largeFont(*placed.font)) {
            const QPoint baseline = placed.at + QPoint(0, m_texts.metrics(*placed.font).ascent);
            bounds = m_largeGlyphs.inkRect(*placed.font, placed.colour, baseline, placed.text);
        } else {
            // From the layout the paint draws.
            bounds =
                m_texts.get(*placed.font, placed.text).ink().translated(placed.at).toAlignedRect();
        }
        ink.bounds = bounds.adjusted(-kMargin, -kMargin, kMargin, kMargin);
    }
    return ink.bounds;
}

void CDisplayPanel::drawFaceText(QPainter& p, FaceText which) {
    const Placed placed = faceText(which);
    if (drawText(p, placed.at.x(), placed.at.y(), *placed.font, placed.colour, placed.text))
        m_drawn[which] = inkBounds(which, placed);
}

bool CDisplayPanel::drawText(QPainter& p, int x, int y, const QFont& font, const QColor& colour,
                             const QString& text) {
    // (x, y) is the top-left corner of the text cell. Most paints redraw one
    // or two regions; the other texts are not even laid out.
    // No glyph of these faces is wider than its pixel height, nor reaches
    // further below the top than twice that; a few pixels more for the
    // italic and heavy ones.
    const int pixels = font.pixelSize();
    constexpr int kOverhang = 4;
    if (!m_exposed.intersects(QRect(x - kOverhang, y - kOverhang,
                                    int(text.size()) * pixels + 2 * kOverhang,
                                    2 * pixels + 2 * kOverhang)))
        return false;
    if (largeFont(font)) {
        m_largeGlyphs.draw(p, font, colour, QPoint(x, y + m_texts.metrics(font).ascent), text);
        return true;
    }
    p.setPen(colour);
    m_texts.get(font, text).draw(p, QPointF(x, y));
    return true;
}

void CDisplayPanel::paintFace(QPainter& p, const QRegion& exposed) {
    m_exposed = exposed;
    const QColor face = palette().color(QPalette::Window);
    p.fillRect(rect(), face);

    p.fillRect(116, 10, 100, 23, kPlateGrey);
    p.fillRect(220, 10, 161, 23, kPlateGrey);
    p.fillRect(387, 10, 295, 23, kBlack);
    p.fillRect(16, 10, 95, 23, kPlateGrey);
    p.fillRect(730, 0, 120, 38, kWhite);

    drawText(p, 733, 0, m_fontLogo, kLogoGreen, QStringLiteral("RAVELL"));
    drawText(p, 777, 26, m_fontLogoSub, kLogoGreen, QStringLiteral("INSTRUMENTS"));
    p.setPen(QPen(kLogoGreen, 1));
    p.drawLine(733, 28, 777, 28);
    p.drawLine(733, 33, 777, 33);

    if (m_bSimulated) {
        drawText(p, 29, 8, m_fontCaption, kBlue, QStringLiteral("SIM"));
    } else {
        drawText(p, 29, 8, m_fontCaption, kBlue, QStringLiteral("COM"));
        drawText(p, 80, 8, m_fontCaption, kBlue, QString::number(m_line.port()));
    }
    drawText(p, 129, 8, m_fontCaption, kBlue,
             m_line.state() == LineState::Online ? QStringLiteral("OnLine")
                                                 : QStringLiteral("OffLine"));
    drawText(p, 228, 8, m_fontCaption, kBlue, QStringLiteral("DataInput"));

    p.fillRect(342, 13, 17, 17, m_acq.blink() ? kBlue : kRed);

    p.fillRect(16, 38, 150, 25, kCaptionTeal);
    p.fillRect(172, 38, 383, 25, kCaptionTeal);
    p.fillRect(560, 38, 283, 25, kCaptionTeal);
    drawText(p, 50, 38, m_fontCaption, kWhite, QStringLiteral("Emissivity"));
    drawText(p, 325, 38, m_fontCaption, kWhite, QStringLiteral("DATA"));
    drawText(p, 656, 38, m_fontCaption, kWhite, QStringLiteral("MAX/MIN"));

    p.fillRect(16, 68, 150, 30, kBlack);
    p.fillRect(172, 68, 382, 60, kBlack);
    drawFaceText(p, Value);
    drawFaceText(p, BigUnit);

    p.fillRect(641, 73, 208, 35, kWhite);
    p.fillRect(641, 115, 208, 35, kWhite);
    drawText(p, 580, 80, m_fontCaption, kBlack, QStringLiteral("MAX:"));
    drawText(p, 580, 120, m_fontCaption, kBlack, QStringLiteral("MIN:"));
    drawFaceText(p, Max);
    drawFaceText(p, Min);

    p.fillRect(65, 104, 98, 38, face);
    drawFaceText(p, Mode);
    drawFaceText(p, Emissivity);

    p.fillRect(150, 132, 90, 26, face);
    drawFaceText(p, Lock);
    drawText(p, 250, 132, m_fontSmall, kBlue, QStringLiteral("Range:"));
    drawText(p, 460, 132, m_fontSmall, kBlue, QStringLiteral("UNIT:"));
    p.fillRect(322, 134, 126, 19, kWhite);
    p.fillRect(522, 134, 34, 19, kWhite);
    drawFaceText(p, UnitLetter);
    drawFaceText(p, Range);

    drawText(p, 373, 6, m_fontClock, kYellow, m_strClock);

    // Etched group frames with empty captions: a groove of a shadow line and a
    // highlight line beside it on each side. As with any group box, the top
    // edge runs through the middle of the (empty) caption, 6 px down.
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    for (const auto& f : kFrames) {
        const int left = f[0];
        const int top = f[1] + 6;
        const int right = f[0] + f[2] - 1; // inclusive
        const int bottom = f[1] + f[3] - 1;
        const QRect outline(QPoint(left, top), QPoint(right, bottom));
        // Its two lines along each edge; a repaint inside the frame leaves them be.
        if (exposed.intersected(outline).subtracted(outline.adjusted(2, 2, -2, -2)).isEmpty())
            continue;
        // The one-pixel outlines as strips: an outline stroked under a clip
        // that only grazes it costs more than the rest of a reading's repaint.
        const auto edges = [&p](const QRect& r, const QColor& colour) {
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
            p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
            p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
        };
        edges(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), shadow);
        edges(QRect(QPoint(left + 1, top + 1), QPoint(right, bottom)), light);
    }
}

bool CDisplayPanel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString path = m_bSimulated ? QString() : m_line.devicePath(m_line.port());
        if (portBox().contains(help->pos()) && !path.isEmpty())
            QToolTip::showText(help->globalPos(), path, this, portBox());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void CDisplayPanel::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    paintFace(p, event->region());
}

void CDisplayPanel::tickClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[64] = {};
    std::size_t n = 0;
    if (localtime_r(&now, &local))
        n = std::strftime(text, sizeof text, "   %m-%d-%y  %H:%M:%S", &local);
    m_strClock = QString::fromLatin1(text, qsizetype(n));
    // Only the box and whatever of the text reaches past it are redrawn.
    const QFontMetrics metrics(m_fontClock);
    const QRect textCell(373, 6, metrics.horizontalAdvance(m_strClock), metrics.height());
    update(clockBox().united(textCell.intersected(rect())));
    // The port and the line state are repainted by the window's commands:
    // their changes are told with the next second.
    m_notices->changed();
    // The indicator lights for each frame; it shows the cleared state at its
    // next repaint.
    m_recorder.blinkOff();
}

void CDisplayPanel::onSampleRateActivated(int index) {
    const bool newInterval = m_recorder.selectSampleRate(index);
    Q_EMIT sampleRateChosen(index);
    if (newInterval)
        Q_EMIT updateViewsRequested();
}

void CDisplayPanel::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nClockTimer)
        tickClock();
    else
        QWidget::timerEvent(event);
}

bool CDisplayPanel::eventFilter(QObject* watched, QEvent* event) {
    // The wheel turns the selector only once the user has put the focus there:
    // scrolling past it goes on to what lies under it.
    if (event->type() == QEvent::Wheel && watched == m_comboTime && !m_comboTime->hasFocus()) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}
