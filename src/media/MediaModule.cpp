#include "media/MediaModule.h"

#include "media/MediaEngine.h"
#include "system/ErrorReport.h"
#include "system/ProgramModules.h"

#include <QFile>
#include <dlfcn.h>

namespace {
// The failure of a library that is there but cannot be loaded.
constexpr qint32 kLibraryLoadError = 48;

MediaEngine *g_engine = nullptr;

const QString &ModuleName() {
    static const QString name = QStringLiteral("zorvika_media.so");
    return name;
}

[[noreturn]] void CannotLoad(const QString &why) {
    throw ErrorReport(kLibraryLoadError,
                      QStringLiteral("Не удаётся загрузить модуль воспроизведения мультимедиа %1: %2")
                          .arg(MediaModule::Path(), why));
}
} // namespace

QString MediaModule::Path() {
    return ProgramModulePath(ModuleName());
}

MediaEngine &MediaModule::Engine() {
    if (g_engine != nullptr) return *g_engine;
    const QString path = Path();
    const QByteArray file = QFile::encodeName(path);
    if (!QFile::exists(path))
        throw ErrorReport(ErrorReport::FileNotFound,
                          QStringLiteral("Не найден модуль воспроизведения мультимедиа %1").arg(path));
    // Every symbol is bound now: a module built against other versions of the media libraries
    // fails here rather than in the middle of playing. The handle is never closed: the libraries
    // behind it register themselves with Qt and cannot safely be unloaded.
    void *handle = ::dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char *error = ::dlerror();
        QString why = error != nullptr ? QString::fromLocal8Bit(error) : QString();
        // The loader's message starts with the path, which the description already names.
        if (why.startsWith(path + QLatin1String(": "))) why.remove(0, path.size() + 2);
        CannotLoad(why.isEmpty() ? QStringLiteral("неизвестная причина") : why);
    }
    auto *entry = reinterpret_cast<MediaEngineEntry *>(::dlsym(handle, kMediaEngineEntry));
    MediaEngine *engine = entry != nullptr ? entry(kMediaEngineVersion) : nullptr;
    if (engine == nullptr) CannotLoad(QStringLiteral("модуль от другой версии программы"));
    g_engine = engine;
    return *g_engine;
}

bool MediaModule::Loaded() {
    return g_engine != nullptr;
}
