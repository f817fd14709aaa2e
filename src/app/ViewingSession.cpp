#include "app/ViewingSession.h"

#include "system/SystemFolders.h"

bool ViewingSession::Open(const QString &path) {
    Release();
    path_ = path;
    ++opens_;
    module_ = ModuleCatalogue::Open(ResolvePathNoCase(path));
    return module_ != nullptr;
}

void ViewingSession::Release() {
    media.Stop();
    preview.Destroy();
    module_.reset();
}
