#include "ui/window/alarmsound.h"

#include "ui/window/helplauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString alarmSoundBeside(const QString& programFile) {
    return fileBesideProgram(programFile, QStringLiteral("alarm.wav"));
}

QString alarmSoundPlayer() {
    for (const char* name : {"pw-play", "paplay", "aplay"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool playAlarmSound(const QString& soundFile) {
    const QString player = alarmSoundPlayer();
    if (player.isEmpty() || !QFileInfo(soundFile).isFile())
        return false;
    // A player without a sound device complains; nobody is there to read it.
    QProcess process;
    process.setProgram(player);
    process.setArguments({soundFile});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}
