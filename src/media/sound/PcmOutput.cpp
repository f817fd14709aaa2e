#include "media/sound/PcmOutput.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

namespace {
// The source as a sequential stream for the sink to pull from.
class PcmStream : public QIODevice {
public:
    PcmStream(PcmSource &source, QObject *parent) : QIODevice(parent), source_(source) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return ended_; }
    qint64 bytesAvailable() const override { return ended_ ? 0 : 64 * 1024 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        if (ended_) return 0;
        const qint64 n = source_.Read(data, maxSize);
        if (n == 0 && maxSize > 0) ended_ = true;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    PcmSource &source_;
    bool ended_ = false;
};
} // namespace

PcmOutput::PcmOutput(std::unique_ptr<PcmSource> source, QObject *parent)
    : QObject(parent), source_(std::move(source)) {}

PcmOutput::~PcmOutput() {
    if (sink_ != nullptr) sink_->stop();
    delete sink_;
    delete stream_;
}

void PcmOutput::Play() {
    if (started_ || !source_) return;
    started_ = true;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;
    // 16-bit stereo at 44.1 kHz where the device takes it, else what the device prefers.
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) format = device.preferredFormat();
    if (!format.isValid() || !source_->Prepare(format)) return;
    stream_ = new PcmStream(*source_, nullptr);
    sink_ = new QAudioSink(device, format, nullptr);
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // The sink runs dry at the end of the sound: it is stopped there, once.
        if (state == QAudio::IdleState && stream_->atEnd()) sink_->stop();
    });
    sink_->start(stream_);
}
