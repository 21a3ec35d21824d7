#include "app/tempdir.h"
#include "core/files/dovdatcodec.h"
#include "support/recordingprompter.h"
#include "ui/viewer/recordingload.h"
#include "ui/viewer/recordingviewer.h"
#include "ui/viewer/spanpanels.h"
#include "ui/viewer/viewerplot.h"

#include <QBuffer>
#include <QLabel>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// A chain of three files, 40 samples each one a second apart from 12:00:00
// local time, values 100 + sample number, opened with a broken file beside it.
TEST(RecordingViewer, OpensAChainAsOneNightOnAClock) {
    const TempDir dir;
    QStringList named;
    for (int f = 0; f < 3; ++f) {
        std::vector<float> values;
        std::vector<std::string> units, times;
        for (int i = 0; i < 40; ++i) {
            const int n = f * 40 + i;
            values.push_back(100.0f + static_cast<float>(n));
            units.push_back("C");
            char text[32];
            std::snprintf(text, sizeof text, "12-07-26/12:%02d:%02d", n / 60, n % 60);
            times.push_back(text);
        }
        const std::string name =
            f == 0 ? "night.DovDat" : "night-" + std::to_string(f + 1) + ".DovDat";
        const auto bytes = encodeDovDat(values, units, times);
        writeText(dir.path() / name, std::string(bytes->begin(), bytes->end()));
        named << QString::fromStdString((dir.path() / name).string());
    }
    writeText(dir.path() / "broken.DovDat", "not a data file");
    named << QString::fromStdString((dir.path() / "broken.DovDat").string());

    QStringList messages;
    RecordingPrompter prompter(&messages);
    RecordingViewer::Startup startup;
    startup.configPath = dir.path() / "loggerconfig.ini";
    startup.alarmHigh = 200;
    startup.alarmLow = 110;
    startup.prompter = &prompter;
    auto* viewer = new RecordingViewer(startup);
    viewer->resize(900, 500);
    viewer->show();
    QSignalSpy loaded(viewer, &RecordingViewer::loaded);
    viewer->open(named);
    // As when reading takes longer than half a second: the progress shows, and goes with the end.
    auto* progress = viewer->findChild<QProgressDialog*>();
    ASSERT_NE(progress, nullptr);
    progress->show();
    ASSERT_TRUE(!loaded.isEmpty() || loaded.wait(30000));
    EXPECT_FALSE(progress->isVisible());

    ViewerPlot* plot = viewer->plot();
    ASSERT_NE(plot->data(), nullptr);
    EXPECT_EQ(plot->data()->series().size(), 120u);
    EXPECT_EQ(plot->visibleSamples(), (std::pair<std::size_t, std::size_t>(0, 120)));
    EXPECT_TRUE(
        viewer->windowTitle().startsWith("night.DovDat and 2 more (2026-12-07 12:00:00 to "))
        << viewer->windowTitle().toStdString();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("broken.DovDat: it is not a data file"))
        << messages[0].toStdString();

    // The hover readout names the sample under the pointer: the middle of
    // the plot is 12:00:59 or 12:01:00, samples 20 and 21 of the second file.
    QLabel* readout = viewer->findChild<QLabel*>("readout");
    ASSERT_NE(readout, nullptr);
    const QPoint middle(ViewerPlot::kLeftMargin +
                            (plot->width() - ViewerPlot::kLeftMargin - ViewerPlot::kRightMargin) /
                                2,
                        plot->height() / 2);
    QTest::mouseMove(plot, middle);
    EXPECT_TRUE(
        readout->text().contains(QRegularExpression("12:0(0:59|1:00).000   1(59|60).0 "
                                                    "\u00B0C   night-2.DovDat, sample 2(0|1)$")))
        << "readout: " << readout->text().toStdString();

    // Samples under the low limit are red, those between the limits blue.
    const QImage picture = plot->grab().toImage();
    int red = 0;
    int blue = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = ViewerPlot::kLeftMargin; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            red += c == QColor(255, 0, 0);
            blue += c == QColor(80, 150, 255);
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(blue, 200);

    // Up zooms in around the middle; Backspace goes back.
    QTest::keyClick(plot, Qt::Key_Up);
    EXPECT_LT(plot->visibleSamples().second - plot->visibleSamples().first, 120u);
    QTest::keyClick(plot, Qt::Key_Backspace);
    EXPECT_EQ(plot->visibleSamples(), (std::pair<std::size_t, std::size_t>(0, 120)));

    // Two episodes: below 110 from sample 0, above 200 from sample 101 to the
    // last, which holds nothing. Choosing one zooms to it, a minute around it,
    // and the statistics follow the span.
    using Row = std::pair<QString, QString>;
    EXPECT_EQ(viewer->statistics()->rows().front(), Row("Samples", "120"));
    EXPECT_EQ(viewer->statistics()->rows().back(), Row("Alarm episodes", "2"));
    QTreeWidget* episodes = viewer->episodeList()->tree();
    ASSERT_EQ(episodes->topLevelItemCount(), 2);
    EXPECT_EQ(episodes->topLevelItem(0)->text(2), "10 s");
    EXPECT_EQ(episodes->topLevelItem(1)->text(2), "18 s");
    episodes->setCurrentItem(episodes->topLevelItem(1));
    EXPECT_EQ(plot->visibleSamples(), (std::pair<std::size_t, std::size_t>(41, 120)));
    EXPECT_EQ(viewer->statistics()->rows().front(), Row("Samples", "79"));

    // The visible span exported: its 79 samples under a header, numbered afresh.
    prompter.m_savePaths = {QString::fromStdString((dir.path() / "span.csv").string())};
    for (QAction* a : viewer->findChildren<QAction*>())
        if (a->text() == "Export the &Visible Span as CSV...")
            a->trigger();
    const std::string csv = readText(dir.path() / "span.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 80);
    EXPECT_NE(csv.find("\n1,2026-12-07 12:00:41.000,"), std::string::npos) << csv.substr(0, 120);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(96);
        EXPECT_EQ(viewer->printReport(writer), 1);
    }
    EXPECT_TRUE(pdf.data().startsWith("%PDF"));
    viewer->close();
}

} // namespace
