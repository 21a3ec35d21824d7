#include "ui/files/documentfiles.h"

#include "core/config/configuration.h"
#include "core/files/atomicfile.h"
#include "core/files/csvexport.h"
#include "core/files/datafilepair.h"
#include "core/files/datafilereader.h"
#include "core/files/filechain.h"
#include "core/files/savefilenames.h"
#include "core/text/valuetext.h"
#include "ui/base/busycursor.h"
#include "ui/base/cdtdoc.h"
#include "ui/base/prompter.h"
#include "ui/panels/datalistpanel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>

#include <ctime>
#include <span>

DocumentFiles::DocumentFiles(QWidget* parent, Prompter& prompter, CDTDoc& doc, DataListPanel& list,
                             Configuration& config)
    : m_parent(parent), m_prompter(prompter), m_doc(doc), m_list(list), m_config(config) {}

QString DocumentFiles::startFolder() const {
    const QString folder = QString::fromStdString(m_config.lastFolder());
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void DocumentFiles::rememberFolder(const QString& path) {
    const std::string folder = QFileInfo(path).absolutePath().toStdString();
    // Only a convenience: a folder that cannot be kept is not worth a message.
    if (folder != m_config.lastFolder())
        (void)m_config.writeLastFolder(folder);
}

namespace {

// A filter of the file dialogs in the user's language.
QString translatedFilter(const QString& filter) {
    return QCoreApplication::translate("DocumentFiles", filter.toLatin1().constData());
}

} // namespace

bool DocumentFiles::save() {
    const auto time = static_cast<std::int64_t>(std::time(nullptr));
    const SaveFileNames names = saveFileNames(time);
    const QString path = m_prompter.saveFileName(
        m_parent, QDir(startFolder()).filePath(QString::fromStdString(names.dataFile)),
        translatedFilter(kFilter), kSuffix);
    if (path.isEmpty())
        return false;
    rememberFolder(path);
    // The text export goes beside the data file, under its time-stamped name
    // (another run's export of the same second stays).
    // The data file is the one the dialog confirmed; the export replaces nothing.
    FileChain chain(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(), {});
    PairNames chosen = chain.next(time);
    chosen.replaceData = true;
    if (!writeNewFiles(chosen))
        return false;
    m_strSavedPath = path;
    m_tSavedFirst = m_doc.store().recTime().front();
    return true;
}

QString DocumentFiles::saveInto(const QString& folder) {
    FileChain chain({}, QFile::encodeName(folder).toStdString());
    const std::optional<WrittenPair> written =
        writeNewFiles(chain.next(static_cast<std::int64_t>(std::time(nullptr))));
    return written ? QFile::decodeName(written->dataFile.c_str()) : QString();
}

bool DocumentFiles::savedRecordingIsCurrent() const {
    const SampleStore& s = m_doc.store();
    return !m_strSavedPath.isEmpty() && s.recCount() > 0 && m_tSavedFirst == s.recTime().front();
}

bool DocumentFiles::exportCsv() {
    const SampleStore& s = m_doc.store();
    if (s.recCount() == 0)
        return false;
    QString proposed;
    if (savedRecordingIsCurrent()) {
        const QFileInfo data(m_strSavedPath);
        proposed = data.dir().filePath(data.completeBaseName() + QStringLiteral(".csv"));
    } else {
        const SaveFileNames names = saveFileNames(static_cast<std::int64_t>(std::time(nullptr)));
        proposed = QDir(startFolder()).filePath(QString::fromStdString(names.csvFile));
    }
    const QStringList filters{translatedFilter(kCsvCommaFilter),
                              translatedFilter(kCsvSemicolonFilter)};
    const QString decimal = QLocale().decimalPoint();
    int chosen = csvSeparatorFor(decimal.isEmpty() ? '.' : decimal.front().toLatin1()) ==
                         CsvSeparator::Semicolon
                     ? 1
                     : 0;
    const QString path =
        m_prompter.saveFileNameAs(m_parent, proposed, filters, chosen, QStringLiteral("csv"));
    if (path.isEmpty())
        return false;
    rememberFolder(path);

    BusyCursor busy;
    // What was recorded while the dialog was open goes in too.
    const int n = s.recCount();
    const CsvStyle style{chosen == 1 ? CsvSeparator::Semicolon : CsvSeparator::Comma,
                         CsvTime::Local};
    std::string text = csvHeader(style);
    for (int i = 0; i < n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        // A loaded file taken as the recording does not know its marks.
        const std::optional<LogMark> mark = s.recLog()[at];
        const std::optional<bool> log = mark ? std::optional(*mark != LogMark::None) : std::nullopt;
        text += csvLine({i + 1, s.recTime()[at], std::string(s.recTimeText()[at]), s.recData()[at],
                         std::string(s.recUnit()[at]), log, s.recMillisecond()[at]},
                        style);
    }
    if (const Result<> written = AtomicFile(path.toStdString()).replace(text); !written) {
        m_prompter.warning(m_parent,
                           QCoreApplication::translate("DocumentFiles", "Cannot write %1: %2")
                               .arg(path, QString::fromStdString(written.error())));
        return false;
    }
    return true;
}

bool DocumentFiles::writeFiles(const QString& dataPath, const QString& textPath) {
    BusyCursor busy;
    RecordedTexts texts;
    const Result<void, DataFilePairFailure> written = writeDataFilePair(
        dataPath.toStdString(), textPath.toStdString(), m_doc.store().recorded(texts));
    if (!written) {
        reportFailure(dataPath, textPath, written.error());
        return false;
    }
    m_doc.recorder().markSaved();
    return true;
}

std::optional<WrittenPair> DocumentFiles::writeNewFiles(const PairNames& names) {
    BusyCursor busy;
    RecordedTexts texts;
    const Result<WrittenPair, DataFilePairFailure> written =
        writeNewDataFilePair(names, m_doc.store().recorded(texts));
    if (!written) {
        reportFailure(QFile::decodeName(names.data(names.first).c_str()),
                      QFile::decodeName(names.text(1).c_str()), written.error());
        return std::nullopt;
    }
    m_doc.recorder().markSaved();
    return *written;
}

void DocumentFiles::reportFailure(const QString& dataPath, const QString& textPath,
                                  const DataFilePairFailure& failed) {
    QString message =
        QCoreApplication::translate("DocumentFiles", "Cannot write %1: %2")
            .arg(failed.dataFailed ? dataPath : textPath, QString::fromStdString(failed.reason));
    if (failed.dataWritten)
        message += QCoreApplication::translate("DocumentFiles",
                                               "\n%1 was written, without its text export.")
                       .arg(dataPath);
    else if (!failed.dataFailed || !textPath.isEmpty())
        message += QCoreApplication::translate("DocumentFiles", "\n%1 was not written.")
                       .arg(failed.dataFailed ? textPath : dataPath);
    m_prompter.warning(m_parent, message + QCoreApplication::translate(
                                               "DocumentFiles", "\nThe recording is unchanged."));
}

bool DocumentFiles::offerToSave() {
    return !(m_doc.acq().unsaved() && m_doc.store().recCount() > 0 &&
             m_prompter.askYesNo(
                 m_parent, QCoreApplication::translate("DocumentFiles", "Do you want to save? ")) &&
             !save());
}

bool DocumentFiles::open() {
    if (!offerToSave())
        return false;
    const QString path =
        m_prompter.openFileName(m_parent, startFolder(), translatedFilter(kFilter), kSuffix);
    if (path.isEmpty())
        return false;
    rememberFolder(path);
    return load(path);
}

bool DocumentFiles::load(const QString& path) {
    const Result<DovDatContents, DataFileRefusal> read = [&] {
        BusyCursor busy;
        // "-" is a file's name here, not the standard input.
        return readDataFile(
            QFile::encodeName(path == QLatin1String("-") ? QStringLiteral("./-") : path)
                .toStdString());
    }();
    if (!read) {
        // What is wrong with the file ends in a full stop; the system's reason
        // stands as it is.
        const DataFileRefusal& why = read.error();
        m_prompter.warning(
            m_parent, (why.kind == DataFileRefusal::Kind::Unreadable
                           ? QCoreApplication::translate("DocumentFiles", "Cannot open %1: %2")
                           : QCoreApplication::translate("DocumentFiles", "Cannot open %1: %2."))
                          .arg(path, QString::fromStdString(why.reason)));
        return false;
    }

    const DovDatContents& c = *read;
    m_doc.recorder().loadGraph(c.values, c.units, c.times);
    std::vector<DataListModel::Row> rows;
    rows.reserve(c.values.size());
    for (int i = 0; i < c.count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        rows.push_back({QString::number(i + 1), QString::fromStdString(valueText(c.values[at])),
                        QString::fromStdString(c.units[at]), QString::fromStdString(c.times[at])});
    }
    m_list.refill(rows);
    m_doc.UpdateAllViews();
    return true;
}
