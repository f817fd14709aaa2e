// AVI clips decoded by the player's reader, frame for frame against FFmpeg's command line: every
// codec of AVI resources, the palette changes of MS-RLE, the loop back to the first frame, and
// damaged or hostile files.
#include "media/video/VideoClip.h"
#include "Fixtures.h"
#include "MediaTestSupport.h"
#include "media/video/VideoPlayer.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {
std::shared_ptr<const QByteArray> Shared(const QByteArray &bytes) {
    return std::make_shared<const QByteArray>(bytes);
}

QString GeneratedOrCommitted(const QString &name) {
    const QString generated = FixturePath(name);
    return QFile::exists(generated) ? generated : QStringLiteral(FIXTURE_SOURCE_DIR "/") + name;
}

std::vector<VideoFrame> AllFrames(VideoClip &clip, int limit = 1000) {
    std::vector<VideoFrame> frames;
    while (static_cast<int>(frames.size()) < limit) {
        std::optional<VideoFrame> f = clip.NextFrame();
        if (!f) break;
        frames.push_back(std::move(*f));
    }
    return frames;
}

// Offset of the first occurrence of a RIFF tag, for patching headers.
qsizetype TagOffset(const QByteArray &bytes, const char *tag) {
    return bytes.indexOf(QByteArray(tag, 4));
}

void PatchU32(QByteArray &bytes, qsizetype at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct ClipCase {
    const char *file; // fixture name, or "shell32:<id>"
    int width, height;
    double frameMs;
};

QByteArray ClipBytes(const ClipCase &c, QString *path, TempFiles &temp) {
    const QString name = QLatin1String(c.file);
    if (name.startsWith(QLatin1String("shell32:"))) {
        const QByteArray bytes = ResourceOf(
            kWineLibraries + QStringLiteral("/shell32.dll"), ResourceId::fromName(QStringLiteral("AVI")),
            ResourceId::fromNumber(static_cast<std::uint16_t>(name.mid(8).toUInt())));
        *path = temp.Write(name.mid(8) + QStringLiteral(".avi"), bytes);
        return bytes;
    }
    *path = GeneratedOrCommitted(name);
    return ReadFileBytes(*path);
}

class VideoClipCodecs : public testing::TestWithParam<ClipCase> {};
} // namespace

TEST_P(VideoClipCodecs, EveryFrameIsWhatFfmpegsCommandLineDecodes) {
    const ClipCase c = GetParam();
    TempFiles temp;
    QString path;
    const QByteArray bytes = ClipBytes(c, &path, temp);
    ASSERT_FALSE(bytes.isEmpty()) << c.file;
    const std::vector<QByteArray> reference = ReferenceFrames(path, c.width, c.height);
    ASSERT_FALSE(reference.empty()) << "ffmpeg decoded nothing from " << c.file;

    const std::unique_ptr<VideoClip> clip = VideoClip::Open(Shared(bytes));
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->Size(), QSize(c.width, c.height));
    EXPECT_TRUE(clip->HasDecoder());
    EXPECT_DOUBLE_EQ(clip->FrameDurationMs(), c.frameMs);
    const std::vector<VideoFrame> frames = AllFrames(*clip);
    ASSERT_EQ(frames.size(), reference.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].image.size(), QSize(c.width, c.height));
        EXPECT_TRUE(PackedRgb(frames[i].image) == reference[i]) << c.file << " frame " << i;
        EXPECT_DOUBLE_EQ(frames[i].timeMs, c.frameMs * static_cast<double>(i)) << "frame " << i;
    }
    // A second pass starts again from the first frame, with the clip's first palette.
    ASSERT_TRUE(clip->Rewind());
    const std::vector<VideoFrame> again = AllFrames(*clip);
    ASSERT_EQ(again.size(), reference.size());
    EXPECT_TRUE(PackedRgb(again.front().image) == reference.front());
    EXPECT_TRUE(PackedRgb(again.back().image) == reference.back());
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, VideoClipCodecs,
    testing::Values(ClipCase{"media_rle8.avi", 40, 30, 200}, ClipCase{"media_big.avi", 500, 400, 500},
                    ClipCase{"media_raw24.avi", 16, 12, 100}, ClipCase{"media_cinepak.avi", 64, 48, 200},
                    ClipCase{"media_msvideo1.avi", 64, 48, 200}, ClipCase{"shell32:150", 80, 50, 500},
                    ClipCase{"shell32:151", 80, 50, 500}, ClipCase{"shell32:152", 80, 50, 500},
                    ClipCase{"shell32:160", 80, 50, 500}, ClipCase{"shell32:161", 80, 50, 500},
                    ClipCase{"shell32:163", 80, 50, 500}, ClipCase{"shell32:164", 80, 50, 500}),
    [](const testing::TestParamInfo<ClipCase> &param) {
        std::string name = param.param.file;
        for (char &ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(VideoClip, PaletteChangeRecoloursTheFramesAfterIt) {
    const std::unique_ptr<VideoClip> clip =
        VideoClip::Open(Shared(ReadFileBytes(FixturePath("media_rle8.avi"))));
    ASSERT_NE(clip, nullptr);
    const std::vector<VideoFrame> frames = AllFrames(*clip);
    ASSERT_EQ(frames.size(), 4u);
    // Index 2 is green until the change turns it yellow; the third frame changes no index.
    const QPoint band2(0, 12); // rows 12..17 of the first column hold index 2
    EXPECT_EQ(frames[1].image.pixel(band2), qRgb(0, 255, 0));
    EXPECT_EQ(frames[2].image.pixel(band2), qRgb(255, 255, 0));
    // The delta frame painted eight pixels of index 4 (white) from x = 10 on rows 19 to 16 and left
    // everything else as the key frame had it.
    EXPECT_EQ(frames[0].image.pixel(10, 16), qRgb(0, 0, 255));
    EXPECT_EQ(frames[1].image.pixel(10, 16), qRgb(255, 255, 255));
    EXPECT_EQ(frames[1].image.pixel(17, 16), qRgb(255, 255, 255));
    EXPECT_EQ(frames[1].image.pixel(18, 16), frames[0].image.pixel(18, 16));
    EXPECT_EQ(frames[1].image.pixel(10, 15), frames[0].image.pixel(10, 15));
    // The frame after the change repeats the pixels; only the colour of index 2 differs.
    EXPECT_EQ(frames[2].image.pixel(10, 16), qRgb(255, 255, 255));
}

TEST(VideoClip, UnknownCodecOpensWithItsSizeButGivesNoFrames) {
    const std::unique_ptr<VideoClip> clip =
        VideoClip::Open(Shared(ReadFileBytes(FixturePath("media_nocodec.avi"))));
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->Size(), QSize(32, 32));
    EXPECT_FALSE(clip->HasDecoder());
    EXPECT_FALSE(clip->NextFrame().has_value());
}

TEST(VideoClip, RefusesWhatIsNotAnAviWithAVideoStream) {
    EXPECT_EQ(VideoClip::Open(Shared(QByteArray())), nullptr);
    EXPECT_EQ(VideoClip::Open(Shared(ReadFileBytes(FixturePath("media_junk.bin")))), nullptr);
    EXPECT_EQ(VideoClip::Open(Shared(ReadFileBytes(FixturePath("media_tone.wav")))), nullptr);
    EXPECT_EQ(VideoClip::Open(Shared(QByteArray("RIFF\x04\0\0\0AVI ", 12))), nullptr);
    EXPECT_EQ(VideoClip::Open(nullptr), nullptr);
}

TEST(VideoClip, RefusesFrameSizesBeyondItsLimits) {
    const QByteArray original = ReadFileBytes(FixturePath("media_raw24.avi"));
    const qsizetype strf = TagOffset(original, "strf");
    ASSERT_GT(strf, 0);
    // biWidth and biHeight of the BITMAPINFOHEADER: 8 bytes after the tag (tag, size, biSize).
    struct Size {
        std::uint32_t w, h;
        bool opens;
    };
    for (const Size s :
         {Size{32767, 12, true}, Size{32768, 12, false}, Size{4096, 2048, true}, Size{4096, 2049, false},
          Size{30000, 30000, false}, Size{0, 12, false}, Size{16, 0, false}, Size{0x80000000u, 12, false}}) {
        QByteArray bytes = original;
        PatchU32(bytes, strf + 12, s.w);
        PatchU32(bytes, strf + 16, s.h);
        const std::unique_ptr<VideoClip> clip = VideoClip::Open(Shared(bytes));
        EXPECT_EQ(clip != nullptr, s.opens) << s.w << " x " << s.h;
        // A frame of the wrong size for its data is not shown, and does not read past it.
        if (clip) {
            EXPECT_LE(AllFrames(*clip).size(), 3u);
        }
    }
}

TEST(VideoClip, DamagedFilesEndQuietlyAtEveryCut) {
    for (const ClipCase c : {ClipCase{"media_rle8.avi", 40, 30, 0}, ClipCase{"media_raw24.avi", 16, 12, 0},
                             ClipCase{"media_msvideo1.avi", 64, 48, 0}}) {
        const char *name = c.file;
        const QByteArray whole = ReadFileBytes(GeneratedOrCommitted(QLatin1String(name)));
        ASSERT_FALSE(whole.isEmpty());
        const std::size_t expected =
            ReferenceFrames(GeneratedOrCommitted(QLatin1String(name)), c.width, c.height).size();
        ASSERT_GE(expected, 3u);
        int opened = 0;
        for (qsizetype cut = 0; cut < whole.size(); cut += (whole.size() > 4000 ? 7 : 1)) {
            const std::unique_ptr<VideoClip> clip = VideoClip::Open(Shared(whole.left(cut)));
            if (!clip) continue;
            ++opened;
            // A cut clip never gives more frames than the whole one.
            EXPECT_LE(AllFrames(*clip).size(), expected) << name << " cut at " << cut;
        }
        // The header lies at the front; once it is complete the clip opens.
        EXPECT_GT(opened, 0) << name;
    }
}

TEST(VideoClip, CorruptFrameDataNeverStopsTheRead) {
    const QByteArray whole = ReadFileBytes(FixturePath("media_rle8.avi"));
    const qsizetype movi = TagOffset(whole, "movi");
    ASSERT_GT(movi, 0);
    QRandomGenerator random(20240611);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes = whole;
        for (int n = 0; n < 8; ++n) {
            const qsizetype at =
                movi + 4 + static_cast<qsizetype>(random.bounded(static_cast<int>(whole.size() - movi - 4)));
            bytes[at] = static_cast<char>(random.bounded(256));
        }
        const std::unique_ptr<VideoClip> clip = VideoClip::Open(Shared(bytes));
        if (!clip) continue;
        const std::vector<VideoFrame> frames = AllFrames(*clip, 100);
        EXPECT_LT(frames.size(), 100u);
        for (const VideoFrame &f : frames)
            EXPECT_EQ(f.image.size(), QSize(40, 30));
    }
}

TEST(VideoPlayer, LoopsForEverAtTheClipsRate) {
    const QByteArray bytes = ReadFileBytes(FixturePath("media_rle8.avi"));
    const std::vector<QByteArray> reference = ReferenceFrames(FixturePath("media_rle8.avi"), 40, 30);
    ASSERT_EQ(reference.size(), 4u);
    VideoPlayer player(VideoClip::Open(Shared(bytes)));
    std::vector<QImage> shown;
    std::vector<double> due, arrived;
    QElapsedTimer clock;
    QObject::connect(&player, &VideoPlayer::FrameDue, [&](const QImage &frame, double dueMs) {
        shown.push_back(frame);
        due.push_back(dueMs);
        arrived.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    });
    clock.start();
    player.PlayRepeat();
    ASSERT_TRUE(WaitUntil([&] { return shown.size() >= 10; }, 10000));
    // Five frames a second: 200 ms apart, the fifth frame is the first again (palette and all).
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_DOUBLE_EQ(due[i], 200.0 * static_cast<double>(i));
        EXPECT_TRUE(PackedRgb(shown[i]) == reference[i % 4]) << "frame " << i;
        // Never shown before its time.
        EXPECT_GE(arrived[i] + 1.0, due[i]) << "frame " << i;
    }
}

TEST(VideoPlayer, AClipWithoutFramesShowsNothingAndStops) {
    VideoPlayer player(VideoClip::Open(Shared(ReadFileBytes(FixturePath("media_nocodec.avi")))));
    int frames = 0;
    QObject::connect(&player, &VideoPlayer::FrameDue, [&] { ++frames; });
    player.PlayRepeat();
    ASSERT_TRUE(WaitUntil([&] { return player.Ended(); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(frames, 0);
}

TEST(VideoPlayer, StopsWhileFramesAreWaiting) {
    // Destroyed before the first frame, and once it has come out with the decoder running ahead
    // into its queue: nothing comes out afterwards, and nothing waits for ever.
    for (const int framesBefore : {0, 1}) {
        auto player = std::make_unique<VideoPlayer>(
            VideoClip::Open(Shared(ReadFileBytes(FixturePath("media_big.avi")))));
        int frames = 0;
        QObject::connect(player.get(), &VideoPlayer::FrameDue, [&] { ++frames; });
        player->PlayRepeat();
        ASSERT_TRUE(WaitUntil([&] { return frames >= framesBefore; }, 10000));
        const int shown = frames;
        player.reset();
        QCoreApplication::processEvents();
        EXPECT_EQ(frames, shown);
    }
}
