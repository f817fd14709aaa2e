#pragma once
// Sound as PCM samples made on demand, a little at a time: a decoder or a synthesiser that the
// output pulls from, so no whole sound is ever held in memory.
#include <QAudioFormat>
#include <QtGlobal>
#include <cstdint>
#include <vector>

class PcmSource {
public:
    virtual ~PcmSource() = default;
    // Chooses the samples' format; false when the source cannot make it. Called once, first.
    virtual bool Prepare(const QAudioFormat &format) = 0;
    // Writes up to maxBytes of whole sample frames; 0 once the sound has ended.
    qint64 Read(char *data, qint64 maxBytes);

protected:
    // Appends the next samples to pending_, or sets ended_ when there are none to come.
    virtual void Produce() = 0;

    QAudioFormat format_;
    std::vector<std::uint8_t> pending_;
    std::size_t pendingPos_ = 0;
    bool ended_ = false;
};
