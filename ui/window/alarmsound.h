#pragma once

#include <QString>

// The alarm sound: "alarm.wav" beside the program, played by the desktop's
// own command-line player in a process of its own (pw-play of PipeWire,
// paplay of PulseAudio, or aplay of ALSA, the first one installed), so the
// window never waits for it and needs no sound library of its own.

// The sound file beside the given program file, after following links.
QString alarmSoundBeside(const QString& programFile);

// The player found on the PATH; empty when there is none.
QString alarmSoundPlayer();

// Starts playing `soundFile` and returns at once. False when there is no
// player or no file (an alarm is told in other ways all the same).
bool playAlarmSound(const QString& soundFile);
