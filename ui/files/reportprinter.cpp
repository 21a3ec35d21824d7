#include "ui/files/reportprinter.h"

#include "engine/recorder.h"

#include "core/files/atomicfile.h"
#include "core/store/acquisition.h"
#include "ui/base/busycursor.h"
#include "ui/base/cdtdoc.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScopeGuard>

#include <algorithm>
#include <span>
#include <vector>

namespace {

const QString kCaption = QStringLiteral("Orvane");
const QString kDocName = QStringLiteral("Orvane Test Report");

QFont reportFont(ReportFont which) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    // Sizes are page units: the painter's scale makes them 0.40 and 0.15 inch.
    font.setPixelSize(which == ReportFont::Title ? 40 : 15);
    return font;
}

// Page fonts, created for each page.
struct PageFonts {
    QFont title = reportFont(ReportFont::Title);
    QFont text = reportFont(ReportFont::Text);
    qreal titleAscent = QFontMetricsF(title).ascent();
    qreal textAscent = QFontMetricsF(text).ascent();
};

// Draws `t` with its top-left corner at its point, upright although the page's
// y axis points up.
void drawText(QPainter& painter, const PageFonts& fonts, const ReportText& t) {
    const bool title = t.font == ReportFont::Title;
    painter.save();
    painter.setFont(title ? fonts.title : fonts.text);
    painter.translate(t.x, t.y);
    painter.scale(1.0, -1.0);
    painter.drawText(QPointF(0.0, title ? fonts.titleAscent : fonts.textAscent),
                     QString::fromStdString(t.text));
    painter.restore();
}

void drawLines(QPainter& painter, const std::vector<ReportLine>& lines) {
    QList<QLine> qlines;
    qlines.reserve(static_cast<qsizetype>(lines.size()));
    for (const ReportLine& l : lines)
        qlines.append(QLine(l.x1, l.y1, l.x2, l.y2));
    painter.drawLines(qlines);
}

QPen solidPen(int width) {
    return QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The pages of 1..pages that `device` is asked for.
std::vector<int> requestedPages(const QPagedPaintDevice& device, int pages) {
    const QPageRanges ranges = device.pageRanges();
    bool all = ranges.isEmpty();
    if (const auto* printer = dynamic_cast<const QPrinter*>(&device))
        all = all || printer->printRange() == QPrinter::AllPages;
    std::vector<int> wanted;
    for (int p = 1; p <= pages; ++p)
        if (all || ranges.contains(p))
            wanted.push_back(p);
    return wanted;
}

void preparePrinter(QPrinter& printer) {
    printer.setDocName(kDocName);
    printer.setCreator(kCaption);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPageLayout current = printer.pageLayout();
    current.setUnits(QPageLayout::Millimeter);
    printer.setPageLayout(ReportPrinter::pageLayout(current.minimumMargins()));
}

} // namespace

ReportPrinter::ReportPrinter(Recorder& recorder, const ReportTicks& ticks)
    : m_recorder(recorder), m_acq(recorder.acquisition()), m_ticks(ticks) {}

int ReportPrinter::begin() {
    m_recorder.adoptLoadedSeries();
    return pageCount();
}

int ReportPrinter::pageCount() const {
    return reportPageCount(m_acq.store().recCount());
}

QTransform ReportPrinter::pageTransform(const QRectF& printable, qreal dpiX, qreal dpiY) {
    // A paper too small for the page (US Letter is too short) gets the whole
    // page scaled down, rather than cut at its top or left.
    qreal fit = 1.0;
    if (dpiX > 0.0 && dpiY > 0.0) {
        fit = std::min({1.0, printable.width() / (kReportPageWidth * dpiX / 100.0),
                        printable.height() / (kReportPageHeight * dpiY / 100.0)});
        if (fit <= 0.0)
            fit = 1.0; // no printable area: nothing is seen either way
    }
    QTransform t;
    t.translate(printable.right(), printable.bottom());
    t.scale(fit * dpiX / 100.0, -fit * dpiY / 100.0);
    return t;
}

QPageLayout ReportPrinter::pageLayout(const QMarginsF& minimum) {
    const QMarginsF margins(std::max(kMarginsMm.left(), minimum.left()),
                            std::max(kMarginsMm.top(), minimum.top()),
                            std::max(kMarginsMm.right(), minimum.right()),
                            std::max(kMarginsMm.bottom(), minimum.bottom()));
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter, minimum);
}

void ReportPrinter::drawPage(QPainter& painter, const QRectF& printable, qreal dpiX, qreal dpiY,
                             int page) {
    painter.save();
    painter.setWorldTransform(pageTransform(printable, dpiX, dpiY), true);
    painter.setBackgroundMode(Qt::TransparentMode);
    if (page <= 1)
        drawGraphPage(painter);
    else
        drawTablePage(painter, page);
    painter.restore();
}

void ReportPrinter::drawGraphPage(QPainter& painter) const {
    const SampleStore& s = m_acq.store();
    const ReportGraphPage page = reportGraphPage(s.graphValues(), m_ticks);
    const PageFonts fonts;

    painter.setPen(solidPen(4));
    drawText(painter, fonts, page.title);
    painter.setPen(solidPen(2));
    drawLines(painter, page.frame);
    drawLines(painter, page.curve);
    for (const ReportText& t : page.labels)
        drawText(painter, fonts, t);
    painter.setPen(QPen(QColor(127, 127, 127), 1, Qt::DotLine));
    drawLines(painter, page.grid);
}

void ReportPrinter::drawTablePage(QPainter& painter, int page) {
    // A loaded file becomes the recorded series when it is printed.
    m_recorder.adoptLoadedSeries();
    RecordedTexts texts;
    const RecordedSeries r = m_acq.store().recorded(texts);
    const ReportTablePage table = reportTablePage(page, r.values, r.units, r.timeTexts);
    const PageFonts fonts;

    painter.setPen(solidPen(2));
    painter.drawLine(table.rule.x1, table.rule.y1, table.rule.x2, table.rule.y2);
    for (const ReportText& t : table.texts)
        drawText(painter, fonts, t);
}

Result<void, QString> ReportPrinter::print(QPagedPaintDevice& device) {
    const std::vector<int> pages = requestedPages(device, begin());
    if (pages.empty())
        return Failure{
            QCoreApplication::translate("ReportPrinter", "The report has pages 1 to %1 only.")
                .arg(pageCount())};

    const BusyCursor busy;

    QPainter painter;
    if (!painter.begin(&device)) {
        const auto* printer = dynamic_cast<const QPrinter*>(&device);
        return Failure{
            printer && !printer->outputFileName().isEmpty()
                ? QCoreApplication::translate("ReportPrinter", "Cannot write %1.")
                      .arg(printer->outputFileName())
                : QCoreApplication::translate("ReportPrinter", "Could not start print job.")};
    }
    const qreal dpiX = device.logicalDpiX();
    const qreal dpiY = device.logicalDpiY();
    const QSizeF inches = device.pageLayout().paintRect(QPageLayout::Inch).size();
    const QRectF printable(0.0, 0.0, inches.width() * dpiX, inches.height() * dpiY);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return Failure{
                QCoreApplication::translate("ReportPrinter", "The printer stopped after page %1.")
                    .arg(pages[i - 1])};
        }
        drawPage(painter, printable, dpiX, dpiY, pages[i]);
    }
    if (!painter.end())
        return Failure{
            QCoreApplication::translate("ReportPrinter", "Could not finish the print job.")};
    return {};
}

bool printReport(QWidget* parent, CDTDoc& doc, ReportTicks ticks) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, reportPageCount(reportRecordCount(doc.acq())));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;

    ReportPrinter report(doc.recorder(), ticks);
    if (const Result<void, QString> printed = report.print(printer); !printed) {
        QMessageBox::warning(parent, kCaption, printed.error());
        return false;
    }
    return true;
}

bool previewReport(QWidget* parent, CDTDoc& doc, ReportTicks ticks) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    ReportPrinter report(doc.recorder(), ticks);
    QString error;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report, &error](QPrinter* target) {
                         if (error.isEmpty())
                             error = report.print(*target).error();
                     });
    const bool printed = dialog.exec() == QDialog::Accepted;
    if (!error.isEmpty()) {
        QMessageBox::warning(parent, kCaption, error);
        return false;
    }
    return printed;
}

Result<void, QString> printReportToPdf(const QString& path, CDTDoc& doc, ReportTicks ticks) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(ReportPrinter::pageLayout());
        writer.setTitle(kDocName);
        writer.setCreator(kCaption);
        ReportPrinter report(doc.recorder(), ticks);
        if (Result<void, QString> printed = report.print(writer); !printed)
            return printed;
    }
    const Result<> written =
        AtomicFile(path.toStdString())
            .replace(std::string_view(buffer.data().constData(),
                                      static_cast<std::size_t>(buffer.data().size())));
    if (!written)
        return Failure{QCoreApplication::translate("ReportPrinter", "Cannot write %1: %2")
                           .arg(path, QString::fromStdString(written.error()))};
    return {};
}
