#include "views/media/MediaPlayer.h"

#include "media/MediaEngine.h"
#include "media/MediaModule.h"
#include "views/media/VideoWindow.h"

MediaPlayer::MediaPlayer() = default;

MediaPlayer::~MediaPlayer() {
    Stop();
}

void MediaPlayer::Stop() {
    delete video_.data();
    sound_.reset();
    medium_.reset();
}

bool MediaPlayer::Start(QByteArray bytes) {
    Stop();
    if (bytes.size() > kMaxMediaFileBytes) return false;
    medium_ = std::make_shared<const QByteArray>(std::move(bytes));
    return true;
}

VideoWindow *MediaPlayer::OpenVideo(QByteArray bytes, QWidget *parent) {
    // The decoders are opened with the first medium; a missing module is a failure of the view.
    MediaEngine &engine = MediaModule::Engine();
    if (!Start(std::move(bytes)) || parent == nullptr) return nullptr;
    std::unique_ptr<MediaVideo> video = engine.OpenVideo(medium_);
    if (!video) return nullptr;
    video_ = new VideoWindow(std::move(video), parent);
    return video_;
}

std::optional<std::uint32_t> MediaPlayer::PlaySound(QByteArray bytes) {
    MediaEngine &engine = MediaModule::Engine();
    if (!Start(std::move(bytes))) return std::nullopt;
    sound_ = engine.OpenSound(medium_);
    if (!sound_) return std::nullopt;
    sound_->Play();
    return sound_->LengthMs();
}

bool MediaPlayer::PlayMusic(QByteArray bytes) {
    MediaEngine &engine = MediaModule::Engine();
    if (!Start(std::move(bytes))) return false;
    sound_ = engine.OpenMusic(medium_);
    if (!sound_) return false;
    sound_->Play();
    return true;
}
