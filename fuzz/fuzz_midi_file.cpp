// A MIDI file as the music device reads it: the structure check, and for a file that passes, the
// synthesiser's first half second with the General MIDI font.
#include "system/ErrorReport.h"
#include "media/midi/MidiFile.h"
#include "media/midi/MidiSynth.h"
#include "media/midi/SoundFont.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    try {
        const MidiFileInfo info = ReadMidiFile(bytes);
        // The file found lies inside the input.
        if (info.smf.data() < bytes.data() || info.smf.data() + info.smf.size() > bytes.data() + bytes.size())
            __builtin_trap();
    } catch (const ErrorReport &e) {
        if (e.code() != ErrorReport::OutOfRange && e.code() != ErrorReport::InvalidArgument) __builtin_trap();
        return 0;
    }
    static const QString font = FindSoundFont();
    const std::unique_ptr<MidiSynth> synth = MidiSynth::Open(bytes, font);
    if (!synth) __builtin_trap();
    QAudioFormat format;
    format.setSampleRate(22050);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!synth->Prepare(format)) return 0;
    std::vector<char> buffer(8192);
    for (qint64 total = 0; total < 22050 * 4 / 2;) {
        const qint64 n = synth->Read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (n <= 0) break;
        total += n;
    }
    return 0;
}
