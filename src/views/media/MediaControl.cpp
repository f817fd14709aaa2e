#include "views/media/MediaControl.h"

#include "media/MediaDevices.h"
#include "media/MediaEngine.h"
#include "media/MediaModule.h"
#include "views/media/VideoWindow.h"

#include <QFile>
#include <QPointer>

namespace {
// A sound or music device, registered like the video window so that closing all devices
// deletes it.
class SoundDevice : public QObject {
public:
    explicit SoundDevice(std::unique_ptr<MediaSound> s) : sound(std::move(s)) {}
    const std::unique_ptr<MediaSound> sound;
};

struct OpenDevices {
    QPointer<VideoWindow> video;
    QPointer<SoundDevice> sound;
    QPointer<SoundDevice> music;
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

bool OpenVideo(MediaEngine &engine, std::shared_ptr<const QByteArray> bytes, QWidget *parent) {
    if (parent == nullptr) return false;
    std::unique_ptr<MediaVideo> video = engine.OpenVideo(std::move(bytes));
    if (!video) return false;
    auto *window = new VideoWindow(std::move(video), parent);
    MediaDevices::Register(window);
    Devices().video = window;
    return true;
}

bool OpenSound(std::unique_ptr<MediaSound> sound, QPointer<SoundDevice> &slot) {
    if (!sound) return false;
    auto *device = new SoundDevice(std::move(sound));
    MediaDevices::Register(device);
    slot = device;
    return true;
}
} // namespace

bool MediaControl::Open(Device device, const QString &path, QWidget *parent) {
    MediaDevices::CloseAll();
    // The decoders are opened with the first medium; a missing module is a failure of the view.
    MediaEngine &engine = MediaModule::Engine();
    std::shared_ptr<const QByteArray> bytes = ReadWholeFile(path);
    if (!bytes) return false;
    switch (device) {
    case Device::Video:
        return OpenVideo(engine, std::move(bytes), parent);
    case Device::Sound:
        return OpenSound(engine.OpenSound(std::move(bytes)), Devices().sound);
    case Device::Music:
        return OpenSound(engine.OpenMusic(std::move(bytes)), Devices().music);
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
    if (VideoWindow *video = Devices().video) video->PlayRepeat();
}

void MediaControl::Play(Device device) {
    SoundDevice *output = device == Device::Sound   ? Devices().sound.data()
                          : device == Device::Music ? Devices().music.data()
                                                    : nullptr;
    if (output != nullptr) output->sound->Play();
}

QString MediaControl::StatusSoundLength() {
    if (Devices().sound.isNull()) return QString();
    return QString::number(Devices().sound->sound->LengthMs());
}
