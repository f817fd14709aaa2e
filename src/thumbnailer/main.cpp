// zorvika-thumbnailer: the icon of a Windows executable or library as a PNG for file managers.
// It runs where a file manager's host runs it, often in a sandbox: no display, no fonts, no
// runtime folder, no network, a read-only root. It needs Qt Core and libpng, nothing more: not even
// Qt Gui is loaded, which alone would cost more than the rest of a run.
#include "thumbnailer/ThumbnailCommand.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// The bounds of one run, whatever the input: the reading and decoding stop far below them (see
// ShellIcon.h), so they are met only by a fault. CPU seconds, then bytes of data memory.
constexpr rlim_t kCpuSeconds = 4;
constexpr rlim_t kDataBytes = rlim_t{256} << 20;

constexpr char kOutOfTime[] = "zorvika-thumbnailer: время обработки файла исчерпано\n";

void OutOfTime(int) {
    // Only what a signal handler may call: the line, and an exit that writes nothing else.
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, kOutOfTime, sizeof kOutOfTime - 1);
    ::_exit(1);
}

void Bound(int resource, rlim_t limit) {
    struct rlimit current {};
    if (::getrlimit(resource, &current) != 0) return;
    // Lowered only: a tighter limit the host already set stays.
    if (current.rlim_cur == RLIM_INFINITY || current.rlim_cur > limit) current.rlim_cur = limit;
    ::setrlimit(resource, &current);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

void Write(std::FILE *stream, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

// Qt's own notes are not the thumbnailer's to say: its one line is.
void QtMessages(QtMsgType, const QMessageLogContext &, const QString &) {}
} // namespace

int main(int argc, char **argv) {
    std::signal(SIGXCPU, OutOfTime);
    Bound(RLIMIT_CPU, kCpuSeconds);
    // The address sanitizer's shadow memory is data too; its builds keep the CPU bound alone.
    if (!kSanitized) Bound(RLIMIT_DATA, kDataBytes);
    // A write past the file-size limit fails with EFBIG instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(QtMessages);
    // No plugin is looked for.
    QCoreApplication::setLibraryPaths({});

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ThumbnailerOutcome outcome = RunThumbnailer(arguments);
    if (outcome.status == 0) {
        Write(stdout, outcome.text);
    } else {
        Write(stderr, outcome.text + QLatin1Char('\n'));
    }
    return outcome.status;
}
