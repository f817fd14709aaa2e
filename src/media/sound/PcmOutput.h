#pragma once
// One sound played once, in the background, through the default audio output. The samples are
// pulled from their source as the output needs them.
#include "media/sound/PcmSource.h"

#include <QObject>
#include <memory>

class QAudioSink;
class QIODevice;

class PcmOutput : public QObject {
    Q_OBJECT
public:
    explicit PcmOutput(std::unique_ptr<PcmSource> source, QObject *parent = nullptr);
    ~PcmOutput() override;

    // Starts playing and returns at once. Without an output device, or with one that takes none
    // of the formats the source can make, nothing is heard and nothing is reported. A second
    // call changes nothing.
    void Play();

private:
    std::unique_ptr<PcmSource> source_;
    QIODevice *stream_ = nullptr;
    QAudioSink *sink_ = nullptr;
    bool started_ = false;
};
