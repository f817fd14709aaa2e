#include "views/media/MediaControl.h"

#include "media/FfmpegInput.h"
#include "media/MediaDevices.h"
#include "media/midi/MidiSynth.h"
#include "media/midi/SoundFont.h"
#include "media/sound/PcmOutput.h"
#include "media/sound/SoundClip.h"
#include "media/video/VideoClip.h"
#include "media/video/VideoPlayer.h"
#include "views/media/VideoWindow.h"

#include <QFile>
#include <QPointer>

namespace {
struct OpenDevices {
    QPointer<VideoWindow> video;
    QPointer<PcmOutput> sound;
    std::uint32_t soundLengthMs = 0;
    QPointer<PcmOutput> music;
};

OpenDevices &Devices() {
    static OpenDevices devices;
    return devices;
}

std::shared_ptr<const QByteArray> ReadWholeFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxMediaFileBytes) return nullptr;
    auto bytes = std::make_shared<QByteArray>(file.readAll());
    if (file.error() != QFileDevice::NoError) return nullptr;
    return bytes;
}

bool OpenVideo(const std::shared_ptr<const QByteArray> &bytes, QWidget *parent) {
    std::unique_ptr<VideoClip> clip = VideoClip::Open(bytes);
    if (!clip || parent == nullptr) return false;
    auto *window = new VideoWindow(std::move(clip), parent);
    MediaDevices::Register(window);
    Devices().video = window;
    return true;
}

bool OpenSound(const std::shared_ptr<const QByteArray> &bytes) {
    std::unique_ptr<SoundClip> clip = SoundClip::Open(bytes);
    if (!clip) return false;
    const std::uint32_t length = clip->LengthMs();
    auto *output = new PcmOutput(std::move(clip));
    MediaDevices::Register(output);
    Devices().sound = output;
    Devices().soundLengthMs = length;
    return true;
}

bool OpenMusic(const std::shared_ptr<const QByteArray> &bytes) {
    std::unique_ptr<MidiSynth> synth =
        MidiSynth::Open(std::as_bytes(std::span(bytes->constData(), static_cast<std::size_t>(bytes->size()))),
                        FindSoundFont());
    if (!synth) return false;
    auto *output = new PcmOutput(std::move(synth));
    MediaDevices::Register(output);
    Devices().music = output;
    return true;
}
} // namespace

bool MediaControl::Open(Device device, const QString &path, QWidget *parent) {
    MediaDevices::CloseAll();
    const std::shared_ptr<const QByteArray> bytes = ReadWholeFile(path);
    if (!bytes) return false;
    switch (device) {
    case Device::Video:
        return OpenVideo(bytes, parent);
    case Device::Sound:
        return OpenSound(bytes);
    case Device::Music:
        return OpenMusic(bytes);
    }
    return false;
}

QString MediaControl::WhereVideoDestination() {
    const VideoWindow *video = Devices().video;
    if (video == nullptr) return QString();
    const QSize size = video->clipSize();
    return QStringLiteral("0 0 %1 %2").arg(size.width()).arg(size.height());
}

void MediaControl::PutVideoWindowAt(int x, int y, int width, int height) {
    if (VideoWindow *video = Devices().video) video->setGeometry(x, y, width, height);
}

void MediaControl::PlayVideoRepeat() {
    if (VideoWindow *video = Devices().video) video->player().PlayRepeat();
}

void MediaControl::Play(Device device) {
    PcmOutput *output = device == Device::Sound   ? Devices().sound.data()
                        : device == Device::Music ? Devices().music.data()
                                                  : nullptr;
    if (output != nullptr) output->Play();
}

QString MediaControl::StatusSoundLength() {
    if (Devices().sound.isNull()) return QString();
    return QString::number(Devices().soundLengthMs);
}
