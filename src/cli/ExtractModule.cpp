// The extract command as a module of its own. It alone needs Qt GUI (pictures are decoded, drawn
// and encoded), which takes as long to load as listing a large library: the program loads this
// module only for extract, and starts on Qt Core alone for everything else.
#include "cli/CliCommands.h"

#include <QGuiApplication>
#include <memory>

extern "C" __attribute__((visibility("default"))) int
ZorvikaCliExtract(int &argc, char **argv, const CliRequest &request, const CliStreams &streams) {
    // Pictures need the application object of Qt GUI; with no display they are drawn off screen.
    std::unique_ptr<QCoreApplication> app;
    if (NeedsPictures(request)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return ExtractCommand(request, streams);
}
