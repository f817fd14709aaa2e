#include "media/midi/SoundFont.h"

#include <QFile>
#include <QStandardPaths>
#include <fluidsynth.h>

QStringList SoundFontCandidates() {
    static const char *const kNames[] = {"sounds/sf2/TimGM6mb.sf2", "sounds/sf2/default-GM.sf2",
                                         "sounds/sf2/FluidR3_GM.sf2", "soundfonts/default.sf2"};
    QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const char *d : {"/usr/share", "/usr/local/share"})
        if (!dirs.contains(QLatin1String(d))) dirs << QLatin1String(d);
    QStringList candidates;
    for (const char *name : kNames)
        for (const QString &dir : dirs)
            candidates << dir + QLatin1Char('/') + QLatin1String(name);

    fluid_settings_t *settings = new_fluid_settings();
    if (settings != nullptr) {
        char *fallback = nullptr;
        if (fluid_settings_dupstr(settings, "synth.default-soundfont", &fallback) == FLUID_OK &&
            fallback != nullptr) {
            candidates << QFile::decodeName(fallback);
            fluid_free(fallback);
        }
        delete_fluid_settings(settings);
    }
    candidates.removeDuplicates();
    return candidates;
}

QString FindSoundFont(const QStringList &candidates) {
    for (const QString &path : candidates) {
        QFile file(path); // follows links, as the Debian alternative default-GM.sf2 is one
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray head = file.read(12);
        if (head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "sfbk") return path;
    }
    return QString();
}
