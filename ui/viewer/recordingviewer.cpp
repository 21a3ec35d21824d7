#include "ui/viewer/recordingviewer.h"

#include "core/config/profilefile.h"
#include "core/files/atomicfile.h"
#include "core/files/csvexport.h"
#include "ui/base/prompter.h"
#include "ui/files/documentfiles.h"
#include "ui/viewer/recordingload.h"
#include "ui/viewer/spanpanels.h"
#include "ui/viewer/spanreport.h"
#include "ui/viewer/vieweroverview.h"
#include "ui/viewer/viewerplot.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr const char* kSection = "VIEWERInfo";
constexpr const char* kGeometryKey = "Geometry";
QString recordingsFilter() {
    return RecordingViewer::tr("Recordings (*.DovDat *.dovdat *.csv *.CSV);;All files (*)");
}

QString clockText(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString fileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

// "a.DovDat: why" lines, at most 12 of them.
QString problemLines(const std::vector<RecordingProblem>& problems) {
    QStringList lines;
    for (const RecordingProblem& p : problems) {
        if (lines.size() == 12) {
            lines << RecordingViewer::tr("... and %1 more").arg(problems.size() - 12);
            break;
        }
        lines << QStringLiteral("%1: %2.").arg(QString::fromStdString(p.path),
                                               QString::fromStdString(p.reason));
    }
    return lines.join(QLatin1Char('\n'));
}

// Ends `form` with OK and Cancel and runs `dialog`: true when it was accepted.
bool askInForm(QDialog& dialog, QFormLayout& form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form.addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

RecordingViewer::RecordingViewer(const Startup& startup, QWidget* parent)
    : QMainWindow(parent), m_startup(startup) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Orvane Recording Viewer"));
    if (startup.prompter) {
        m_prompter = startup.prompter;
    } else {
        m_ownPrompter = std::make_unique<Prompter>();
        m_prompter = m_ownPrompter.get();
    }

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(0);
    m_plot = new ViewerPlot;
    m_plot->setAlarmLimits(startup.alarmHigh, startup.alarmLow);
    m_overview = new ViewerOverview;
    layout->addWidget(m_plot, 1);
    layout->addWidget(m_overview);
    setCentralWidget(central);

    m_statistics = new StatisticsPanel;
    m_episodeList = new EpisodeList;
    for (auto [title, name, widget] :
         {std::tuple{tr("Statistics"), "statisticsDock", static_cast<QWidget*>(m_statistics)},
          std::tuple{tr("Alarm Episodes"), "episodesDock", static_cast<QWidget*>(m_episodeList)}}) {
        auto* dock = new QDockWidget(title, this);
        dock->setObjectName(QLatin1String(name));
        dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
        dock->setWidget(widget);
        addDockWidget(Qt::RightDockWidgetArea, dock);
    }
    connect(m_episodeList, &EpisodeList::chosen, this, &RecordingViewer::zoomTo);

    m_readout = new QLabel;
    m_readout->setObjectName(QStringLiteral("readout"));
    m_readout->setAccessibleName(tr("Sample under the pointer"));
    m_spanText = new QLabel;
    m_spanText->setAccessibleName(tr("Samples in view"));
    statusBar()->addWidget(m_readout, 1);
    statusBar()->addPermanentWidget(m_spanText);

    m_load = new RecordingLoad(this);
    connect(m_load, &RecordingLoad::progress, this, [this](int permille) {
        if (m_progress)
            m_progress->setValue(permille);
    });
    connect(m_load, &RecordingLoad::finished, this, &RecordingViewer::onLoaded);
    connect(m_plot, &ViewerPlot::hovered, m_readout, &QLabel::setText);
    connect(m_plot, &ViewerPlot::spanChanged, this, [this] {
        m_overview->setVisibleSpan(m_plot->span());
        updateSpanText();
        updateStatistics();
    });
    connect(m_overview, &ViewerOverview::centreRequested, this, [this](std::int64_t t) {
        const ViewSpan span = m_plot->span();
        m_plot->setSpan(span.panned(t - (span.startMs + span.length() / 2), m_plot->wholeSpan()),
                        false);
    });
    buildMenus();

    resize(1100, 620);
    const std::string kept =
        ProfileFile(m_startup.configPath).readString(kSection, kGeometryKey, "");
    if (!kept.empty())
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(kept)));
    m_plot->setFocus();
}

RecordingViewer::~RecordingViewer() = default;

void RecordingViewer::buildMenus() {
    const auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto slot) {
        QAction* act = menu->addAction(text);
        act->setShortcut(keys);
        connect(act, &QAction::triggered, this, slot);
        return act;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(file, tr("&View Recordings..."), QKeySequence(QStringLiteral("Ctrl+Shift+O")),
        [this] { chooseRecordings(); });
    file->addSeparator();
    add(file, tr("Export the &Visible Span as CSV..."), QKeySequence(),
        [this] { exportCsv(true); });
    add(file, tr("Export &All as CSV..."), QKeySequence(), [this] { exportCsv(false); });
    add(file, tr("Save the &Picture as PNG..."), QKeySequence(), [this] { savePicture(); });
    add(file, tr("Export Alarm E&pisodes as CSV..."), QKeySequence(), [this] { exportEpisodes(); });
    file->addSeparator();
    add(file, tr("P&rint Report..."), QKeySequence(QKeySequence::Print),
        [this] { askReport(false); });
    add(file, tr("Save Report as P&DF..."), QKeySequence(), [this] { askReport(true); });
    m_withTable = file->addAction(tr("Report with the Sample &Table"));
    m_withTable->setCheckable(true);
    file->addSeparator();
    add(file, tr("&Close"), QKeySequence(QKeySequence::Close), [this] { close(); });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    add(view, tr("Show &Everything"), QKeySequence(), [this] { m_plot->showEverything(); });
    add(view, tr("&Back One Step"), QKeySequence(), [this] { m_plot->backOneStep(); });
    view->addSeparator();
    add(view, tr("&Value Range..."), QKeySequence(), [this] { askValueRange(); });
    add(view, tr("&Alarm Limits..."), QKeySequence(), [this] { askAlarmLimits(); });
}

bool RecordingViewer::loading() const {
    return m_load->running();
}

void RecordingViewer::open(const QStringList& named) {
    if (named.isEmpty())
        return;
    m_named = named;
    std::vector<std::string> paths;
    for (const QString& n : named)
        paths.push_back(n.toStdString());
    if (!m_progress) {
        m_progress =
            new QProgressDialog(tr("Reading the recordings..."), tr("Cancel"), 0, 1000, this);
        m_progress->setWindowTitle(QStringLiteral("Orvane"));
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        connect(m_progress, &QProgressDialog::canceled, m_load, &RecordingLoad::cancel);
    }
    // Shown only when reading takes longer than half a second.
    m_progress->setMinimumDuration(500);
    m_progress->setValue(0);
    m_load->start(std::move(paths));
}

void RecordingViewer::onLoaded(std::shared_ptr<const ViewerData> data) {
    if (m_progress) {
        // Without autoClose, reset() leaves a dialog that was shown in place
        // (and the window blocked beneath it).
        m_progress->reset();
        m_progress->hide();
    }
    if (data->loaded.cancelled) {
        Q_EMIT loaded();
        return;
    }
    m_data = data;
    m_plot->setData(m_data);
    m_overview->setData(m_data, m_plot->wholeSpan());
    findEpisodes();
    updateTitle();
    updateSpanText();
    QString problems;
    if (!data->loaded.refused.empty())
        problems += tr("These were left out:\n") + problemLines(data->loaded.refused);
    if (!data->loaded.damaged.empty())
        problems += (problems.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                    tr("Parts of these could not be read and were left out:\n") +
                    problemLines(data->loaded.damaged);
    if (data->series().empty())
        problems += (problems.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                    tr("There are no samples to show.");
    Q_EMIT loaded();
    if (!problems.isEmpty())
        m_prompter->warning(this, problems);
}

void RecordingViewer::updateTitle() {
    const auto& files = m_data ? m_data->series().files() : std::vector<std::string>();
    QString what = files.empty() ? tr("no recording") : fileName(files.front());
    if (files.size() > 1)
        what += tr(" and %1 more").arg(files.size() - 1);
    QString title = what;
    if (m_data && !m_data->series().empty())
        title += tr(" (%1 to %2)")
                     .arg(clockText(m_data->series().firstTime()),
                          clockText(m_data->series().lastTime()));
    setWindowTitle(title + tr(" - Orvane Recording Viewer"));
}

void RecordingViewer::updateSpanText() {
    const auto [first, last] = m_plot->visibleSamples();
    const std::size_t all = m_data ? m_data->series().size() : 0;
    m_spanText->setText(tr("%1 of %2 samples in view")
                            .arg(QLocale().toString(static_cast<qulonglong>(last - first)),
                                 QLocale().toString(static_cast<qulonglong>(all))));
}

void RecordingViewer::chooseRecordings() {
    const QStringList files =
        QFileDialog::getOpenFileNames(this, tr("View Recordings"), QString(), recordingsFilter());
    open(files);
}

void RecordingViewer::exportCsv(bool visibleOnly) {
    if (!m_data || m_data->series().empty())
        return;
    const QStringList filters{DocumentFiles::kCsvCommaFilter, DocumentFiles::kCsvSemicolonFilter};
    const QString decimal = QLocale().decimalPoint();
    int chosen = csvSeparatorFor(decimal.isEmpty() ? '.' : decimal.front().toLatin1()) ==
                         CsvSeparator::Semicolon
                     ? 1
                     : 0;
    const QString path =
        m_prompter->saveFileNameAs(this, QString(), filters, chosen, QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const CsvStyle style{chosen == 1 ? CsvSeparator::Semicolon : CsvSeparator::Comma,
                         CsvTime::Local};
    const RecordingSeries& s = m_data->series();
    const auto [first, last] =
        visibleOnly ? m_plot->visibleSamples() : std::pair<std::size_t, std::size_t>(0, s.size());
    QProgressDialog progress(tr("Writing %1...").arg(QFileInfo(path).fileName()), tr("Cancel"), 0,
                             1000, this);
    progress.setWindowTitle(QStringLiteral("Orvane"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    // Written in parts of about a megabyte: a week is some hundreds.
    AtomicFile file(path.toStdString());
    Result<> written = file.begin();
    std::string text = csvHeader(style);
    for (std::size_t i = first; i < last && written; ++i) {
        if ((i - first) % 65536 == 0) {
            progress.setValue(
                static_cast<int>((i - first) * 1000 / std::max<std::size_t>(1, last - first)));
            if (progress.wasCanceled())
                return;
        }
        const std::int64_t ms = s.time(i);
        const std::int64_t seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
        const char unit[2] = {s.unit(i), '\0'};
        text += csvLine({static_cast<int>(i - first + 1), seconds, std::string(), s.value(i), unit,
                         s.mark(i), static_cast<int>(ms - seconds * 1000)},
                        style);
        if (text.size() >= (1 << 20)) {
            written = file.append(text);
            text.clear();
        }
    }
    if (written)
        written = file.append(text);
    if (written)
        written = file.commit();
    progress.setValue(1000);
    if (!written)
        m_prompter->warning(
            this, tr("Cannot write %1: %2").arg(path, QString::fromStdString(written.error())));
}

void RecordingViewer::savePicture() {
    const QString path = m_prompter->saveFileName(this, QString(), tr("PNG pictures (*.png)"),
                                                  QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QImage image(m_plot->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    m_plot->render(painter, m_plot->size());
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    if (const Result<> written = AtomicFile(path.toStdString())
                                     .replace(std::string_view(bytes.constData(), bytes.size()));
        !written)
        m_prompter->warning(
            this, tr("Cannot write %1: %2").arg(path, QString::fromStdString(written.error())));
}

void RecordingViewer::askValueRange() {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Value Range"));
    auto* form = new QFormLayout(&dialog);
    auto* fit = new QCheckBox(tr("&Fit to the samples in view"));
    auto* low = new QDoubleSpinBox;
    auto* high = new QDoubleSpinBox;
    for (QDoubleSpinBox* box : {low, high}) {
        box->setRange(-10000.0, 10000.0);
        box->setDecimals(1);
    }
    const auto fixed = m_plot->fixedValues();
    fit->setChecked(!fixed);
    low->setValue(fixed ? fixed->first : 0.0);
    high->setValue(fixed ? fixed->second : 100.0);
    low->setAccessibleName(tr("Lowest value"));
    high->setAccessibleName(tr("Highest value"));
    form->addRow(fit);
    form->addRow(tr("&Highest:"), high);
    form->addRow(tr("&Lowest:"), low);
    if (!askInForm(dialog, *form))
        return;
    if (fit->isChecked() || low->value() == high->value())
        m_plot->fitValues();
    else
        m_plot->fixValues(low->value(), high->value());
}

void RecordingViewer::askAlarmLimits() {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Alarm Limits"));
    auto* form = new QFormLayout(&dialog);
    auto* high = new QSpinBox;
    auto* low = new QSpinBox;
    for (QSpinBox* box : {high, low})
        box->setRange(-9999, 9999);
    high->setValue(m_plot->alarmHigh());
    low->setValue(m_plot->alarmLow());
    form->addRow(tr("&High limit:"), high);
    form->addRow(tr("&Low limit:"), low);
    if (!askInForm(dialog, *form))
        return;
    m_plot->setAlarmLimits(high->value(), low->value());
    findEpisodes();
}

QString RecordingViewer::unit() const {
    if (!m_data)
        return {};
    const RecordingSeries& s = m_data->series();
    const std::size_t i = m_data->pyramid.nextValue(0, s.size());
    const char letter = i < s.size() ? s.unit(i) : '\0';
    return letter ? QStringLiteral("\u00B0") + QLatin1Char(letter) : QString();
}

// The episodes of the whole recording, found again whenever the limits change.
void RecordingViewer::findEpisodes() {
    const SpanLimits limits{double(m_plot->alarmHigh()), double(m_plot->alarmLow())};
    m_episodes = m_data ? AlarmEpisodes(m_data->series(), limits) : AlarmEpisodes();
    m_episodeList->setEpisodes(m_episodes.all(), unit());
    updateStatistics();
}

void RecordingViewer::updateStatistics() {
    if (!m_data) {
        m_statistics->showStatistics({}, m_episodes.limits(), QString());
        return;
    }
    const auto [first, last] = m_plot->visibleSamples();
    m_statistics->showStatistics(
        spanStatistics(m_data->series(), m_data->pyramid, m_episodes, first, last, 0),
        m_episodes.limits(), unit());
}

// The episode with room around it: half its length on either side, at least a minute.
void RecordingViewer::zoomTo(const AlarmEpisode& episode) {
    const std::int64_t room = std::max<std::int64_t>(60'000, episode.durationMs() / 2);
    const ViewSpan span{episode.startMs - room, episode.endMs + room};
    m_plot->setSpan(span.limited(m_plot->wholeSpan()), true);
}

void RecordingViewer::exportEpisodes() {
    if (m_episodes.all().empty()) {
        m_prompter->information(this, tr("There are no alarm episodes to export."));
        return;
    }
    const QString path = m_prompter->saveFileName(this, QString(), DocumentFiles::kCsvCommaFilter,
                                                  QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    std::string text = "start,end,duration_seconds,limit,limit_value,extreme\r\n";
    for (const AlarmEpisode& e : m_episodes.all()) {
        const auto time = [](std::int64_t ms) { return viewerTimeText(ms).toStdString(); };
        char numbers[96];
        std::snprintf(numbers, sizeof numbers, "%.3f,%s,%.1f,%.1f", double(e.durationMs()) / 1000.0,
                      alarmName(e.level), e.limit, double(e.extreme));
        text += time(e.startMs) + "," + time(e.endMs) + "," + numbers + "\r\n";
    }
    if (const Result<> written = AtomicFile(path.toStdString()).replace(text); !written)
        m_prompter->warning(
            this, tr("Cannot write %1: %2").arg(path, QString::fromStdString(written.error())));
}

int RecordingViewer::printReport(QPagedPaintDevice& device) {
    if (!m_data || m_data->series().empty())
        return 0;
    const auto [first, last] = m_plot->visibleSamples();
    const SpanStatistics stats =
        spanStatistics(m_data->series(), m_data->pyramid, m_episodes, first, last, 1000);
    SpanReport report;
    for (const std::string& f : m_data->series().files())
        report.files << fileName(f);
    report.period =
        first < last
            ? tr("%1 to %2").arg(viewerTimeText(stats.firstMs), viewerTimeText(stats.lastMs))
            : tr("no samples");
    report.unit = unit();
    report.limits = m_episodes.limits();
    report.statistics = StatisticsPanel::rowsFor(stats, report.limits, report.unit);
    report.episodes = stats.episodes;
    report.episodeCount = stats.episodeCount;
    report.drawGraph = [this](QPainter& p, QSize size) { m_plot->render(p, size); };
    if (m_withTable->isChecked()) {
        report.series = &m_data->series();
        report.first = first;
        report.last = last;
    }
    return printSpanReport(device, report);
}

void RecordingViewer::askReport(bool pdf) {
    if (!m_data || m_data->series().empty())
        return;
    const auto [first, last] = m_plot->visibleSamples();
    constexpr std::size_t kTableAtMost = 100'000;
    if (m_withTable->isChecked() && last - first > kTableAtMost) {
        m_prompter->warning(this, tr("The table of samples holds at most %1 samples; %2 are in "
                                     "view. Zoom in, or turn off Report with the Sample Table.")
                                      .arg(QLocale().toString(qulonglong(kTableAtMost)),
                                           QLocale().toString(qulonglong(last - first))));
        return;
    }
    const QPageSize pageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem
                                 ? QPageSize::Letter
                                 : QPageSize::A4);
    if (pdf) {
        const QString path = m_prompter->saveFileName(this, QString(), tr("PDF documents (*.pdf)"),
                                                      QStringLiteral("pdf"));
        if (path.isEmpty())
            return;
        // Written whole into memory first: a failed report never replaces a file.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        int pages = 0;
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(96);
            writer.setPageSize(pageSize);
            writer.setTitle(windowTitle());
            writer.setCreator(QStringLiteral("Orvane"));
            pages = printReport(writer);
        }
        const Result<> written =
            pages == 0 ? Result<>(Failure{tr("nothing to print").toStdString()})
                       : AtomicFile(path.toStdString())
                             .replace(std::string_view(buffer.data().constData(),
                                                       std::size_t(buffer.data().size())));
        if (!written)
            m_prompter->warning(
                this, tr("Cannot write %1: %2").arg(path, QString::fromStdString(written.error())));
        return;
    }
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageSize(pageSize);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printReport(printer) == 0)
        m_prompter->warning(this, tr("The report could not be printed."));
}

void RecordingViewer::keepGeometry() {
    // The window's place is a convenience: a file that cannot take it is no reason to stop.
    (void)ProfileFile(m_startup.configPath)
        .writeString(kSection, kGeometryKey, saveGeometry().toBase64().toStdString());
}

void RecordingViewer::closeEvent(QCloseEvent* event) {
    m_load->cancel();
    keepGeometry();
    QMainWindow::closeEvent(event);
}
