#pragma once
// Conversion of decoded or synthesised samples to the format the output asks for.
#include "media/ffmpeg/FfmpegInput.h"

#include <QAudioFormat>
#include <optional>

extern "C" {
#include <libavutil/channel_layout.h>
}

// FFmpeg's packed sample format for the output's; empty for a format FFmpeg has no name for.
std::optional<AVSampleFormat> PackedSampleFormat(QAudioFormat::SampleFormat format);

// A resampler from (layout, format, rate) to the output's packed format. Null when the formats
// cannot be converted.
SwrPtr MakeConverter(const AVChannelLayout &inLayout, AVSampleFormat inFormat, int inRate,
                     const QAudioFormat &out);
