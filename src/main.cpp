#include "about/ProgramResources.h"
#include "app/FrmMain.h"
#include "app/QtUi.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <fontconfig/fontconfig.h>
#include <thread>

int main(int argc, char *argv[]) {
    // Reading the font configuration is the largest single step before the first frame; it runs
    // beside the start of the application, so that the window mostly finds it done.
    std::thread fontConfiguration([] { FcInit(); });
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvika"));
    // The desktop entry the window belongs to: Wayland desktops take its name and icon from there.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Zorvika"));
    // Qt's own texts (dialog buttons, file dialog) in Russian, like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // Qt's icon loader asks every image format plug-in installed whether it reads PNG better than
    // Qt itself, loading all of them (a tenth of the start-up) for icons that Qt reads anyway. The
    // window is built with the plug-in folders out of sight; they are back before anything that
    // could need a plug-in is read.
    const QStringList pluginFolders = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    InitProgramResources();
    QIcon icon;
    for (const char *size : {"16", "32", "48"})
        icon.addFile(QStringLiteral(":/zorvika/icon%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);

    FrmMain *window = nullptr;
    QtUi ui([&window]() -> QWidget * { return window; });
    window = new FrmMain(ui, QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    QCoreApplication::setLibraryPaths(pluginFolders);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->Load();
    window->show();
    const int exitCode = QApplication::exec();
    fontConfiguration.join();
    return exitCode;
}
