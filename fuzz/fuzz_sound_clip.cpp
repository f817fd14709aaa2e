// A WAVE file as the sound device reads it: the header and its length, then the samples converted
// to the output's format, up to a bounded amount.
#include "media/sound/SoundClip.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    auto bytes = std::make_shared<const QByteArray>(reinterpret_cast<const char *>(data),
                                                    static_cast<qsizetype>(size));
    const std::unique_ptr<SoundClip> clip = SoundClip::Open(bytes);
    if (!clip) return 0;
    (void)clip->LengthMs();
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!clip->Prepare(format)) __builtin_trap();
    std::vector<char> buffer(16384);
    qint64 total = 0;
    while (total < 512 * 1024) {
        const qint64 n = clip->Read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (n < 0 || n > static_cast<qint64>(buffer.size()) || n % 4 != 0) __builtin_trap();
        if (n == 0) break;
        total += n;
    }
    return 0;
}
