// The pieces that keep a reading's repaint cheap must draw exactly what the
// plain drawing they stand in for draws.
#include "core/store/acquisition.h"
#include "tests/panels/panelsupport.h"
#include "ui/panels/cachedscrollbar.h"
#include "ui/panels/datalistpanel.h"
#include "ui/panels/largeglyphs.h"
#include "ui/panels/textcache.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

QFont labelFont(int pixels) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    return font;
}

int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// The same text drawn by QPainter::drawText and by drawCachedText, with the
// painter translated and clipped as the graph's label strips are.
TEST(TextCache, DrawsWhatPlainTextDrawsInBothBackgroundModes) {
    TextCache cache;
    for (const Qt::BGMode mode : {Qt::TransparentMode, Qt::OpaqueMode}) {
        for (const int pixels : {12, 13, 19, 30}) {
            const QFont font = labelFont(pixels);
            const QFontMetrics fm(font);
            for (const QString& text :
                 {QStringLiteral("-100.00"), QStringLiteral("4000"), QStringLiteral("UnLock")}) {
                QImage plain(160, 60, QImage::Format_RGB32);
                QImage cached(plain.size(), plain.format());
                plain.fill(Qt::white);
                cached.fill(Qt::white);
                const auto setUp = [&](QPainter& p) {
                    p.setClipRect(QRect(3, 2, 150, 50));
                    p.translate(7, 9);
                    p.setFont(font);
                    p.setPen(Qt::black);
                    p.setBackgroundMode(mode);
                    p.setBackground(QColor(236, 236, 236));
                };
                {
                    QPainter p(&plain);
                    setUp(p);
                    p.drawText(QPoint(2, 3 + fm.ascent()), text);
                }
                {
                    QPainter p(&cached);
                    setUp(p);
                    drawCachedText(p, cache, font, 2, 3, text);
                    EXPECT_EQ(p.backgroundMode(), mode);
                }
                EXPECT_EQ(differingPixels(plain, cached), 0)
                    << text.toStdString() << " at " << pixels << " px, mode " << mode;
                // Its ink holds every pixel the glyphs touch.
                if (mode == Qt::TransparentMode) {
                    const QRect ink = cache.get(font, text).ink().translated(9, 12).toAlignedRect();
                    QImage outside = cached.copy();
                    QPainter(&outside).fillRect(ink, Qt::white);
                    QImage blank(plain.size(), plain.format());
                    blank.fill(Qt::white);
                    EXPECT_EQ(differingPixels(outside, blank), 0) << text.toStdString();
                }
            }
        }
    }
}

TEST(TextCache, KeepsOneLayoutPerFontAndTextAndStartsAgainWhenFull) {
    TextCache cache(3);
    const QFont small = labelFont(12);
    const QFont large = labelFont(20);
    const TextCache::Text* first = &cache.get(small, QStringLiteral("25.3"));
    EXPECT_EQ(&cache.get(small, QStringLiteral("25.3")), first);
    EXPECT_EQ(cache.size(), 1);
    EXPECT_DOUBLE_EQ(first->advance, QFontMetricsF(small).horizontalAdvance("25.3"));
    EXPECT_GT(cache.get(large, QStringLiteral("25.3")).advance, first->advance);
    EXPECT_EQ(cache.size(), 2);
    cache.get(small, QStringLiteral("25.4"));
    EXPECT_EQ(cache.size(), 3);
    cache.get(small, QStringLiteral("25.5")); // past the capacity: a fresh start
    EXPECT_EQ(cache.size(), 1);
    EXPECT_DOUBLE_EQ(cache.get(small, QStringLiteral("25.5")).advance,
                     QFontMetricsF(small).horizontalAdvance("25.5"));
}

// The reading's 65-pixel text from pictures of its glyphs against drawText,
// on the panel's black and its face, translated and clipped as a widget's
// paint is. The fill differs from itself that much when drawn a pixel
// further on. A scaling painter gets drawText itself.
TEST(LargeGlyphs, DrawWhatDrawTextDrawsAndKnowWhereTheInkIs) {
    LargeGlyphs glyphs;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(65);
    const int ascent = QFontMetrics(font).ascent();
    const QRegion clip = QRegion(0, 0, 150, 90) + QRegion(150, 12, 250, 60);
    for (const QColor background : {QColor(Qt::black), QColor(236, 236, 236)}) {
        for (const QString& text :
             {QStringLiteral("25.3"), QStringLiteral("-1999.9"), QStringLiteral("1049.9"),
              QStringLiteral("-7.4"), QStringLiteral("11.1"), QStringLiteral("C"),
              QStringLiteral("F"), QStringLiteral("OL"), QStringLiteral("        ")}) {
            for (const qreal scale : {1.0, 1.5}) {
                QImage plain(420, 100, QImage::Format_RGB32);
                QImage pictured(plain.size(), plain.format());
                plain.fill(background);
                pictured.fill(background);
                const QPoint baseline(20, 5 + ascent);
                {
                    QPainter p(&plain);
                    p.translate(3, 2);
                    p.scale(scale, scale);
                    p.setClipRegion(clip);
                    p.setFont(font);
                    p.setPen(Qt::red);
                    p.drawText(baseline, text);
                }
                {
                    QPainter p(&pictured);
                    p.translate(3, 2);
                    p.scale(scale, scale);
                    p.setClipRegion(clip);
                    glyphs.draw(p, font, Qt::red, baseline, text);
                }
                const std::string what = text.toStdString() + " at " + std::to_string(scale);
                EXPECT_LE(differingPixels(plain, pictured), scale == 1.0 ? 12 : 0) << what;
                EXPECT_LE(worstDifference(plain, pictured), 4) << what;
                if (scale != 1.0)
                    continue;
                // Every pixel the text coloured lies in its ink rectangle.
                QImage bare(plain.size(), plain.format());
                bare.fill(background);
                const QRect ink = glyphs.inkRect(font, Qt::red, baseline, text).translated(3, 2);
                QRect coloured;
                for (int y = 0; y < plain.height(); ++y)
                    for (int x = 0; x < plain.width(); ++x)
                        if (plain.pixel(x, y) != bare.pixel(x, y))
                            coloured |= QRect(x, y, 1, 1);
                EXPECT_TRUE(coloured.isEmpty() || ink.contains(coloured)) << what;
            }
        }
    }
}

// A cached bar and a plain one in the same state, side by side.
struct BarPair {
    QWidget host;
    CachedScrollBar* cached = new CachedScrollBar(Qt::Vertical, &host);
    QScrollBar* plain = new QScrollBar(Qt::Vertical, &host);
    BarPair() {
        // Away from the pointer, which the offscreen screen keeps at (0, 0).
        host.setGeometry(100, 100, 80, 300);
        cached->setGeometry(20, 0, 14, 300);
        plain->setGeometry(50, 0, 14, 300);
        host.show();
    }
    void set(int maximum, int value) {
        for (QScrollBar* bar : {static_cast<QScrollBar*>(cached), plain}) {
            bar->setRange(0, maximum);
            bar->setPageStep(24);
            bar->setValue(value);
        }
        QCoreApplication::processEvents();
    }
    QImage shot(QWidget* w) {
        return host.grab(w->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST(CachedScrollBar, LooksLikeAPlainBarAndDrawsOnlyWhenItsLookChanges) {
    BarPair bars;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bars.host));
    struct Step {
        int maximum;
        int value;
    };
    // A list growing at its bottom, then scrolled to the top and the middle.
    for (const Step s : {Step{0, 0}, Step{10, 10}, Step{500, 500}, Step{3976, 3976}, Step{3976, 0},
                         Step{3976, 1988}}) {
        bars.set(s.maximum, s.value);
        // The style's arrows come out a shade apart on a picture (rounding of
        // their translucent strokes); nothing else may differ.
        EXPECT_LE(worstDifference(bars.shot(bars.cached), bars.shot(bars.plain)), 2)
            << s.maximum << " " << s.value;
    }

    // At the bottom of a long list the handle no longer moves: new rows
    // repaint the bar from its picture.
    bars.set(3976, 3976);
    bars.cached->grab();
    const int before = bars.cached->renders();
    for (int rows = 3977; rows < 3990; ++rows) {
        bars.set(rows, rows);
        bars.cached->repaint();
    }
    EXPECT_EQ(bars.cached->renders(), before);
    bars.set(3990, 100); // the handle moves
    bars.cached->repaint();
    EXPECT_EQ(bars.cached->renders(), before + 1);
}

TEST(DataListDelegate, CellsLookAsTheStylesOwnItemPaintingMakesThem) {
    // Two lists side by side in one window, the second with the stock delegate.
    QWidget host;
    host.resize(600, 200);
    DataListPanel ours(&host);
    DataListPanel stock(&host);
    stock.list()->setItemDelegate(new QStyledItemDelegate(stock.list()));
    // Neither takes the focus, which would frame one list's current cell.
    ours.list()->setFocusPolicy(Qt::NoFocus);
    stock.list()->setFocusPolicy(Qt::NoFocus);
    ours.setGeometry(0, 0, 290, 200);
    stock.setGeometry(300, 0, 290, 200);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    for (DataListPanel* panel : {&ours, &stock}) {
        for (int n = 1; n <= 12; ++n)
            panel->appendRow(ListRow{n - 1, std::to_string(n), n % 4 == 3 ? "1270.9log" : "25.3",
                                     n % 2 ? "C" : "F", "07-26-25/08:00:00"});
        panel->list()->selectRow(9);
    }
    QCoreApplication::processEvents();
    // "1270.9log" is too wide for its column and comes out elided.
    const QFontMetrics fm(ours.list()->font());
    const int margin =
        ours.list()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ours.list()) + 1;
    ASSERT_GT(fm.horizontalAdvance("1270.9log"), ours.list()->columnWidth(1) - 2 * margin);

    const auto shot = [](DataListPanel& panel) {
        return panel.list()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(differingPixels(shot(ours), shot(stock)), 0);
}

} // namespace

namespace {

// What the screen shows of the list's rows, against what painting every row
// afresh gives.
struct ShownList {
    QWidget host;
    DataListPanel* panel = new DataListPanel(&host);
    int next = 1;

    ShownList() {
        host.setGeometry(50, 50, 320, 260);
        panel->setGeometry(10, 10, 290, 200);
        host.show();
    }
    DataListView* view() const { return panel->list(); }
    void settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    void append(int count) {
        for (int i = 0; i < count; ++i, ++next) {
            panel->appendRow(ListRow{next - 1, std::to_string(next),
                                     next % 5 ? "25.3" : "1270.9log", "C", "07-26-25/08:00:00"});
            settle();
        }
    }
    QImage onScreen() const {
        QWidget* vp = view()->viewport();
        const QRect r(vp->mapTo(&host, QPoint(0, 0)), vp->size());
        return QGuiApplication::primaryScreen()
            ->grabWindow(host.winId(), r.x(), r.y(), r.width(), r.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    QImage drawnAfresh() const {
        return view()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // A stale or misplaced row differs by whole text strokes; the current
    // row's frame comes out a shade apart where it was drawn in pieces.
    bool stale() const { return worstDifference(onScreen(), drawnAfresh()) > 8; }
};

// The area the viewport's paints covered.
struct PaintedArea : QObject {
    long long pixels = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += static_cast<long long>(r.width()) * r.height();
        return false;
    }
};

TEST(DataListView, RowsOnScreenMatchAFreshPaintThroughAppendsAndEverythingElse) {
    ShownList list;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list.host));
    ASSERT_FALSE(list.onScreen().isNull());

    // Filling an empty list, then scrolling row by row.
    for (int step = 0; step < 30; ++step) {
        list.append(1);
        ASSERT_FALSE(list.stale()) << "after row " << list.next - 1;
    }
    // Plain appends to a full list draw the new row alone: the rows in sight
    // are moved, not drawn again.
    PaintedArea painted;
    list.view()->viewport()->installEventFilter(&painted);
    list.append(10);
    list.view()->viewport()->removeEventFilter(&painted);
    const QWidget* vp = list.view()->viewport();
    EXPECT_LE(painted.pixels, 10LL * vp->width() * list.view()->rowHeight(0));
    EXPECT_FALSE(list.stale());
    // Their scroll range is the one a layout of the whole table gives.
    const QScrollBar* bar = list.view()->verticalScrollBar();
    EXPECT_EQ(bar->pageStep(), vp->height() / list.view()->rowHeight(0));
    EXPECT_EQ(bar->maximum(), list.panel->model()->rowCount() - bar->pageStep());

    QTableView* view = list.view();
    const auto clickRow = [&](int row) {
        const QRect r = view->visualRect(list.panel->model()->index(row, 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    };
    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const std::vector<Step> steps = {
        {"a selected row", [&] { view->selectRow(list.next - 4); }},
        {"a click on a row", [&] { clickRow(list.next - 3); }},
        {"the keyboard moving the selection", [&] { QTest::keyClick(view, Qt::Key_Up); }},
        {"a wider column", [&] { view->horizontalHeader()->resizeSection(1, 80); }},
        {"a horizontal scroll", [&] { view->horizontalScrollBar()->setValue(20); }},
        {"a scroll to the top", [&] { view->verticalScrollBar()->setValue(0); }},
        {"focus lost", [&] { view->clearFocus(); }},
        {"a taller list", [&] { list.panel->resize(290, 260); }},
        {"a refill",
         [&] {
             std::vector<DataListModel::Row> rows;
             for (int i = 1; i <= 50; ++i)
                 rows.push_back({QString::number(i), "1.5", "F", "07-26-25/08:00:01"});
             list.panel->refill(std::move(rows));
             list.next = 51;
         }},
        {"everything deleted",
         [&] {
             list.panel->deleteAllRows();
             list.next = 1;
         }},
    };
    for (const Step& step : steps) {
        step.act();
        list.settle();
        EXPECT_FALSE(list.stale()) << step.what;
        list.append(3);
        EXPECT_FALSE(list.stale()) << "appends after " << step.what;
    }
}

} // namespace
