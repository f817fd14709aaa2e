// Standard MIDI files: the structure check in front of the synthesiser, the rendering with the
// General MIDI sound font, and the search for that font.
#include "Fixtures.h"
#include "media/midi/MidiFile.h"
#include "media/midi/MidiSynth.h"
#include "media/midi/SoundFont.h"
#include "system/ErrorReport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
std::span<const std::byte> Span(const QByteArray &b) {
    return std::as_bytes(std::span(b.constData(), static_cast<std::size_t>(b.size())));
}

QByteArray Tune() {
    return ReadFileBytes(FixturePath("media_tune.mid"));
}

// A one-track file around the given track events.
QByteArray Smf(const QByteArray &events, std::uint16_t division = 96, std::uint16_t format = 0,
               std::uint16_t tracks = 1) {
    QByteArray m("MThd\0\0\0\6", 8);
    for (std::uint16_t v : {format, tracks, division}) {
        m.append(static_cast<char>(v >> 8));
        m.append(static_cast<char>(v & 0xFF));
    }
    m += QByteArray("MTrk", 4);
    const auto n = static_cast<std::uint32_t>(events.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        m.append(static_cast<char>((n >> shift) & 0xFF));
    return m + events;
}

qint32 FailureCode(const QByteArray &bytes) {
    try {
        ReadMidiFile(Span(bytes));
    } catch (const ErrorReport &e) {
        return e.code();
    }
    return 0;
}

QAudioFormat Stereo16(int rate = 44100) {
    QAudioFormat f;
    f.setSampleRate(rate);
    f.setChannelCount(2);
    f.setSampleFormat(QAudioFormat::Int16);
    return f;
}

QByteArray Render(PcmSource &source, qint64 limit = 40 << 20) {
    QByteArray out;
    QByteArray buffer(4099 * 4, '\0');
    for (;;) {
        const qint64 n = source.Read(buffer.data(), buffer.size());
        if (n <= 0 || out.size() > limit) break;
        out.append(buffer.constData(), static_cast<qsizetype>(n));
    }
    return out;
}

int Peak(const QByteArray &pcm, qsizetype from = 0, qsizetype to = -1) {
    const auto *s = reinterpret_cast<const std::int16_t *>(pcm.constData());
    const qsizetype count = to < 0 ? pcm.size() / 2 : to;
    int peak = 0;
    for (qsizetype i = from; i < count; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}
} // namespace

TEST(MidiFile, ReadsTheStructureOfAStandardFile) {
    const QByteArray tune = Tune();
    const MidiFileInfo info = ReadMidiFile(Span(tune));
    EXPECT_EQ(info.format, 0);
    EXPECT_EQ(info.tracks, 1);
    EXPECT_EQ(info.division, 96);
    // Tempo, program, three notes on and off (the offs by running status), end of track.
    EXPECT_EQ(info.events, 9u);
    EXPECT_EQ(info.smf.data(), Span(tune).data());
    EXPECT_EQ(info.smf.size(), Span(tune).size());

    // Two tracks with an unknown chunk between them, which is skipped.
    const QByteArray eot("\0\xFF\x2F\0", 4);
    QByteArray two = Smf(eot, 480, 1, 2);
    two += QByteArray("XFIH\0\0\0\3abc", 11);
    two += QByteArray("MTrk\0\0\0\4", 8) + eot;
    const MidiFileInfo twoInfo = ReadMidiFile(Span(two));
    EXPECT_EQ(twoInfo.format, 1);
    EXPECT_EQ(twoInfo.tracks, 2);
    EXPECT_EQ(twoInfo.events, 2u);
}

TEST(MidiFile, FindsTheStandardFileInsideARiffMidiFile) {
    const QByteArray tune = Tune();
    QByteArray riff("RIFF", 4);
    QByteArray body("RMID", 4);
    body += QByteArray("LIST\3\0\0\0xyz\0", 12); // an odd-sized chunk, padded
    body += QByteArray("data", 4);
    const auto n = static_cast<std::uint32_t>(tune.size());
    for (int shift = 0; shift < 32; shift += 8)
        body.append(static_cast<char>((n >> shift) & 0xFF));
    body += tune;
    const auto total = static_cast<std::uint32_t>(body.size());
    for (int shift = 0; shift < 32; shift += 8)
        riff.append(static_cast<char>((total >> shift) & 0xFF));
    riff += body;
    const MidiFileInfo info = ReadMidiFile(Span(riff));
    EXPECT_EQ(info.smf.size(), static_cast<std::size_t>(tune.size()));
    EXPECT_EQ(std::memcmp(info.smf.data(), tune.constData(), info.smf.size()), 0);
    EXPECT_EQ(info.events, 9u);
}

TEST(MidiFile, RefusesWhatCannotBePlayed) {
    const QByteArray eot("\0\xFF\x2F\0", 4);
    struct Case {
        const char *what;
        QByteArray bytes;
        qint32 code;
    };
    const Case cases[] = {
        {"not MIDI", QByteArray("RIFF....WAVEfmt ", 16), ErrorReport::InvalidArgument},
        {"header shorter than 6", QByteArray("MThd\0\0\0\4\0\0\0\1", 12), ErrorReport::InvalidArgument},
        {"format 3", Smf(eot, 96, 3), ErrorReport::InvalidArgument},
        {"time-code division", Smf(eot, 0xE728), ErrorReport::InvalidArgument},
        {"division 0", Smf(eot, 0), ErrorReport::InvalidArgument},
        {"no tracks", Smf(eot, 96, 0, 0), ErrorReport::InvalidArgument},
        {"running status before any status", Smf(QByteArray("\0\x40\x40", 3) + eot),
         ErrorReport::InvalidArgument},
        {"running status after a meta event", Smf(QByteArray("\0\x90\x40\x40\0\xFF\x01\0\0\x40\0", 11) + eot),
         ErrorReport::InvalidArgument},
        {"delta time of five bytes", Smf(QByteArray("\x81\x81\x81\x81\x01\x90\x40\x40", 8) + eot),
         ErrorReport::InvalidArgument},
        {"system real-time byte", Smf(QByteArray("\0\xF8", 2) + eot), ErrorReport::InvalidArgument},
        {"meta event longer than the track",
         Smf(QByteArray("\0\xFF\x01\x7F"
                        "abc",
                        7)),
         ErrorReport::OutOfRange},
        {"sysex longer than the track", Smf(QByteArray("\0\xF0\x8F\x7F", 4)), ErrorReport::OutOfRange},
        {"announced track missing", Smf(eot, 96, 1, 2), ErrorReport::OutOfRange},
        {"track longer than the file", Smf(eot).left(Smf(eot).size() - 1), ErrorReport::OutOfRange},
        {"RMID without a data chunk", QByteArray("RIFF\x0C\0\0\0RMIDLIST\0\0\0\0", 20),
         ErrorReport::OutOfRange},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FailureCode(c.bytes), c.code) << c.what;
}

TEST(MidiFile, EveryCutOfAFileFailsCleanly) {
    const QByteArray tune = Tune();
    for (qsizetype cut = 0; cut < tune.size(); ++cut) {
        const qint32 code = FailureCode(tune.left(cut));
        EXPECT_TRUE(code == ErrorReport::OutOfRange || code == ErrorReport::InvalidArgument)
            << "cut at " << cut;
    }
    EXPECT_EQ(FailureCode(tune), 0);
}

TEST(SoundFont, TakesTheFirstCandidateThatIsASoundFont) {
    TempFiles temp;
    const QString notFont = temp.Write(QStringLiteral("fake.sf2"), QByteArray("RIFF\0\0\0\0WAVEfmt ", 16));
    const QString shortFile = temp.Write(QStringLiteral("short.sf2"), QByteArray("RIFF"));
    const QString font = temp.Write(QStringLiteral("font.sf2"), QByteArray("RIFF\0\0\0\0sfbkLIST", 16));
    EXPECT_EQ(FindSoundFont({temp.path() + QStringLiteral("/missing.sf2"), notFont, shortFile, font}), font);
    EXPECT_EQ(FindSoundFont({notFont, temp.path()}), QString());
    EXPECT_EQ(FindSoundFont({}), QString());
    // On this system the Debian General MIDI font is found.
    const QString found = FindSoundFont();
    EXPECT_FALSE(found.isEmpty());
    EXPECT_TRUE(SoundFontCandidates().contains(QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2")));
}

TEST(MidiSynth, RendersTheTuneWithTheGeneralMidiFont) {
    const QString font = FindSoundFont();
    ASSERT_FALSE(font.isEmpty());
    const QByteArray tune = Tune();
    QByteArray first;
    for (int pass = 0; pass < 2; ++pass) {
        const std::unique_ptr<MidiSynth> synth = MidiSynth::Open(Span(tune), font);
        ASSERT_NE(synth, nullptr);
        ASSERT_TRUE(synth->Prepare(Stereo16()));
        const QByteArray pcm = Render(*synth);
        const double seconds = static_cast<double>(pcm.size()) / 4 / 44100;
        // 1.5 seconds of notes, then at most two seconds for the last one to die away.
        EXPECT_GE(seconds, 1.5);
        EXPECT_LE(seconds, 3.6);
        // Every half second a note starts: each one is heard.
        for (int note = 0; note < 3; ++note) {
            const qsizetype from = static_cast<qsizetype>(note) * 22050 * 2;
            EXPECT_GT(Peak(pcm, from, from + 22050 * 2), 1000) << "note " << note;
        }
        // Time runs by samples: the same file renders to the same samples.
        if (pass == 0)
            first = pcm;
        else
            EXPECT_TRUE(pcm == first);
    }
}

TEST(MidiSynth, IsSilentWithoutAUsableFontOrFile) {
    const QByteArray tune = Tune();
    EXPECT_EQ(MidiSynth::Open(Span(tune), QString()), nullptr);
    EXPECT_EQ(MidiSynth::Open(Span(QByteArray("MThd")), FindSoundFont()), nullptr);
    TempFiles temp;
    const QString broken = temp.Write(QStringLiteral("broken.sf2"), QByteArray("RIFF\0\0\0\0sfbkLIST", 16));
    for (const QString &font : {broken, temp.path() + QStringLiteral("/missing.sf2")}) {
        const std::unique_ptr<MidiSynth> synth = MidiSynth::Open(Span(tune), font);
        ASSERT_NE(synth, nullptr);
        EXPECT_FALSE(synth->Prepare(Stereo16()));
        char buffer[256];
        EXPECT_EQ(synth->Read(buffer, sizeof buffer), 0);
    }
    // A rate the synthesiser does not run at.
    const std::unique_ptr<MidiSynth> synth = MidiSynth::Open(Span(tune), FindSoundFont());
    EXPECT_FALSE(synth->Prepare(Stereo16(4000)));
}
