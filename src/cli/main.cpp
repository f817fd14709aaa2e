// zorvika-cli: the program's readings of a file's resources from a terminal or a script.
#include "cli/CheckedWrite.h"
#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "cli/InterruptCleanup.h"
#include "system/ProgramModules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <dlfcn.h>
#include <unistd.h>

namespace {
// Qt's own notes (no runtime folder, a missing font) are not the tool's to say; its failures are.
void QtMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) WriteAll(STDERR_FILENO, (message + QLatin1Char('\n')).toUtf8());
}

using ExtractEntry = int (*)(int &, char **, const CliRequest &, const CliStreams &);

// Extract lives in a module of the program's own (found as the window finds its media module),
// loaded only when it is asked for.
int RunExtract(int &argc, char **argv, const CliRequest &request, const CliStreams &streams) {
    const QString path = ProgramModulePath(QStringLiteral("zorvika-cli-extract.so"));
    if (!QFileInfo(path).isFile()) {
        SayError(streams, QStringLiteral("не найден модуль команды extract %1").arg(path));
        return CliStatus::Failed;
    }
    void *handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    const auto entry =
        handle ? reinterpret_cast<ExtractEntry>(::dlsym(handle, "ZorvikaCliExtract")) : nullptr;
    if (entry == nullptr) {
        const char *error = ::dlerror();
        QString why = error != nullptr ? QString::fromLocal8Bit(error) : QString();
        // The loader's message starts with the path, which ours already names.
        if (why.startsWith(path + QLatin1String(": "))) why.remove(0, path.size() + 2);
        SayError(streams, QStringLiteral("не удаётся загрузить модуль команды extract %1: %2")
                              .arg(path, why.isEmpty() ? QStringLiteral("неизвестная причина") : why));
        return CliStatus::Failed;
    }
    return entry(argc, argv, request, streams);
}
} // namespace

int main(int argc, char **argv) {
    // What an interrupted run was writing is removed; a write to a closed pipe fails, never kills.
    TempNames temporaries;
    InstallInterruptCleanup(temporaries);
    qInstallMessageHandler(QtMessages);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Unbuffered: each document is written whole by one call, and its failure is known at once.
    const CliStreams streams{[](const QByteArray &b) { return WriteAll(STDOUT_FILENO, b); },
                             [](const QByteArray &b) { WriteAll(STDERR_FILENO, b); }, isatty(STDOUT_FILENO) == 1,
                             &temporaries};
    const CliParse parsed = ParseCli(arguments);
    if (!parsed.request) return ReportMistake(parsed.mistake, streams);

    int status;
    if (parsed.request->command == CliCommand::Extract) {
        status = RunExtract(argc, argv, *parsed.request, streams);
    } else {
        QCoreApplication app(argc, argv);
        status = RunRequest(*parsed.request, streams, nullptr);
    }
    return status;
}
