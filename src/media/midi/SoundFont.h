#pragma once
// Where the General MIDI sound font lies: Debian's timgm6mb-soundfont, or whichever GM font the
// system names as its default.
#include <QString>
#include <QStringList>

// The places looked at, in order: the Debian font and the system's default GM font under every
// data folder (XDG_DATA_DIRS, then /usr/share), then the synthesiser's own default.
QStringList SoundFontCandidates();
// The first candidate that is a readable SoundFont 2 file ("RIFF" ... "sfbk"); empty when none is.
QString FindSoundFont(const QStringList &candidates = SoundFontCandidates());
