#include "ui/base/cdtdoc.h"
#include "ui/files/reportprinter.h"

#include "support/storetestaccess.h"
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

// The unzoomed value window at scroll position 72: -100 .. 200.
ReportTicks unzoomedTicks() {
    ReportTicks t{};
    for (int k = 0; k < kReportTickCount; ++k)
        t[k] = static_cast<float>((k - 72 + 68) * 25);
    return t;
}

// Records n readings of 20.0, 20.1, ... straight into the store.
void record(CDTDoc& doc, int n) {
    for (int i = 0; i < n; ++i) {
        const std::int64_t t = 1796549871 + i;
        SampleStore& store = StoreTestAccess::store(doc.recorder());
        store.storeCurrent(20.0f + static_cast<float>(i) / 10.0f, i % 2 ? "F" : "C", t,
                           formatTimeText(t));
        store.commit();
    }
}

// A word that pdftotext found, in report units of its page (0.01 inch from the
// bottom-right corner of the printable area, y up); y is the word's top.
struct Word {
    QString text;
    double x = 0;
    double y = 0;
};
using Page = QList<Word>;

// Runs a poppler tool; nullopt when it is not installed.
std::optional<QString> runTool(const QString& tool, const QStringList& args) {
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

#define REQUIRE_TOOL(result)                                                                       \
    if (!(result))                                                                                 \
    GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) are not installed"

int pdfPageCount(const QString& path) {
    const auto info = runTool("pdfinfo", {path});
    const QRegularExpressionMatch m =
        QRegularExpression("Pages:\\s+(\\d+)").match(info.value_or(""));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The words of every page, converted from PDF points (origin top-left of the
// paper) to report units with the printable area of ReportPrinter::pageLayout().
std::optional<QList<Page>> pdfWords(const QString& path) {
    const auto html = runTool("pdftotext", {"-bbox", path, "-"});
    if (!html)
        return std::nullopt;
    const QMarginsF margins = ReportPrinter::kMarginsMm * (72.0 / 25.4);
    const QRegularExpression pageRe("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">");
    const QRegularExpression wordRe("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                    "xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>");
    QList<Page> pages;
    double right = 0;
    double bottom = 0;
    for (const QString& line : html->split('\n')) {
        if (const auto m = pageRe.match(line); m.hasMatch()) {
            pages.append(Page());
            right = m.captured(1).toDouble() - margins.right();
            bottom = m.captured(2).toDouble() - margins.bottom();
        } else if (const auto w = wordRe.match(line); w.hasMatch() && !pages.isEmpty()) {
            pages.last().append({w.captured(3), (w.captured(1).toDouble() - right) * 100.0 / 72.0,
                                 (bottom - w.captured(2).toDouble()) * 100.0 / 72.0});
        }
    }
    return pages;
}

// The word `text` nearest to (x, y), or nullopt.
std::optional<Word> find(const Page& page, const QString& text, double x, double y) {
    std::optional<Word> best;
    for (const Word& w : page)
        if (w.text == text &&
            (!best || std::hypot(w.x - x, w.y - y) < std::hypot(best->x - x, best->y - y)))
            best = w;
    return best;
}

// Font metrics leave a few units of play between the top of a string and the
// top of its word box.
constexpr double kTolerance = 4.0;

// The word `text` stands at (x, y), within the tolerance.
::testing::AssertionResult wordAt(const Page& page, const QString& text, double x, double y) {
    const auto w = find(page, text, x, y);
    if (!w)
        return ::testing::AssertionFailure() << "no word \"" << text.toStdString() << "\"";
    if (std::abs(w->x - x) > kTolerance || std::abs(w->y - y) > kTolerance)
        return ::testing::AssertionFailure()
               << "\"" << text.toStdString() << "\" at (" << w->x << ", " << w->y << "), not at ("
               << x << ", " << y << ")";
    return ::testing::AssertionSuccess();
}

struct Report {
    QTemporaryDir dir;
    CDTDoc doc;
    QString path = dir.filePath("report.pdf");

    explicit Report(int n) { record(doc, n); }
    Result<void, QString> print() { return printReportToPdf(path, doc, unzoomedTicks()); }
};

// Counts the dark pixels in `rect` of `image`.
int darkPixels(const QImage& image, const QRect& rect) {
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

} // namespace

TEST(ReportPrinter, PageCountFollowsTheRecordedSamples) {
    for (const auto& [samples, pages] : {std::pair{29, 2}, {30, 2}, {31, 3}}) {
        Report report(samples);
        const Result<void, QString> printed = report.print();
        ASSERT_TRUE(printed) << printed.error().toStdString();
        const int count = pdfPageCount(report.path);
        if (count == -1 && QStandardPaths::findExecutable("pdfinfo").isEmpty())
            GTEST_SKIP() << "poppler-utils (pdfinfo) is not installed";
        EXPECT_EQ(count, pages) << samples << " samples";
    }
}

TEST(ReportPrinter, TablePagesPutRowsWhereTheyBelong) {
    Report report(31);
    StoreTestAccess::recValue(report.doc.recorder(), 4) = kNoValue;
    ASSERT_TRUE(report.print());
    const auto pages = pdfWords(report.path);
    REQUIRE_TOOL(pages);
    ASSERT_EQ(pages->size(), 3);

    const Page& first = (*pages)[1];
    EXPECT_TRUE(wordAt(first, "NO", -618, 1080));
    EXPECT_TRUE(wordAt(first, "DATA", -466, 1080));
    EXPECT_TRUE(wordAt(first, "UNIT", -314, 1080));
    EXPECT_TRUE(wordAt(first, "TIME", -162, 1080));
    for (int j = 0; j < 30; ++j)
        EXPECT_TRUE(wordAt(first, QString::number(j + 1), -618, 1020 - 30 * j));
    EXPECT_TRUE(wordAt(first, "20.0", -466, 1020));
    EXPECT_TRUE(wordAt(first, "C", -314, 1020));
    EXPECT_TRUE(wordAt(first, QString::fromStdString(formatTimeText(1796549871)), -162, 1020));
    // Row 5 has no value: dashes, and the rest of the row as usual.
    EXPECT_TRUE(wordAt(first, "----", -466, 1020 - 30 * 4));
    EXPECT_TRUE(wordAt(first, "5", -618, 1020 - 30 * 4));
    EXPECT_TRUE(
        wordAt(first, QString::fromStdString(formatTimeText(1796549871 + 4)), -162, 1020 - 30 * 4));
    EXPECT_TRUE(wordAt(first, "22.9", -466, 1020 - 30 * 29));

    // Row 31 alone at the top of the last page.
    const Page& last = (*pages)[2];
    ASSERT_EQ(last.size(), 8);
    EXPECT_TRUE(wordAt(last, "31", -618, 1020));
    EXPECT_TRUE(wordAt(last, "23.0", -466, 1020));
}

TEST(ReportPrinter, GraphPageTitleAndScales) {
    Report report(30);
    ASSERT_TRUE(report.print());
    const auto pages = pdfWords(report.path);
    REQUIRE_TOOL(pages);
    ASSERT_EQ(pages->size(), 2);
    const Page& graph = (*pages)[0];

    // The title begins with a space; its first word follows that space.
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(40);
    const double space = QFontMetricsF(title).horizontalAdvance(' ');
    EXPECT_TRUE(wordAt(graph, "Orvane", -610 + space, 1120));
    EXPECT_TRUE(wordAt(graph, "Temperature", -750, 1025));
    for (int k = 0; k <= 12; ++k)
        EXPECT_TRUE(wordAt(graph, QString::number((k - 4) * 25) + ".0", -800, 215 + 66 * k));
    // 30 samples: every second one is numbered, 51 units apart.
    EXPECT_TRUE(wordAt(graph, "1", -750, 195));
    EXPECT_TRUE(wordAt(graph, "3", -750 + 2 * 740.0 / 29, 195));
    EXPECT_TRUE(wordAt(graph, "29", -750 + 28 * 740.0 / 29, 195));
    EXPECT_FALSE(find(graph, "31", 0, 195).has_value());
}

TEST(ReportPrinter, PrintingAfterALoadPrintsTheLoadedSeriesAndKeepsIt) {
    Report report(40);
    report.doc.recorder().loadGraph(
        {7.5f, kNoValue, 9.0f}, {"F", "F", "C"},
        {"01-02-27/03:04:05", "01-02-27/03:04:06", "01-02-27/03:04:07"});
    ASSERT_TRUE(report.print());
    EXPECT_EQ(report.doc.store().recCount(), 3);
    EXPECT_EQ(report.doc.store().recTimeText()[2], "01-02-27/03:04:07");

    const auto pages = pdfWords(report.path);
    REQUIRE_TOOL(pages);
    ASSERT_EQ(pages->size(), 2);
    EXPECT_TRUE(wordAt((*pages)[1], "7.5", -466, 1020));
    EXPECT_TRUE(wordAt((*pages)[1], "----", -466, 990));
    EXPECT_TRUE(wordAt((*pages)[1], "01-02-27/03:04:07", -162, 960));
    EXPECT_FALSE(find((*pages)[1], "4", -618, 930).has_value());
}

TEST(ReportPrinter, ThePrinterPathGivesTheSamePagesAndHonoursTheRange) {
    Report report(31);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(report.path);
    printer.setPageLayout(ReportPrinter::pageLayout());
    ReportPrinter printing(report.doc.recorder(), unzoomedTicks());
    Result<void, QString> printed = printing.print(printer);
    ASSERT_TRUE(printed) << printed.error().toStdString();
    auto pages = pdfWords(report.path);
    REQUIRE_TOOL(pages);
    ASSERT_EQ(pages->size(), 3);
    EXPECT_TRUE(wordAt((*pages)[0], "Temperature", -750, 1025));
    EXPECT_TRUE(wordAt((*pages)[2], "31", -618, 1020));

    // Pages 3 to 3 only.
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 3);
    printed = printing.print(printer);
    ASSERT_TRUE(printed) << printed.error().toStdString();
    pages = pdfWords(report.path);
    ASSERT_EQ(pages->size(), 1);
    EXPECT_TRUE(wordAt((*pages)[0], "31", -618, 1020));

    // A range past the report prints nothing and says so.
    printer.setFromTo(5, 6);
    printed = printing.print(printer);
    EXPECT_TRUE(printed.error().contains("1 to 3")) << printed.error().toStdString();
}

TEST(ReportPrinter, APaperTooSmallGetsTheWholePageScaledToFit) {
    // US Letter less the margins, at 100 dpi, is too short for the page's 1120
    // units: it shrinks alike in x and y, its corner stays, nothing is cut.
    const QRectF letter(0, 0, 826, 1060);
    const QTransform t = ReportPrinter::pageTransform(letter, 100, 100);
    EXPECT_EQ(t.map(QPointF(0, 0)), letter.bottomRight());
    EXPECT_NEAR(t.map(QPointF(-800, 1120)).y(), 0.0, 1e-9);
    EXPECT_NEAR(t.m11(), -t.m22(), 1e-9);
}

TEST(ReportPrinter, AFileThatCannotBeWrittenIsReported) {
    Report report(3);
    const QString path = report.dir.filePath("gone/report.pdf");
    const QString error = printReportToPdf(path, report.doc, unzoomedTicks()).error();
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

// At 100 dpi one page unit is one pixel, so the page can be checked pixel by
// pixel: the printable area is the image less a margin of 20 pixels.
TEST(ReportPrinter, GraphPageOnAnImageLiesInPageUnitsWithUprightText) {
    CDTDoc doc;
    record(doc, 3);
    StoreTestAccess::graphValue(doc.recorder(), 0) = -100.0f; // bottom of the window
    StoreTestAccess::graphValue(doc.recorder(), 1) = 200.0f;  // top
    StoreTestAccess::graphValue(doc.recorder(), 2) = 50.0f;   // middle
    QImage image(860, 1190, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRectF printable(20, 20, 820, 1150);
    const auto px = [&](int x, int y) {
        return QPoint(static_cast<int>(printable.right()) + x,
                      static_cast<int>(printable.bottom()) - y);
    };
    {
        QPainter painter(&image);
        ReportPrinter(doc.recorder(), unzoomedTicks()).drawPage(painter, printable, 100, 100, 1);
        // The page's transform is left behind with the page.
        EXPECT_TRUE(painter.worldTransform().isIdentity());
    }
    const auto black = [&](QPoint p) {
        // Lines two units wide: one of the two rows or columns around the point.
        for (const QPoint d :
             {QPoint(0, 0), QPoint(-1, 0), QPoint(0, -1), QPoint(1, 0), QPoint(0, 1)})
            if (qGray(image.pixel(p + d)) < 64)
                return true;
        return false;
    };
    // Frame corners and edges.
    EXPECT_TRUE(black(px(-750, 600)));
    EXPECT_TRUE(black(px(-10, 600)));
    EXPECT_TRUE(black(px(-400, 200)));
    EXPECT_TRUE(black(px(-400, 1000)));
    EXPECT_FALSE(black(px(-400, 190)));
    // The curve: up from the bottom-left corner to the top, down to the middle.
    EXPECT_TRUE(black(px(-565, 600)));
    EXPECT_TRUE(black(px(-195, 800)));
    EXPECT_TRUE(black(px(-10, 600)));
    // A horizontal grid line: dotted grey, inside the frame.
    int grey = 0;
    for (int x = -700; x < -600; ++x)
        grey += image.pixel(px(x, 466)) == qRgb(127, 127, 127);
    EXPECT_GT(grey, 20);
    EXPECT_LT(grey, 80);

    // The title is upright: the same pixels as the string drawn plainly.
    QImage plain(image.size(), QImage::Format_RGB32);
    plain.fill(Qt::white);
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPixelSize(40);
    {
        QPainter painter(&plain);
        painter.setFont(font);
        painter.drawText(QPointF(px(-610, 1120)) + QPointF(0, QFontMetricsF(font).ascent()),
                         QStringLiteral(" Orvane Test Report "));
    }
    const QRect titleBox(px(-620, 1140), px(-100, 1060));
    const int ink = darkPixels(plain, titleBox);
    ASSERT_GT(ink, 500);
    int differ = 0;
    for (int y = titleBox.top(); y <= titleBox.bottom(); ++y)
        for (int x = titleBox.left(); x <= titleBox.right(); ++x)
            differ += (qGray(image.pixel(x, y)) < 128) != (qGray(plain.pixel(x, y)) < 128);
    EXPECT_LT(differ, ink / 20) << "ink " << ink;
}

TEST(ReportPrinter, CancellingThePrintDialogChangesNothing) {
    CDTDoc doc;
    record(doc, 40);
    doc.recorder().loadGraph({1.0f, 2.0f}, {"C", "C"}, {"a", "b"});
    int maxPage = -1;
    bool shown = false;
    // Answers the dialog as soon as it is up.
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QPrintDialog*>(w); dialog && dialog->isVisible()) {
                shown = true;
                maxPage = dialog->maxPage();
                dialog->reject();
                answer.stop();
            }
    });
    answer.start();
    EXPECT_FALSE(printReport(nullptr, doc, unzoomedTicks()));
    EXPECT_TRUE(shown);
    EXPECT_EQ(maxPage, 2);
    EXPECT_EQ(doc.store().recCount(), 40);
}
