#pragma once
// A standard MIDI file played by FluidSynth with a General MIDI sound font and rendered, on
// demand, to PCM samples. Time runs by the samples rendered, not by the clock, so the music is
// the same however fast it is pulled.
#include "media/ffmpeg/FfmpegInput.h"
#include "media/sound/PcmSource.h"

#include <QByteArray>
#include <QString>
#include <fluidsynth.h>
#include <memory>
#include <span>
#include <vector>

class MidiSynth : public PcmSource {
public:
    // Null unless the bytes are a standard MIDI file that ReadMidiFile accepts; the sound font is
    // loaded by Prepare.
    static std::unique_ptr<MidiSynth> Open(std::span<const std::byte> bytes, QString soundFont);
    ~MidiSynth() override;

    // Loads the sound font and starts the song; false when the font cannot be loaded.
    bool Prepare(const QAudioFormat &format) override;

private:
    MidiSynth() = default;
    void Produce() override;

    QByteArray smf_;
    QString soundFont_;
    fluid_settings_t *settings_ = nullptr;
    fluid_synth_t *synth_ = nullptr;
    fluid_player_t *player_ = nullptr;
    SwrPtr converter_;
    std::vector<float> block_;
    qint64 tailFrames_ = 0;
};
