// A save that fails says why, on the last line of its message, in the words zorvika-cli uses for the
// same failure: the system's errors in the program's language, whatever the locale.
#include "CliRun.h"
#include "MainWindowHarness.h"
#include "SmallDisk.h"
#include "system/SystemErrorText.h"

#include <QRegularExpression>
#include <QSet>
#include <cerrno>
#include <gtest/gtest.h>

namespace {
const QString kLines =
    QStringLiteral("\r\nНевозможно сохранить ресурс.\r\nПри сохранении произошла неизвестная ошибка!");

// The message of one save of `node` to `target` through the menu command; empty when none came.
QString SaveMessage(MainWindowHarness &h, const QModelIndex &node, const QString &target) {
    h.window->NodeClick(node);
    h.ui.messages.clear();
    h.ui.saveAnswers.push_back(target);
    h.window->MnuSaveResource_Click();
    return h.ui.messages.size() == 1 ? h.ui.messages[0].text : QString();
}
} // namespace

TEST(SystemErrorText, TheErrorsOfWritesAreWordedInTheProgramsLanguage) {
    const int worded[] = {ENOSPC,  EDQUOT, EACCES,       EPERM,  EROFS, EFBIG,   ENOENT,
                          ENOTDIR, EISDIR, ENAMETOOLONG, ELOOP,  EIO,   ETXTBSY, EEXIST,
                          EXDEV,   EMFILE, ENFILE,       ENOMEM, EPIPE};
    QSet<QString> texts;
    for (const int error : worded) {
        const QString text = SystemErrorText(error);
        // Our words, not the C library's English of the C locale, and no number.
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^[А-Яа-яЁё][А-Яа-яЁё -]+$"))))
            << error << " " << text.toStdString();
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), qsizetype{std::size(worded)}); // no two read alike
    // Any other error: the library's text, with its number.
    EXPECT_TRUE(SystemErrorText(ESTALE).contains(
        QRegularExpression(QStringLiteral(".. \\(ошибка %1\\)$").arg(ESTALE))))
        << SystemErrorText(ESTALE).toStdString();
}

TEST(SaveFailureReasons, AnEmptyResourceSaysItHasNoData) {
    MainWindowHarness h(QString(), QStringLiteral("tree32.dll"));
    h.window->Load();
    TempFiles out;
    const QString target = out.path() + QStringLiteral("/empty.bin");
    EXPECT_EQ(SaveMessage(h,
                          h.Name(QStringLiteral("Определяемый приложением ресурс"), QStringLiteral("EMPTY")),
                          target),
              target + kLines + QStringLiteral("\r\nРесурс не содержит данных"));
}

TEST(SaveFailureReasons, AFullDiskIsNamedAsTheCommandLineNamesIt) {
    TempFiles base;
    const QString disk = base.path() + QStringLiteral("/disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    const SmallDisk small(QFile::encodeName(disk));
    if (!small.mounted()) GTEST_SKIP() << "no mount namespace here";
    // A bitmap of 1.8 MB on a disk of 64 KiB.
    MainWindowHarness h(QString(), QStringLiteral("pictures64.dll"));
    h.window->Load();
    const QString target = disk + QStringLiteral("/big.bmp");
    const QString message =
        SaveMessage(h, h.Name(QStringLiteral("Точечный рисунок"), QStringLiteral("BIG")), target);
    EXPECT_EQ(message, target + kLines + QStringLiteral("\r\nНет места на устройстве"));
    // No partial file, no temporary one.
    EXPECT_TRUE(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

    const CliRun cli = RunCliHere({QStringLiteral("extract"), FixturePath(QStringLiteral("pictures64.dll")),
                                   QStringLiteral("-t2"), QStringLiteral("-nBIG"), QStringLiteral("-o"),
                                   disk + QStringLiteral("/out")});
    EXPECT_EQ(cli.status, 1);
    const QString reason = message.section(QStringLiteral("\r\n"), -1);
    EXPECT_TRUE(QString::fromUtf8(cli.err).endsWith(QStringLiteral(": ") + reason + QLatin1Char('\n')))
        << cli.err.toStdString();
}
