#pragma once
// What one window's viewing session holds: the opened file, its dialog preview, the medium that
// plays and the visible size of the display area. Each window owns one, so two windows in one
// process share none of it.
#include "resources/ModuleCatalogue.h"
#include "views/dialogs/DialogPreview.h"
#include "views/display/Viewport.h"
#include "views/media/MediaPlayer.h"

#include <QString>
#include <cstdint>
#include <memory>

class ViewingSession {
public:
    ViewingSession() = default;
    ViewingSession(const ViewingSession &) = delete;
    ViewingSession &operator=(const ViewingSession &) = delete;
    ~ViewingSession() { Release(); }

    // Opens the file (its name compared without case, as the program's home platform does) in place
    // of the one opened before, which is released first, so two are never held. True when it
    // opened as a module; either way the session now stands for this file.
    bool Open(const QString &path);
    // Stops the medium, destroys the preview and lets the file go.
    void Release();

    // The opened module; the empty one when no module is open.
    const ModuleCatalogue &Module() const { return module_ ? *module_ : ModuleCatalogue::Empty(); }
    const std::shared_ptr<const ModuleCatalogue> &Catalogue() const { return module_; }
    // The path as it was given to Open.
    const QString &Path() const { return path_; }
    // Counts the opens: a different number means a different file, even at the same path.
    std::uint64_t Opens() const { return opens_; }

    DialogPreview preview;
    MediaPlayer media;
    Viewport viewport;

private:
    std::shared_ptr<const ModuleCatalogue> module_;
    QString path_;
    std::uint64_t opens_ = 0;
};
