#include "resources/Module.h"

#include "resources/DialogPreviewWnd.h"
#include "resources/Playback.h"
#include "system/SystemFolders.h"

namespace {
std::shared_ptr<const ModuleCatalogue> &Handle() {
    static std::shared_ptr<const ModuleCatalogue> handle;
    return handle;
}
std::uint64_t loads = 0;
} // namespace

const ModuleCatalogue *ModuleHandle() {
    return Handle().get();
}

const ModuleCatalogue &CurrentModule() {
    return Handle() ? *Handle() : ModuleCatalogue::Empty();
}

bool LoadModule(const QString &path) {
    // File names on the program's home platform are case-insensitive. The module loaded before is
    // released here at the latest, so two are never held.
    Handle() = ModuleCatalogue::Open(ResolvePathNoCase(path));
    ++loads;
    return Handle() != nullptr;
}

std::uint64_t ModuleLoadCount() {
    return loads;
}

void ReleaseModule() {
    StopPlayback();
    DestroyDialogPreview();
    Handle().reset();
}
