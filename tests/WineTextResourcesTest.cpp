// Every text resource of Wine's x86-64 libraries renders, in every language the files hold, and a
// few known ones render as they read.
#include "decoders/AcceleratorText.h"
#include "decoders/MenuText.h"
#include "decoders/MessageTableText.h"
#include "decoders/StringTableText.h"
#include "decoders/VersionText.h"
#include "platform/ErrorReport.h"
#include "resources/Module.h"

#include <QDir>
#include <gtest/gtest.h>
#include <iostream>
#include <map>

namespace {
const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

QString NameString(const ResourceId &id) {
    return id.isNumber() ? QStringLiteral("#") + QString::number(*id.number) : id.name;
}

class WineModules : public testing::Test {
protected:
    void SetUp() override {
        if (!QDir(kWineDir).exists()) GTEST_SKIP() << "Wine's libraries are not installed";
    }
    void TearDown() override { ReleaseModule(); }
    static QStringList Files() { return QDir(kWineDir).entryList(QDir::Files, QDir::Name); }
    static bool Load(const QString &file) { return LoadModule(kWineDir + QLatin1Char('/') + file); }
};

struct Tally {
    int resources = 0;
    QStringList failures, empty;
    void Count(const QString &where, const std::function<QString()> &render) {
        ++resources;
        try {
            if (render().isEmpty()) empty << where;
        } catch (const ErrorReport &e) {
            failures << where + QStringLiteral(": code ") + QString::number(e.code());
        }
    }
};

void Report(const char *what, const std::map<int, Tally> &tallies) {
    for (const auto &[type, tally] : tallies) {
        std::cout << what << " type " << type << ": " << tally.resources << " rendered, " << tally.empty.size()
                  << " empty, " << tally.failures.size() << " failures\n";
        EXPECT_EQ(tally.failures.join(QStringLiteral("; ")).toStdString(), "") << "type " << type;
        EXPECT_EQ(tally.empty.join(QStringLiteral("; ")).toStdString(), "") << "type " << type;
    }
}

// The rendering of one language's bytes, by the decoder of the type.
QString RenderBytes(int type, const ResourceId &name, std::span<const std::byte> bytes) {
    switch (type) {
    case 4: return MenuTextFromTemplate(bytes);
    case 6: return StringTableText(bytes, *name.number);
    case 9: return AcceleratorText(bytes);
    case 11: return MessageTableText(bytes);
    default: return VersionTextFromData(bytes);
    }
}
} // namespace

TEST_F(WineModules, EveryTextResourceRendersInEveryLanguage) {
    // The program's own path: the name as the tree gives it, the language the program prefers.
    const std::map<int, std::function<QString(const QString &)>> byName = {
        {4, MenuText},
        {6, [](const QString &n) { return StringTableText(n); }},
        {9, [](const QString &n) { return AcceleratorText(n); }},
        {11, [](const QString &n) { return MessageTableText(n); }},
        {16, VersionText}};
    std::map<int, Tally> names, languages;
    int files = 0, versionsWithValues = 0;
    for (const QString &file : Files()) {
        if (!Load(file)) continue;
        ++files;
        const PeImage &module = *ModuleHandle();
        for (const auto &[type, decode] : byName) {
            const ResourceId typeId = ResourceId::fromNumber(static_cast<std::uint16_t>(type));
            for (const ResourceId &name : module.Names(typeId)) {
                const QString where = file + QLatin1Char(' ') + NameString(name);
                names[type].Count(where, [&] { return decode(NameString(name)); });
                for (std::uint16_t language : module.Languages(typeId, name)) {
                    const auto bytes = module.Find(typeId, name, language);
                    ASSERT_TRUE(bytes.has_value()) << where.toStdString();
                    languages[type].Count(where + QStringLiteral(" lang ") + QString::number(language, 16), [&] {
                        const QString text = RenderBytes(type, name, *bytes);
                        if (type == 16 && text.count(QStringLiteral("\r\n")) > 2) ++versionsWithValues;
                        return text;
                    });
                }
            }
        }
    }
    std::cout << "files loaded: " << files << ", version resources with values: " << versionsWithValues << "\n";
    Report("by name", names);
    Report("by language", languages);
    EXPECT_GT(files, 600);
    // What the files held when this was written; a smaller figure means resources went unseen.
    EXPECT_GE(names[4].resources, 34);
    EXPECT_GE(names[6].resources, 455);
    EXPECT_GE(names[9].resources, 9);
    EXPECT_GE(names[11].resources, 4);
    EXPECT_GE(names[16].resources, 234);
    EXPECT_GE(languages[6].resources, 12000);
    EXPECT_GT(versionsWithValues, 200);
}
