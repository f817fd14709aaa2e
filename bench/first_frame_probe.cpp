// Preloaded into a Qt Widgets program by bench_startup: at the first flush of a window's backing
// store (the first frame on screen) it writes the moment, the peak resident memory and the media
// libraries mapped so far to the descriptor named by FIRST_FRAME_FD, then ends the process. The
// same probe in every program measured, so the figures compare like with like.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {
using Flush = void (*)(void *, const void *, void *, const void *);
constexpr char kFlush[] = "_ZN13QBackingStore5flushERK7QRegionP7QWindowRK6QPoint";

std::string ReadFile(const char *path) {
    std::string text;
    if (FILE *f = std::fopen(path, "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

long StatusKiB(const std::string &status, const char *field) {
    const std::size_t at = status.find(field);
    return at == std::string::npos ? -1
                                   : std::strtol(status.c_str() + at + std::strlen(field) + 1, nullptr, 10);
}

// The file names of mapped libraries that belong to FFmpeg, FluidSynth or Qt Multimedia.
std::string MediaLibraries(const std::string &maps) {
    static const char *const kMedia[] = {"libavformat",   "libavcodec",    "libavutil",       "libswscale",
                                         "libswresample", "libfluidsynth", "libQt6Multimedia"};
    std::string found;
    std::size_t start = 0;
    while (start < maps.size()) {
        std::size_t end = maps.find('\n', start);
        if (end == std::string::npos) end = maps.size();
        const std::string line = maps.substr(start, end - start);
        start = end + 1;
        const std::size_t slash = line.rfind('/');
        if (slash == std::string::npos) continue;
        const std::string name = line.substr(slash + 1);
        for (const char *m : kMedia)
            if (name.rfind(m, 0) == 0 && found.find(name) == std::string::npos) found += " " + name;
    }
    return found;
}
} // namespace

// QBackingStore::flush(const QRegion &, QWindow *, const QPoint &): Qt Widgets calls it through
// the dynamic linker, so this definition, loaded first, is the one it reaches.
extern "C" void
ProbeFlush(void *self, const void *region, void *window,
           const void *offset) __asm__("_ZN13QBackingStore5flushERK7QRegionP7QWindowRK6QPoint");
extern "C" void ProbeFlush(void *self, const void *region, void *window, const void *offset) {
    static const auto real = reinterpret_cast<Flush>(::dlsym(RTLD_NEXT, kFlush));
    real(self, region, window, offset);
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const char *fd = std::getenv("FIRST_FRAME_FD");
    if (fd == nullptr) return;
    const std::string status = ReadFile("/proc/self/status");
    char line[512];
    const int n = std::snprintf(
        line, sizeof line, "%lld %ld%s\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
        StatusKiB(status, "VmHWM:"), MediaLibraries(ReadFile("/proc/self/maps")).c_str());
    if (n > 0 && ::write(std::atoi(fd), line, static_cast<std::size_t>(n)) < 0) ::_exit(1);
    ::_exit(0);
}
