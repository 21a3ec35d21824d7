#include "ui/viewer/spanpanels.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kListed = 5000; // rows of the list; the count says how many there are

QString valueText(double v, const QString& unit) {
    return QLocale().toString(v, 'f', 1) + (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

QString duration(std::int64_t ms) {
    return QString::fromStdString(durationText(ms));
}

} // namespace

QString viewerTimeText(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

StatisticsPanel::StatisticsPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("statistics"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_text->setAccessibleName(tr("Statistics of the samples in view"));
    layout->addWidget(m_text);
    layout->addStretch(1);
}

std::vector<std::pair<QString, QString>>
StatisticsPanel::rowsFor(const SpanStatistics& s, const SpanLimits& limits, const QString& unit) {
    std::vector<std::pair<QString, QString>> rows;
    const QLocale locale;
    rows.emplace_back(tr("Samples"), locale.toString(qulonglong(s.samples)));
    if (s.samples == 0)
        return rows;
    rows.emplace_back(tr("First"), viewerTimeText(s.firstMs));
    rows.emplace_back(tr("Last"), viewerTimeText(s.lastMs));
    rows.emplace_back(tr("Duration"), duration(s.durationMs()));
    if (s.hasValues()) {
        rows.emplace_back(tr("Lowest"),
                          tr("%1 at %2").arg(valueText(s.min, unit), viewerTimeText(s.minMs)));
        rows.emplace_back(tr("Highest"),
                          tr("%1 at %2").arg(valueText(s.max, unit), viewerTimeText(s.maxMs)));
        rows.emplace_back(tr("Mean"), locale.toString(s.mean, 'f', 2) + QLatin1Char(' ') + unit);
        rows.emplace_back(tr("Standard deviation"),
                          locale.toString(s.stddev, 'f', 2) + QLatin1Char(' ') + unit);
    }
    rows.emplace_back(tr("Without a value"), locale.toString(qulonglong(s.noValue)));
    rows.emplace_back(
        tr("Gaps"),
        s.gaps ? tr("%1, %2 in all").arg(locale.toString(qulonglong(s.gaps)), duration(s.gapMs))
               : locale.toString(0));
    if (limits.high)
        rows.emplace_back(tr("Above %1").arg(valueText(*limits.high, unit)), duration(s.aboveMs));
    if (limits.low)
        rows.emplace_back(tr("Below %1").arg(valueText(*limits.low, unit)), duration(s.belowMs));
    rows.emplace_back(tr("Alarm episodes"), locale.toString(qulonglong(s.episodeCount)));
    return rows;
}

void StatisticsPanel::showStatistics(const SpanStatistics& stats, const SpanLimits& limits,
                                     const QString& unit) {
    m_rows = rowsFor(stats, limits, unit);
    QString html = QStringLiteral("<table cellspacing=\"2\">");
    for (const auto& [label, value] : m_rows)
        html += QStringLiteral("<tr><td>%1</td><td>&nbsp;&nbsp;%2</td></tr>")
                    .arg(label.toHtmlEscaped(), value.toHtmlEscaped());
    m_text->setText(html + QStringLiteral("</table>"));
}

EpisodeList::EpisodeList(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("episodes"));
    m_tree->setAccessibleName(tr("Alarm episodes"));
    m_tree->setRootIsDecorated(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setHeaderLabels(headers());
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->setTabKeyNavigation(false);
    m_note = new QLabel;
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_note);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const int row = item ? m_tree->indexOfTopLevelItem(item) : -1;
        if (row >= 0 && row < int(m_episodes.size()))
            Q_EMIT chosen(m_episodes[std::size_t(row)]);
    });
}

QStringList EpisodeList::headers() {
    return {tr("Start"), tr("End"), tr("Duration"), tr("Limit"), tr("Extreme")};
}

QStringList EpisodeList::cellsOf(const AlarmEpisode& e, const QString& unit) {
    const QString limit = e.level == AlarmLevel::High ? tr("above %1") : tr("below %1");
    return {viewerTimeText(e.startMs), viewerTimeText(e.endMs), duration(e.durationMs()),
            limit.arg(valueText(e.limit, unit)), valueText(e.extreme, unit)};
}

void EpisodeList::setEpisodes(const std::vector<AlarmEpisode>& episodes, const QString& unit) {
    const std::size_t shown = std::min<std::size_t>(episodes.size(), kListed);
    m_episodes.assign(episodes.begin(), episodes.begin() + std::ptrdiff_t(shown));
    const QSignalBlocker quiet(m_tree);
    m_tree->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(shown));
    for (const AlarmEpisode& e : m_episodes)
        items.append(new QTreeWidgetItem(cellsOf(e, unit)));
    m_tree->addTopLevelItems(items);
    m_note->setText(episodes.size() > shown
                        ? tr("The first %1 of %2 episodes are listed.")
                              .arg(QLocale().toString(qulonglong(shown)),
                                   QLocale().toString(qulonglong(episodes.size())))
                    : episodes.size() == 1
                        ? tr("1 alarm episode")
                        : tr("%1 alarm episodes").arg(QLocale().toString(qulonglong(shown))));
}
