// WAVE sounds decoded to PCM: lengths against ffprobe, samples against FFmpeg's command line,
// conversion to the output's format, and damaged files.
#include "media/sound/SoundClip.h"
#include "Fixtures.h"
#include "MediaTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sys/resource.h>

namespace {
std::shared_ptr<const QByteArray> Shared(const QByteArray &bytes) {
    return std::make_shared<const QByteArray>(bytes);
}

QAudioFormat Format(int rate, int channels, QAudioFormat::SampleFormat sample = QAudioFormat::Int16) {
    QAudioFormat f;
    f.setSampleRate(rate);
    f.setChannelCount(channels);
    f.setSampleFormat(sample);
    return f;
}

// Reads the whole sound in reads of an odd size, as an output pulls it.
QByteArray ReadAll(PcmSource &source, qint64 chunk = 1001, qint64 limit = 64 << 20) {
    QByteArray out;
    QByteArray buffer(static_cast<qsizetype>(chunk), '\0');
    for (;;) {
        const qint64 n = source.Read(buffer.data(), chunk);
        if (n <= 0 || out.size() > limit) break;
        out.append(buffer.constData(), static_cast<qsizetype>(n));
    }
    return out;
}

QByteArray WinecfgWave() {
    return ResourceOf(kWineLibraries + QStringLiteral("/winecfg.exe"),
                      ResourceId::fromName(QStringLiteral("WAVE")), ResourceId::fromNumber(1308));
}

// ffprobe's duration of the first audio stream, in seconds.
double ProbeDuration(const QString &file) {
    const QByteArray out =
        RunTool(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                 QStringLiteral("a:0"), QStringLiteral("-show_entries"), QStringLiteral("stream=duration"),
                 QStringLiteral("-of"), QStringLiteral("default=nw=1:nk=1"), file});
    bool ok = false;
    const double d = out.trimmed().toDouble(&ok);
    return ok ? d : -1;
}

QByteArray ReferencePcm(const QString &file) {
    return RunTool(QStringLiteral("ffmpeg"),
                   {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), file,
                    QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-")});
}
} // namespace

TEST(SoundClip, WinecfgSoundHasTheLengthFfprobeReports) {
    const QByteArray bytes = WinecfgWave();
    ASSERT_FALSE(bytes.isEmpty());
    TempFiles temp;
    const QString path = temp.Write(QStringLiteral("winecfg.wav"), bytes);
    const double seconds = ProbeDuration(path);
    ASSERT_GT(seconds, 0);
    const std::unique_ptr<SoundClip> clip = SoundClip::Open(Shared(bytes));
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->LengthMs(), static_cast<std::uint32_t>(std::nearbyint(seconds * 1000)));
    // Its own samples, converted to 16 bits only, are FFmpeg's command line's sample for sample.
    ASSERT_TRUE(clip->Prepare(Format(clip->SampleRate(), clip->ChannelCount())));
    const QByteArray pcm = ReadAll(*clip);
    const QByteArray reference = ReferencePcm(path);
    ASSERT_FALSE(reference.isEmpty());
    EXPECT_EQ(pcm.size(), reference.size());
    EXPECT_TRUE(pcm == reference);
}

TEST(SoundClip, DecodesPcmAndMuLawToTheirOwnSamples) {
    struct Case {
        const char *file;
        std::uint32_t lengthMs;
    };
    for (const Case c : {Case{"media_tone.wav", 1500}, Case{"media_mulaw.wav", 250}}) {
        const QString path = FixturePath(QLatin1String(c.file));
        const std::unique_ptr<SoundClip> clip = SoundClip::Open(Shared(ReadFileBytes(path)));
        ASSERT_NE(clip, nullptr) << c.file;
        EXPECT_EQ(clip->LengthMs(), c.lengthMs) << c.file;
        EXPECT_EQ(clip->SampleRate(), 8000);
        EXPECT_EQ(clip->ChannelCount(), 1);
        ASSERT_TRUE(clip->Prepare(Format(8000, 1)));
        const QByteArray pcm = ReadAll(*clip);
        EXPECT_TRUE(pcm == ReferencePcm(path)) << c.file;
        EXPECT_EQ(pcm.size(), static_cast<qsizetype>(c.lengthMs) * 8 * 2) << c.file;
    }
    // The 16-bit tone comes out exactly as it was written.
    const QByteArray wave = ReadFileBytes(FixturePath("media_tone.wav"));
    const std::unique_ptr<SoundClip> tone = SoundClip::Open(Shared(wave));
    ASSERT_TRUE(tone->Prepare(Format(8000, 1)));
    EXPECT_TRUE(ReadAll(*tone) == wave.mid(wave.indexOf("data") + 8));
}

TEST(SoundClip, ConvertsToTheOutputsRateChannelsAndSampleFormat) {
    for (const QAudioFormat &format :
         {Format(44100, 2), Format(48000, 2, QAudioFormat::Float), Format(22050, 1, QAudioFormat::UInt8),
          Format(44100, 6, QAudioFormat::Int32)}) {
        const std::unique_ptr<SoundClip> clip =
            SoundClip::Open(Shared(ReadFileBytes(FixturePath("media_tone.wav"))));
        ASSERT_TRUE(clip->Prepare(format));
        const QByteArray pcm = ReadAll(*clip);
        ASSERT_EQ(pcm.size() % format.bytesPerFrame(), 0);
        const double seconds = static_cast<double>(pcm.size() / format.bytesPerFrame()) / format.sampleRate();
        EXPECT_NEAR(seconds, 1.5, 0.01) << format.sampleRate() << " Hz";
        if (format.sampleFormat() == QAudioFormat::Int16) {
            // The tone's peak (8000 of 32767) survives the conversion; the two channels are equal.
            const auto *s = reinterpret_cast<const std::int16_t *>(pcm.constData());
            int peak = 0;
            for (qsizetype i = 0; i + 1 < pcm.size() / 2; i += 2) {
                peak = std::max(peak, std::abs(static_cast<int>(s[i])));
                ASSERT_EQ(s[i], s[i + 1]);
            }
            EXPECT_NEAR(peak, 8000, 200);
        }
    }
}

TEST(SoundClip, RefusesFormatsItCannotMake) {
    const std::unique_ptr<SoundClip> clip =
        SoundClip::Open(Shared(ReadFileBytes(FixturePath("media_tone.wav"))));
    EXPECT_FALSE(clip->Prepare(Format(44100, 2, QAudioFormat::Unknown)));
    EXPECT_FALSE(clip->Prepare(Format(44100, 0)));
    // Before a format is chosen nothing comes out.
    char buffer[64];
    EXPECT_EQ(clip->Read(buffer, sizeof buffer), 0);
}

TEST(SoundClip, RefusesWhatIsNotAWaveFile) {
    EXPECT_EQ(SoundClip::Open(Shared(QByteArray())), nullptr);
    EXPECT_EQ(SoundClip::Open(Shared(ReadFileBytes(FixturePath("media_junk.bin")))), nullptr);
    EXPECT_EQ(SoundClip::Open(Shared(ReadFileBytes(FixturePath("media_raw24.avi")))), nullptr);
    // A format tag no decoder knows.
    QByteArray unknown = ReadFileBytes(FixturePath("media_tone.wav"));
    unknown[20] = '\x34';
    unknown[21] = '\x12';
    EXPECT_EQ(SoundClip::Open(Shared(unknown)), nullptr);
}

TEST(SoundClip, DamagedFilesNeverReadPastTheirData) {
    for (const char *name : {"media_mulaw.wav", "media_tone.wav"}) {
        const QByteArray whole = ReadFileBytes(FixturePath(QLatin1String(name)));
        const qint64 wholeLength = SoundClip::Open(Shared(whole))->LengthMs();
        for (qsizetype cut = 0; cut < whole.size(); cut += (whole.size() > 4000 ? 13 : 1)) {
            const std::unique_ptr<SoundClip> clip = SoundClip::Open(Shared(whole.left(cut)));
            if (!clip) continue;
            // The header's length may promise more than is there; the samples never exceed the data.
            EXPECT_LE(clip->LengthMs(), wholeLength);
            ASSERT_TRUE(clip->Prepare(Format(8000, 1)));
            EXPECT_LE(ReadAll(*clip).size(), whole.size() * 2) << name << " cut at " << cut;
        }
    }
    // A data chunk that claims 2 GB.
    QByteArray huge = ReadFileBytes(FixturePath("media_tone.wav"));
    const qsizetype data = huge.indexOf("data");
    for (int i = 0; i < 4; ++i)
        huge[data + 4 + i] = i == 3 ? '\x7F' : '\xFF';
    if (const std::unique_ptr<SoundClip> clip = SoundClip::Open(Shared(huge))) {
        ASSERT_TRUE(clip->Prepare(Format(8000, 1)));
        EXPECT_EQ(ReadAll(*clip).size(), 24000);
    }
}

TEST(SoundClip, LargeFramesComeOutAFewSamplesAtATime) {
    // Frames of 65,535 samples at 1 kHz, played by an output of 192 kHz and eight 32-bit channels:
    // one frame is 400 MB of output. Reading the start must not make a whole frame at once.
    auto wave = [](std::uint16_t rate) {
        QByteArray w("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0", 24);
        for (std::uint32_t v : {std::uint32_t{rate}, std::uint32_t{rate}})
            for (int i = 0; i < 4; ++i)
                w.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        w.append("\xFF\xFF\x08\0data\0\0\2\0", 12); // block align 65,535, 8 bits; 128 KB of data
        return w + QByteArray(0x20000, '\x40');
    };
    // Below 1 kHz a sound is refused.
    EXPECT_EQ(SoundClip::Open(Shared(wave(999))), nullptr);
    const std::unique_ptr<SoundClip> clip = SoundClip::Open(Shared(wave(1000)));
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->LengthMs(), 131072u);
    ASSERT_TRUE(clip->Prepare(Format(192000, 8, QAudioFormat::Int32)));
    struct rusage before {
    }, after{};
    getrusage(RUSAGE_SELF, &before);
    QByteArray buffer(1 << 20, '\0');
    qint64 total = 0;
    for (int i = 0; i < 4; ++i)
        total += clip->Read(buffer.data(), buffer.size());
    getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(total, 4 << 20);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes";
}
