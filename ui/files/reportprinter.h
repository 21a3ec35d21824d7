#pragma once

#include "core/files/reportlayout.h"
#include "core/result.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QTransform>

class Acquisition;
class Recorder;
class CDTDoc;
class QPagedPaintDevice;
class QPainter;
class QWidget;

// The test report on paper or in a PDF: page 1 draws the graph series with its
// scales, every further page lists 30 recorded samples (see reportlayout.h).
// Drawing goes through any QPainter, so the preview, the printer and the PDF
// file show the same pages.
class ReportPrinter {
public:
    ReportPrinter(Recorder& recorder, const ReportTicks& ticks);

    // Begins printing: after a data file was loaded, the loaded series becomes
    // the recorded series and stays so. Returns the number of pages.
    int begin();
    // Pages of the report as it stands (after begin()).
    int pageCount() const;

    // Draws page `page` (1-based) through `painter`, whose device shows the
    // printable area `printable` (device pixels in the painter's coordinates)
    // at `dpiX` x `dpiY` dots per inch. A label at the right edge may reach a
    // little past the area; the device cuts what it cannot print.
    void drawPage(QPainter& painter, const QRectF& printable, qreal dpiX, qreal dpiY, int page);

    // Begins, then prints every page of the device's page ranges (all when it
    // has none) on `device`, a QPrinter or a QPdfWriter; the reason when it
    // could not.
    Result<void, QString> print(QPagedPaintDevice& device);

    // The page units: 0.01 inch, origin at the bottom-right corner of
    // `printable`, x to the right, y upward; scaled down alike in x and y when
    // the area is too small for the page (kReportPageWidth x kReportPageHeight).
    static QTransform pageTransform(const QRectF& printable, qreal dpiX, qreal dpiY);

    // A4 portrait, the default paper: the report needs 8 x 11.2 inches of
    // printable area. The margins are small, but never below the device's
    // `minimum`.
    static QPageLayout pageLayout(const QMarginsF& minimum = QMarginsF());
    static inline const QMarginsF kMarginsMm = QMarginsF(3.0, 5.0, 3.0, 5.0);

private:
    void drawGraphPage(QPainter& painter) const;
    void drawTablePage(QPainter& painter, int page);

    Recorder& m_recorder;
    const Acquisition& m_acq; // what the recorder holds
    ReportTicks m_ticks;
};

// Print: the print dialog (page range, printer or PDF file), then the pages.
// False when cancelled or when printing failed (the failure is reported).
bool printReport(QWidget* parent, CDTDoc& doc, ReportTicks ticks);

// Print preview: the report on screen, printable from the preview's button.
// True when it was printed.
bool previewReport(QWidget* parent, CDTDoc& doc, ReportTicks ticks);

// Writes the whole report to the PDF file `path` (A4, pageLayout()), replacing
// it whole or not at all; the reason when it could not.
Result<void, QString> printReportToPdf(const QString& path, CDTDoc& doc, ReportTicks ticks);
