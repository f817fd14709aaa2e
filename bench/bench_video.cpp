// Video decoding: every frame of a 300-frame 320 x 240 clip decoded and converted to RGB by the
// player's reader (VideoClip), beside FFmpeg's own decoding and conversion of the same bytes in
// the same process and run: one decoder, one scaler for the stream, as FFmpeg's command line
// sets them up. The clips are made by FFmpeg's command line, one per codec that AVI resources
// use and FFmpeg can write. Usage: bench_video [repetitions]
#include "BenchSupport.h"
#include "media/ffmpeg/FfmpegInput.h"
#include "media/video/VideoClip.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {
constexpr int kFrames = 300, kWidth = 320, kHeight = 240;

// The floor: demuxer, decoder and one scaler, converting each frame into one reused buffer.
int FfmpegAllFrames(const std::shared_ptr<const QByteArray> &bytes) {
    std::unique_ptr<MemoryInput> input = MemoryInput::Open(bytes, "avi");
    if (!input) return -1;
    AVFormatContext *format = input->context();
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) return -1;
    const AVCodecParameters *par = format->streams[stream]->codecpar;
    AvCodecContextPtr decoder(avcodec_alloc_context3(avcodec_find_decoder(par->codec_id)));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), par) < 0) return -1;
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), decoder->codec, nullptr) < 0) return -1;
    AvPacketPtr packet(av_packet_alloc());
    AvFramePtr frame(av_frame_alloc());
    SwsPtr scaler;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    int frames = 0;
    auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            if (!scaler)
                scaler.reset(sws_getContext(
                    frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
                    frame->height, AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr));
            std::uint8_t *const dst[4] = {rgb.data(), nullptr, nullptr, nullptr};
            const int stride[4] = {kWidth * 3, 0, 0, 0};
            sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, dst, stride);
            ++frames;
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == stream) avcodec_send_packet(decoder.get(), packet.get());
        av_packet_unref(packet.get());
        drain();
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
    return frames;
}

int OursAllFrames(const std::shared_ptr<const QByteArray> &bytes) {
    std::unique_ptr<VideoClip> clip = VideoClip::Open(bytes);
    if (!clip) return -1;
    int frames = 0;
    while (clip->NextFrame())
        ++frames;
    return frames;
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    QTemporaryDir dir;
    struct Codec {
        const char *label, *encoder, *pixelFormat;
    };
    std::printf("%d frames of %d x %d, all decoded and converted to RGB 8:8:8, in-process, median of %d\n",
                kFrames, kWidth, kHeight, repetitions);
    for (const Codec c :
         {Codec{"MS Video 1 (RGB 555)", "msvideo1", "rgb555le"},
          Codec{"uncompressed 8-bit palette", "rawvideo", "pal8"},
          Codec{"uncompressed 24-bit", "rawvideo", "bgr24"}, Codec{"Cinepak", "cinepak", "rgb24"}}) {
        const QString path =
            dir.filePath(QLatin1String(c.encoder) + QLatin1String(c.pixelFormat) + QStringLiteral(".avi"));
        RunQuietly(
            QStringLiteral("ffmpeg"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
             QStringLiteral("-i"), QStringLiteral("testsrc=size=%1x%2:rate=15").arg(kWidth).arg(kHeight),
             QStringLiteral("-frames:v"), QString::number(kFrames), QStringLiteral("-c:v"),
             QLatin1String(c.encoder), QStringLiteral("-pix_fmt"), QLatin1String(c.pixelFormat), path});
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::printf("  %-28s could not be made by ffmpeg\n", c.label);
            continue;
        }
        const auto bytes = std::make_shared<const QByteArray>(file.readAll());
        const int ourFrames = OursAllFrames(bytes), peerFrames = FfmpegAllFrames(bytes);
        if (ourFrames != kFrames || peerFrames != kFrames) {
            std::printf("  %-28s frames: ours %d, ffmpeg %d\n", c.label, ourFrames, peerFrames);
            continue;
        }
        // Interleaved, so that both see the same machine.
        std::vector<double> ours, peer;
        for (int i = 0; i < repetitions; ++i) {
            ours.push_back(MedianMs(1, [&] { OursAllFrames(bytes); }));
            peer.push_back(MedianMs(1, [&] { FfmpegAllFrames(bytes); }));
        }
        std::sort(ours.begin(), ours.end());
        std::sort(peer.begin(), peer.end());
        const double o = ours[ours.size() / 2], p = peer[peer.size() / 2];
        std::printf("  %-28s VideoClip %7.2f ms | FFmpeg %7.2f ms | ratio %.2f\n", c.label, o, p, o / p);
    }
    return 0;
}
