// zorvika-cli: the program's readings of a file's resources from a terminal or a script.
#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {
void Write(std::FILE *stream, const QByteArray &bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

// Qt's own notes (no runtime folder, a missing font) are not the tool's to say; its failures are.
void QtMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) Write(stderr, (message + QLatin1Char('\n')).toUtf8());
}
} // namespace

int main(int argc, char **argv) {
    qInstallMessageHandler(QtMessages);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CliStreams streams{[](const QByteArray &b) { Write(stdout, b); },
                             [](const QByteArray &b) { Write(stderr, b); }, isatty(STDOUT_FILENO) == 1};
    const CliParse parsed = ParseCli(arguments);
    if (!parsed.request) return RunCli(arguments, streams); // says what is wrong

    // Pictures are decoded and drawn with Qt GUI, which needs its application object; everything
    // else makes do without. With no display, pictures are drawn off screen.
    std::unique_ptr<QCoreApplication> app;
    if (NeedsPictures(*parsed.request)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const int status = RunCli(*parsed.request, streams);
    std::fflush(stdout);
    return status;
}
