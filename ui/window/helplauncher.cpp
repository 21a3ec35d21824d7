#include "ui/window/helplauncher.h"

#include "ui/base/busycursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

// The MIME type of compiled help files and its older alias.
constexpr const char* kChmTypes[] = {"application/vnd.ms-htmlhelp", "application/x-chm"};

// How long the desktop may take to name its handler for a file type.
constexpr int kQueryTimeoutMs = 3000;

// Whether the desktop has a program for compiled help files. xdg-open itself
// would fall back to a web browser, which shows nothing useful for them. When
// the desktop cannot be asked, the answer is left to xdg-open.
bool desktopHasChmViewer() {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true;
    BusyCursor busy;
    bool asked = false;
    for (const char* type : kChmTypes) {
        QProcess query;
        query.setProcessChannelMode(QProcess::SeparateChannels);
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                              QString::fromLatin1(type)});
        if (!query.waitForFinished(kQueryTimeoutMs)) {
            query.kill();
            query.waitForFinished(kQueryTimeoutMs);
            continue;
        }
        if (query.exitStatus() != QProcess::NormalExit)
            continue;
        asked = true;
        if (!query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return !asked;
}

// xdg-open complains on its standard error and exits soon when nothing can
// show a file; with a viewer found it may run as long as the viewer does.
constexpr int kFailureWatchMs = 10000;
constexpr int kFailurePollMs = 100;

// Starts xdg-open on `shown` in a process of its own that outlives this
// program, and watches for a quick failure: a small shell writes its exit
// status and complaint into a private folder.
bool startViewer(const QString& xdgOpen, const QString& shown, const QString& pagesFolder,
                 QObject* context, HelpFailed failed) {
    auto folder = std::make_shared<QTemporaryDir>();
    const bool watch = context && failed && folder->isValid();
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!watch) {
        process.setProgram(xdgOpen);
        process.setArguments({shown});
        return process.startDetached();
    }
    const QString status = folder->filePath(QStringLiteral("status"));
    const QString complaint = folder->filePath(QStringLiteral("complaint"));
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({QStringLiteral("-c"),
                          QStringLiteral("\"$1\" \"$2\" 2>\"$3\"; echo $? >\"$4\""),
                          QStringLiteral("sh"), xdgOpen, shown, complaint, status});
    if (!process.startDetached())
        return false;
    auto* poll = new QTimer(context);
    poll->setInterval(kFailurePollMs);
    auto waited = std::make_shared<int>(0);
    // The folder lives as long as the watch.
    QObject::connect(poll, &QTimer::timeout, context, [poll, waited, folder, pagesFolder, failed] {
        QFile done(folder->filePath(QStringLiteral("status")));
        *waited += kFailurePollMs;
        const QByteArray code = done.open(QIODevice::ReadOnly) ? done.readAll().trimmed() : "";
        if (code.isEmpty()) {
            if (*waited >= kFailureWatchMs)
                poll->deleteLater(); // still showing: it works
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (code == "0")
            return;
        QFile said(folder->filePath(QStringLiteral("complaint")));
        // Its last line says what failed; those before list what it tried.
        const QString why = said.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(said.readAll())
                                                                 .trimmed()
                                                                 .split(QLatin1Char('\n'))
                                                                 .constLast()
                                                           : QString();
        QString message =
            QCoreApplication::translate(
                "Help", "No viewer and no web browser could show the help. Its pages are in "
                        "the folder %1: open index.html there with any web browser.")
                .arg(QDir::toNativeSeparators(pagesFolder));
        if (!why.isEmpty())
            message += QStringLiteral("\n\n") + why;
        failed(message);
    });
    poll->start();
    return true;
}

QString cannotShow(const QString& file, const QString& reason) {
    return QCoreApplication::translate("Help", "Cannot show the help file %1:\n%2")
        .arg(QDir::toNativeSeparators(file), reason);
}

} // namespace

QString fileBesideProgram(const QString& programFile, const QString& name) {
    const QFileInfo program(programFile);
    const QString real = program.canonicalFilePath();
    const QString dir = real.isEmpty() ? program.absolutePath() : QFileInfo(real).absolutePath();
    return QDir(dir).filePath(name);
}

QString helpFileBeside(const QString& programFile) {
    return fileBesideProgram(programFile, QStringLiteral("help.chm"));
}

QString helpFilePath() {
    return helpFileBeside(QCoreApplication::applicationFilePath());
}

QString helpPagesFor(const QString& chmFile) {
    return QFileInfo(chmFile).dir().filePath(QStringLiteral("help/index.html"));
}

Result<void, QString> openHelpFile(const QString& chmFile, QObject* context, HelpFailed failed) {
    const auto fail = [](const QString& message) { return Failure{message}; };
    if (!QFileInfo(chmFile).isFile())
        return fail(QCoreApplication::translate("Help", "The help file %1 was not found.")
                        .arg(QDir::toNativeSeparators(chmFile)));

    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty())
        return fail(cannotShow(
            chmFile, QCoreApplication::translate("Help", "no viewer can be started, because the "
                                                         "program xdg-open is not installed.")));
    // Without a viewer for compiled help, the same pages go to the browser.
    QString shown = QFileInfo(chmFile).absoluteFilePath();
    if (!desktopHasChmViewer()) {
        const QFileInfo pages(helpPagesFor(chmFile));
        if (!pages.isFile())
            return fail(cannotShow(
                chmFile,
                QCoreApplication::translate(
                    "Help", "no viewer for compiled help files (.chm) is installed, and the "
                            "help pages %1 are missing. Install a viewer, for example xchm or "
                            "kchmviewer, and try again.")
                    .arg(QDir::toNativeSeparators(pages.absoluteFilePath()))));
        shown = pages.absoluteFilePath();
    }
    if (!startViewer(xdgOpen, shown, QFileInfo(helpPagesFor(chmFile)).absolutePath(), context,
                     std::move(failed)))
        return fail(cannotShow(
            shown, QCoreApplication::translate("Help", "the viewer could not be started (%1).")
                       .arg(xdgOpen)));
    return {};
}

Result<void, QString> openHelp(QObject* context, HelpFailed failed) {
    return openHelpFile(helpFilePath(), context, std::move(failed));
}
