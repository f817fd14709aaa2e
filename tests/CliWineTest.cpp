// zorvika-cli over every Windows library that Wine installs: list agrees with `wrestool -l` (types,
// names, languages, the size of the language the program shows), and extract --raw writes exactly
// the bytes `wrestool -x --raw` gives for that language.
#include "CliRun.h"
#include "Fixtures.h"
#include "Wrestool.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {
QString Spelled(const QJsonObject &r, const char *key) {
    const QJsonValue id = r[QLatin1String(key) + QStringLiteral("Id")];
    return id.isNull() ? WrestoolSpelling(r[QLatin1String(key) + QStringLiteral("Name")].toString(), false)
                       : QString::number(id.toInt());
}
} // namespace

TEST(CliWine, ListAndRawExtractionMatchWrestool) {
    const QStringList files = QDir(kWineDir).entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) GTEST_SKIP() << "Wine's libraries are not installed";
    int compared = 0, resources = 0;
    for (const QString &file : files) {
        const QString path = kWineDir + QLatin1Char('/') + file;
        // Both runs of wrestool at once: its raw extraction is every resource in listing order.
        QProcess listing, extraction;
        listing.start(QStringLiteral("wrestool"), {QStringLiteral("-l"), path});
        extraction.start(QStringLiteral("wrestool"), {QStringLiteral("-x"), QStringLiteral("--raw"), path});
        extraction.setReadChannel(QProcess::StandardOutput);
        QByteArray raw;
        while (extraction.state() != QProcess::NotRunning) {
            extraction.waitForReadyRead(30000);
            raw += extraction.readAllStandardOutput();
        }
        raw += extraction.readAllStandardOutput();
        listing.waitForFinished(30000);
        const std::vector<WrestoolListed> expected = ParseWrestoolList(listing.readAllStandardOutput());
        if (expected.empty()) continue;
        const std::string where = file.toStdString();

        const CliRun list = RunCliHere({QStringLiteral("list"), QStringLiteral("--json"), path});
        ASSERT_EQ(list.status, 0) << where << list.err.toStdString();
        const QJsonArray listed = QJsonDocument::fromJson(list.out)[QStringLiteral("resources")].toArray();
        TempFiles out;
        const CliRun extract = RunCliHere(
            {QStringLiteral("extract"), path, QStringLiteral("--raw"), QStringLiteral("-o"), out.path()});
        ASSERT_EQ(extract.status, 0) << where << extract.err.toStdString();
        const QList<QByteArray> written = extract.out.split('\n').mid(0, listed.size());
        ASSERT_EQ(written.size(), listed.size()) << where;

        std::size_t line = 0;
        qsizetype offset = 0;
        for (qsizetype i = 0; i < listed.size(); ++i) {
            const QJsonObject r = listed[i].toObject();
            const QString type = Spelled(r, "type"), name = Spelled(r, "name");
            const std::string what = where + ' ' + type.toStdString() + ' ' + name.toStdString();
            QByteArray chosen;
            bool found = false;
            for (const QJsonValue language : r[QStringLiteral("languages")].toArray()) {
                ASSERT_LT(line, expected.size()) << what;
                const WrestoolListed &want = expected[line++];
                ASSERT_EQ(type, want.type) << what;
                // wrestool prints the type's name in place of a name under a named type.
                if (!r[QStringLiteral("typeId")].isNull() || !r[QStringLiteral("nameId")].isNull() ||
                    want.name != want.type) {
                    ASSERT_EQ(name, want.name) << what;
                }
                ASSERT_EQ(language.toInt(), want.language) << what;
                if (language == r[QStringLiteral("language")]) {
                    ASSERT_EQ(r[QStringLiteral("size")].toInt(), want.size) << what;
                    chosen = raw.mid(offset, want.size);
                    found = true;
                }
                offset += want.size;
            }
            ASSERT_TRUE(found) << what;
            EXPECT_EQ(ReadFileBytes(QString::fromUtf8(written[i])), chosen) << what;
            ++resources;
        }
        EXPECT_EQ(line, expected.size()) << where;
        EXPECT_EQ(offset, raw.size()) << where;
        ++compared;
    }
    std::printf("[ compared %d libraries, %d resources ]\n", compared, resources);
    EXPECT_GT(compared, 300);
}
