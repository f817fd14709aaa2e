#include "resources/Module.h"

#include "resources/DialogPreviewWnd.h"
#include "resources/Playback.h"
#include "system/SystemFolders.h"

#include <memory>

namespace {
std::unique_ptr<PeImage> &Handle() {
    static std::unique_ptr<PeImage> handle;
    return handle;
}
} // namespace

const PeImage *ModuleHandle() {
    return Handle().get();
}

bool LoadModule(const QString &path) {
    // File names on the program's home platform are case-insensitive.
    Handle() = PeImage::Load(ResolvePathNoCase(path));
    return Handle() != nullptr;
}

void ReleaseModule() {
    StopPlayback();
    DestroyDialogPreview();
    Handle().reset();
}
