#include "system/ProgramModules.h"

#include <QDir>
#include <QFileInfo>

QString ProgramModulePath(const QString &fileName) {
    // The kernel's name of the running file: links resolved, whatever argv[0] said.
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    const QString folder = QFileInfo(program).path();
    // ZORVIKA_MODULES_FROM_BIN: the module folder relative to bin/, fixed when the build was set up.
    const QString installed =
        QDir::cleanPath(folder + QStringLiteral("/" ZORVIKA_MODULES_FROM_BIN "/") + fileName);
    if (QFileInfo(installed).isFile()) return installed;
    return folder + QLatin1Char('/') + fileName;
}
