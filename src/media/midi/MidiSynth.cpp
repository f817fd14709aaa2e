#include "media/midi/MidiSynth.h"

#include "media/midi/MidiFile.h"
#include "media/sound/PcmConverter.h"
#include "system/ErrorReport.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {
constexpr int kBlockFrames = 1024;
// After the last event the notes die away for at most this long.
constexpr double kTailSeconds = 2.0;
// A block quieter than this after the end counts as silence.
constexpr float kSilence = 1.0f / 32768;

void SilenceFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}
} // namespace

std::unique_ptr<MidiSynth> MidiSynth::Open(std::span<const std::byte> bytes, QString soundFont) {
    MidiFileInfo info;
    try {
        info = ReadMidiFile(bytes);
    } catch (const ErrorReport &) {
        return nullptr;
    }
    if (soundFont.isEmpty()) return nullptr;
    std::unique_ptr<MidiSynth> synth(new MidiSynth);
    synth->smf_ =
        QByteArray(reinterpret_cast<const char *>(info.smf.data()), static_cast<qsizetype>(info.smf.size()));
    synth->soundFont_ = std::move(soundFont);
    return synth;
}

MidiSynth::~MidiSynth() {
    if (player_ != nullptr) {
        fluid_player_stop(player_);
        delete_fluid_player(player_);
    }
    if (synth_ != nullptr) delete_fluid_synth(synth_);
    if (settings_ != nullptr) delete_fluid_settings(settings_);
}

bool MidiSynth::Prepare(const QAudioFormat &format) {
    SilenceFluidSynthLog();
    if (synth_ != nullptr || format.sampleRate() < 8000 || format.sampleRate() > 96000) return false;
    format_ = format;
    settings_ = new_fluid_settings();
    if (settings_ == nullptr) return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", format.sampleRate());
    // The player's clock is the samples rendered.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    // The synthesiser's default gain (0.2) leaves a single General MIDI piano note barely audible.
    fluid_settings_setnum(settings_, "synth.gain", 0.6);
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr) return false;
    if (fluid_synth_sfload(synth_, QFile::encodeName(soundFont_).constData(), 1) == FLUID_FAILED)
        return false;
    player_ = new_fluid_player(synth_);
    if (player_ == nullptr) return false;
    if (fluid_player_add_mem(player_, smf_.constData(), static_cast<std::size_t>(smf_.size())) != FLUID_OK)
        return false;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    converter_ = MakeConverter(stereo, AV_SAMPLE_FMT_FLT, format.sampleRate(), format_);
    if (!converter_) return false;
    return fluid_player_play(player_) == FLUID_OK;
}

void MidiSynth::Produce() {
    if (player_ == nullptr) {
        ended_ = true; // the sound font never loaded: nothing to play
        return;
    }
    // The song is over once the player is past its last event; the player itself reports so only
    // some seconds later.
    const int totalTicks = fluid_player_get_total_ticks(player_);
    const bool songDone = fluid_player_get_status(player_) == FLUID_PLAYER_DONE ||
                          (totalTicks > 0 && fluid_player_get_current_tick(player_) >= totalTicks);
    if (songDone && tailFrames_ >= static_cast<qint64>(kTailSeconds * format_.sampleRate())) {
        ended_ = true;
        return;
    }
    block_.assign(2 * kBlockFrames, 0.0f);
    // Interleaved stereo: left at even places, right at odd ones.
    if (fluid_synth_write_float(synth_, kBlockFrames, block_.data(), 0, 2, block_.data(), 1, 2) != FLUID_OK) {
        ended_ = true;
        return;
    }
    if (songDone) {
        tailFrames_ += kBlockFrames;
        const bool silent =
            std::all_of(block_.begin(), block_.end(), [](float v) { return std::fabs(v) < kSilence; });
        if (silent) {
            ended_ = true;
            return;
        }
    }
    const int room = swr_get_out_samples(converter_.get(), kBlockFrames);
    if (room <= 0) return;
    const auto bytesPerFrame = static_cast<std::size_t>(format_.bytesPerFrame());
    pending_.resize(static_cast<std::size_t>(room) * bytesPerFrame);
    std::uint8_t *out = pending_.data();
    const auto *in = reinterpret_cast<const std::uint8_t *>(block_.data());
    const int made = swr_convert(converter_.get(), &out, room, &in, kBlockFrames);
    pending_.resize(static_cast<std::size_t>(std::max(made, 0)) * bytesPerFrame);
}
