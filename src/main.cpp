#include "about/ProgramResources.h"
#include "app/FrmMain.h"
#include "app/QtUi.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvika"));
    // Qt's own texts (dialog buttons, file dialog) in Russian, like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    InitProgramResources();
    QIcon icon;
    for (const char *size : {"16", "32", "48"})
        icon.addFile(QStringLiteral(":/zorvika/icon%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);

    FrmMain *window = nullptr;
    QtUi ui([&window]() -> QWidget * { return window; });
    window = new FrmMain(ui, QApplication::arguments().mid(1).join(QLatin1Char(' ')));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->Load();
    window->show();
    return QApplication::exec();
}
