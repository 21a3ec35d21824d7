#include "ui/window/toolbaricons.h"

#include "ui/window/commandids.h"

#include <QApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// One palette for every picture.
const QColor kInk(38, 50, 66);          // outlines
const QColor kBlue(53, 114, 184);       // floppy, magnifier, help
const QColor kBlueLight(206, 226, 246); // glass, text lines
const QColor kFolder(240, 186, 74);
const QColor kFolderBack(212, 150, 40);
const QColor kMetal(196, 204, 214); // printer, connector, bin
const QColor kMetalDark(130, 141, 154);
const QColor kPaper(255, 255, 255);
const QColor kGreen(58, 156, 70);
const QColor kGreenDark(30, 104, 42);
const QColor kRed(214, 60, 52);
const QColor kEraser(240, 128, 150);
const QColor kPlot(16, 20, 28);

// Every outline is one logical pixel wide; shapes sit on half pixels so that
// their edges fall on whole pixels at the toolbar's size.
QPen outline(const QColor& colour = kInk, qreal width = 1.0) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen stroke(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawSave(QPainter& p) {
    // Floppy disk: body with a cut corner, metal shutter, paper label.
    QPainterPath body;
    body.moveTo(6.5, 1.5);
    body.lineTo(22.5, 1.5);
    body.lineTo(25.5, 4.5);
    body.lineTo(25.5, 20.5);
    body.lineTo(6.5, 20.5);
    body.closeSubpath();
    p.setPen(outline());
    p.setBrush(kBlue);
    p.drawPath(body);

    p.setBrush(kMetal);
    p.drawRect(QRectF(10.5, 1.5, 11, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(17, 2.5, 2.5, 4));

    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9.5, 11.5, 13, 9));
    p.setPen(stroke(kBlue, 1.0));
    p.drawLine(QPointF(11.5, 14.5), QPointF(20.5, 14.5));
    p.drawLine(QPointF(11.5, 17.5), QPointF(18.5, 17.5));
}

void drawOpen(QPainter& p) {
    // Folder with a sheet in it, its front flap opened towards the viewer.
    QPainterPath back;
    back.moveTo(3.5, 19.5);
    back.lineTo(3.5, 3.5);
    back.lineTo(10.5, 3.5);
    back.lineTo(12.5, 5.5);
    back.lineTo(24.5, 5.5);
    back.lineTo(24.5, 19.5);
    back.closeSubpath();
    p.setPen(outline());
    p.setBrush(kFolderBack);
    p.drawPath(back);

    p.setBrush(kPaper);
    p.drawRect(QRectF(7.5, 2.5, 14, 9));
    p.setPen(stroke(kBlueLight.darker(130), 1.0));
    p.drawLine(QPointF(10, 5.5), QPointF(19, 5.5));
    p.drawLine(QPointF(10, 8), QPointF(17, 8));

    QPainterPath front;
    front.moveTo(3.5, 19.5);
    front.lineTo(8.5, 9.5);
    front.lineTo(29.5, 9.5);
    front.lineTo(24.5, 19.5);
    front.closeSubpath();
    p.setPen(outline());
    p.setBrush(kFolder);
    p.drawPath(front);
}

void drawPrint(QPainter& p) {
    // Printer: sheet going in at the top, body with a lamp, printed sheet out.
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9.5, 1.5, 13, 7));

    p.setBrush(kMetal);
    p.drawRoundedRect(QRectF(3.5, 7.5, 25, 9), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(24.5, 10.5), 1.3, 1.3);
    p.setPen(stroke(kInk, 1.5));
    p.drawLine(QPointF(7.5, 13.5), QPointF(24.5, 13.5));

    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(8.5, 13.5, 15, 7));
    p.setPen(stroke(kBlue, 1.0));
    p.drawLine(QPointF(10.5, 16), QPointF(21.5, 16));
    p.drawLine(QPointF(10.5, 18.5), QPointF(18.5, 18.5));
}

void drawSelectCom(QPainter& p) {
    // The face of a 9-pin serial connector, with arrows up and down: the
    // command steps the port number (Shift steps it back).
    QPainterPath shell;
    shell.moveTo(1.5, 4.5);
    shell.lineTo(22.5, 4.5);
    shell.lineTo(19.5, 17.5);
    shell.lineTo(4.5, 17.5);
    shell.closeSubpath();
    p.setPen(outline());
    p.setBrush(kMetal);
    p.drawPath(shell);

    QPainterPath face;
    face.moveTo(4, 6.5);
    face.lineTo(20, 6.5);
    face.lineTo(17.8, 15.5);
    face.lineTo(6.2, 15.5);
    face.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(face);

    p.setBrush(kFolder);
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(6.5 + 2.75 * i, 9), 1.1, 1.1);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(7.9 + 2.75 * i, 12.8), 1.1, 1.1);

    p.setPen(outline());
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(27, 1.5), QPointF(31, 7.5), QPointF(23, 7.5)}));
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF({QPointF(23, 13.5), QPointF(31, 13.5), QPointF(27, 19.5)}));
}

void drawOnOff(QPainter& p) {
    // A round green button with the power sign.
    QRadialGradient shade(QPointF(13.5, 8), 11);
    shade.setColorAt(0, kGreen.lighter(125));
    shade.setColorAt(1, kGreen);
    p.setPen(outline(kGreenDark));
    p.setBrush(shade);
    p.drawEllipse(QPointF(16, 11), 9.5, 9.5);

    p.setPen(stroke(kPaper, 2.0));
    p.setBrush(Qt::NoBrush);
    // An open ring with its gap at the top, and the bar through the gap.
    p.drawArc(QRectF(10.5, 6, 11, 11), 120 * 16, 300 * 16);
    p.drawLine(QPointF(16, 4.5), QPointF(16, 10.5));
}

void drawUndoZoom(QPainter& p) {
    // A magnifier with a minus sign and an arrow turning back.
    p.setPen(stroke(kInk, 3.2));
    p.drawLine(QPointF(15, 13), QPointF(19.5, 17.5));

    p.setPen(stroke(kInk, 1.6));
    p.setBrush(kBlueLight);
    p.drawEllipse(QPointF(10, 8), 6.5, 6.5);
    p.setPen(stroke(kBlue, 2.0));
    p.drawLine(QPointF(7, 8), QPointF(13, 8));

    // The arrow: three quarters of a turn anticlockwise, its head pointing down
    // at the left.
    p.setPen(stroke(kRed, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(22.5, 6, 8, 8), -70 * 16, 250 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF({QPointF(19.8, 9.5), QPointF(25.2, 9.5), QPointF(22.5, 14)}));
}

void drawClearScreen(QPainter& p) {
    // The graph with its curve, an eraser wiping its right-hand part.
    p.setPen(outline());
    p.setBrush(kPlot);
    p.drawRect(QRectF(1.5, 2.5, 22, 16));
    p.setPen(stroke(QColor(70, 140, 255), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(3.5, 14), QPointF(6.5, 11), QPointF(9, 12.5),
                              QPointF(11.5, 7.5), QPointF(14, 9.5)}));

    p.save();
    p.translate(21.5, 13);
    p.rotate(-35);
    const QRectF block(-7, -4, 14, 8);
    p.setPen(outline());
    p.setBrush(kEraser);
    p.drawRoundedRect(block, 1.5, 1.5);
    p.setBrush(kBlue);
    p.drawRect(QRectF(0.5, -4, 5, 8));
    p.restore();
}

void drawClearAll(QPainter& p) {
    // A waste bin with its lid.
    p.setPen(outline());
    p.setBrush(kMetal);
    QPainterPath bin;
    bin.moveTo(8.5, 6.5);
    bin.lineTo(23.5, 6.5);
    bin.lineTo(21.5, 20.5);
    bin.lineTo(10.5, 20.5);
    bin.closeSubpath();
    p.drawPath(bin);
    p.setPen(stroke(kMetalDark, 1.2));
    p.drawLine(QPointF(12.5, 9), QPointF(13.2, 18));
    p.drawLine(QPointF(16, 9), QPointF(16, 18));
    p.drawLine(QPointF(19.5, 9), QPointF(18.8, 18));

    p.setPen(outline());
    p.setBrush(kMetal);
    p.drawRect(QRectF(13.5, 1.5, 5, 2));
    p.setBrush(kMetalDark);
    p.drawRoundedRect(QRectF(6.5, 3.5, 19, 3), 1, 1);
}

void drawHelp(QPainter& p) {
    // A blue disc with a question mark.
    QRadialGradient shade(QPointF(13.5, 8), 11);
    shade.setColorAt(0, kBlue.lighter(130));
    shade.setColorAt(1, kBlue);
    p.setPen(outline(kBlue.darker(150)));
    p.setBrush(shade);
    p.drawEllipse(QPointF(16, 11), 9.5, 9.5);

    QPainterPath mark;
    const QRectF hook(12.6, 4.6, 6.8, 6.6);
    mark.arcMoveTo(hook, 165);
    mark.arcTo(hook, 165, -240);
    mark.quadTo(QPointF(16, 11.5), QPointF(16, 13.2));
    p.setPen(stroke(kPaper, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 16.6), 1.4, 1.4);
}

using Drawer = void (*)(QPainter&);

Drawer drawerFor(int commandId) {
    switch (commandId) {
    case ID_SAVE:
        return drawSave;
    case ID_OPEN:
        return drawOpen;
    case ID_FILE_PRINT:
        return drawPrint;
    case ID_SELECT_COM:
        return drawSelectCom;
    case ID_ON_OFF:
        return drawOnOff;
    case ID_UNDO_ZOOM:
        return drawUndoZoom;
    case ID_CLEAR_SCREEN:
        return drawClearScreen;
    case ID_CLEAR_ALL:
        return drawClearAll;
    case ID_HELP_CONTENTS:
        return drawHelp;
    default:
        return nullptr;
    }
}

// An icon drawn at the size it is shown at when it is shown, rather than kept
// as pictures of every size beforehand. It keeps the last `kept` it drew.
class DrawnIcon : public QIconEngine {
public:
    using Draw = std::function<QImage(QSize)>;
    DrawnIcon(Draw draw, QList<QSize> sizes, std::size_t kept)
        : m_draw(std::move(draw)), m_sizes(std::move(sizes)), m_kept(kept) {}

    QIconEngine* clone() const override { return new DrawnIcon(m_draw, m_sizes, m_kept); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        for (const Drawn& d : m_drawn)
            if (d.size == size && d.mode == mode)
                return d.pixmap;
        QPixmap pixmap = QPixmap::fromImage(m_draw(size));
        if (mode != QIcon::Normal && !pixmap.isNull()) {
            // Disabled and selected as the style shows any other icon.
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        if (m_kept == 0)
            return pixmap;
        if (m_drawn.size() == m_kept)
            m_drawn.erase(m_drawn.begin());
        m_drawn.push_back({size, mode, pixmap});
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatio();
        QPixmap shown = pixmap(rect.size() * ratio, mode, state);
        shown.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), shown);
    }

private:
    struct Drawn {
        QSize size;
        QIcon::Mode mode;
        QPixmap pixmap;
    };
    Draw m_draw;
    QList<QSize> m_sizes;
    std::size_t m_kept;
    std::vector<Drawn> m_drawn;
};

QImage transparentImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The program's picture on a 64 x 64 grid: a pistol-grip infrared thermometer
// with its display, the beam and the measured spot.
void drawProgram(QPainter& p) {
    // Heat rays arriving at the lens.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const qreal r = 7 + 5 * i;
        p.setPen(QPen(QColor(226, 52, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(47 - r, 22 - r, 2 * r, 2 * r), -38 * 16, 76 * 16);
    }

    // Grip and trigger.
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(55, 71, 79));
    QPainterPath grip;
    grip.moveTo(12, 30);
    grip.lineTo(28, 30);
    grip.lineTo(24, 58);
    grip.quadTo(23.5, 61, 20, 61);
    grip.lineTo(11, 61);
    grip.quadTo(7.5, 61, 8, 57.5);
    grip.closeSubpath();
    p.drawPath(grip);
    p.setBrush(Qt::NoBrush);
    QPainterPath trigger;
    trigger.moveTo(29, 32);
    trigger.quadTo(33, 36, 30, 42);
    p.drawPath(trigger);

    // Body with the lens at its nose.
    QLinearGradient shade(QPointF(0, 10), QPointF(0, 34));
    shade.setColorAt(0, QColor(250, 164, 70));
    shade.setColorAt(1, QColor(226, 118, 22));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(2, 10, 41, 24), 7, 7);
    p.setBrush(QColor(55, 71, 79));
    p.drawRoundedRect(QRectF(39, 13, 8, 18), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 150, 140));
    p.drawEllipse(QPointF(43, 22), 2, 4.5);

    // The display, dark like the instrument's, with a curve on it.
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(24, 32, 44));
    p.drawRoundedRect(QRectF(7, 15, 25, 14), 2, 2);
    p.setPen(QPen(QColor(110, 230, 130), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(10, 25), QPointF(14.5, 21), QPointF(18.5, 23.5),
                              QPointF(23, 18.5), QPointF(28.5, 21)}));
}

} // namespace

QImage toolbarIconImage(int commandId, qreal scale) {
    const Drawer draw = drawerFor(commandId);
    if (!draw || scale <= 0)
        return {};
    QImage image = transparentImage((QSizeF(kToolbarIconSize) * scale).toSize());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    draw(p);
    return image;
}

QIcon toolbarIcon(int commandId) {
    if (!drawerFor(commandId))
        return {};
    return QIcon(new DrawnIcon(
        [commandId](QSize size) {
            return toolbarIconImage(commandId, qreal(size.width()) / kToolbarIconSize.width());
        },
        {kToolbarIconSize}, 4)); // a button shows one size: normal, disabled, active
}

QImage programIconImage(int size) {
    if (size <= 0)
        return {};
    QImage image = transparentImage(QSize(size, size));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    drawProgram(p);
    return image;
}

QIcon programIcon() {
    QList<QSize> sizes;
    for (const int size : kProgramIconSizes)
        sizes.append(QSize(size, size));
    return QIcon(new DrawnIcon(
        [](QSize size) { return programIconImage(std::min(size.width(), size.height())); }, sizes,
        0)); // asked for once by the window and the About box
}
