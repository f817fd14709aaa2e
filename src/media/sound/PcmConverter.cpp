#include "media/sound/PcmConverter.h"

#include <vector>

std::optional<AVSampleFormat> PackedSampleFormat(QAudioFormat::SampleFormat format) {
    switch (format) {
    case QAudioFormat::UInt8:
        return AV_SAMPLE_FMT_U8;
    case QAudioFormat::Int16:
        return AV_SAMPLE_FMT_S16;
    case QAudioFormat::Int32:
        return AV_SAMPLE_FMT_S32;
    case QAudioFormat::Float:
        return AV_SAMPLE_FMT_FLT;
    default:
        return std::nullopt;
    }
}

SwrPtr MakeConverter(const AVChannelLayout &inLayout, AVSampleFormat inFormat, int inRate,
                     const QAudioFormat &out) {
    const std::optional<AVSampleFormat> outFormat = PackedSampleFormat(out.sampleFormat());
    if (!outFormat || out.channelCount() <= 0 || out.sampleRate() <= 0 || inRate <= 0) return nullptr;
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, out.channelCount());
    AVChannelLayout in{};
    if (av_channel_layout_copy(&in, &inLayout) < 0) {
        av_channel_layout_uninit(&outLayout);
        return nullptr;
    }
    SwrContext *raw = nullptr;
    const int made = swr_alloc_set_opts2(&raw, &outLayout, *outFormat, out.sampleRate(), &in, inFormat,
                                         inRate, 0, nullptr);
    av_channel_layout_uninit(&outLayout);
    av_channel_layout_uninit(&in);
    SwrPtr converter(raw);
    if (made < 0) return nullptr;
    // A mono sound plays at full level on the front left and right speakers, as the platform
    // plays it, not 3 dB down as a centre channel mixed into both.
    if (inLayout.nb_channels == 1) {
        std::vector<double> matrix(static_cast<std::size_t>(out.channelCount()), 0.0);
        for (std::size_t i = 0; i < matrix.size() && i < 2; ++i)
            matrix[i] = 1.0;
        if (swr_set_matrix(converter.get(), matrix.data(), 1) < 0) return nullptr;
    }
    if (swr_init(converter.get()) < 0) return nullptr;
    return converter;
}
