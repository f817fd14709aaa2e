// The module catalogue as a front end without widgets uses it: opened and listed in a plain
// QCoreApplication, lookups by identifier strings and by exact entry, and files that are no module.
#include "../Fixtures.h"
#include "decoders/ResourceAccess.h"
#include "decoders/ViewChoice.h"
#include "resources/IdentifierStrings.h"
#include "resources/ModuleCatalogue.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
QString Text(const std::optional<ResourceBytes> &bytes) {
    if (!bytes) return QStringLiteral("<none>");
    return QString::fromLatin1(reinterpret_cast<const char *>(bytes->data()),
                               static_cast<qsizetype>(bytes->size()));
}

// One line per name: type string, name string, languages and the size of the chosen language.
QStringList Listing(const ModuleCatalogue &module) {
    QStringList lines;
    for (const ResourceId &type : module.Types())
        for (const ResourceId &name : module.Names(type)) {
            QStringList languages;
            for (std::uint16_t language : module.Languages({type, name}))
                languages << QString::number(language, 16);
            lines << QStringLiteral("%1 %2 [%3] %4")
                         .arg(TypeString(type), NameString(name), languages.join(QLatin1Char(',')))
                         .arg(module.Size({type, name}).value_or(0));
        }
    return lines;
}
} // namespace

TEST(Catalogue, ListsAFixtureWithoutAnyGuiApplication) {
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(qobject_cast<QGuiApplication *>(QCoreApplication::instance()), nullptr);
    for (const char *bits : {"32", "64"}) {
        const auto module =
            ModuleCatalogue::Open(FixturePath(QStringLiteral("tree%1.dll").arg(QLatin1String(bits))));
        ASSERT_NE(module, nullptr) << bits;
        EXPECT_EQ(Listing(*module), (QStringList{
                                        QStringLiteral("MYTYPE ALPHA [409] 5"),
                                        QStringLiteral("MYTYPE #7 [409] 5"),
                                        QStringLiteral("MYTYPE2 BETA [409] 4"),
                                        QStringLiteral("6 #1 [409] 42"),
                                        QStringLiteral("6 #2 [409] 50"),
                                        QStringLiteral("10 EMPTY [409] 0"),
                                        QStringLiteral("10 ONEBYTE [409] 1"),
                                        QStringLiteral("10 #101 [409,419] 7"),
                                        QStringLiteral("10 #102 [407,40c] 6"),
                                        QStringLiteral("10 #123 [409] 4"),
                                        QStringLiteral("23 INDEX.HTM [409] 25"),
                                        QStringLiteral("23 #5 [409] 8"),
                                        QStringLiteral("240 #1 [409] 19"),
                                    }))
            << bits;
    }
}

TEST(Catalogue, DigitNamesReachTheirOwnEntry) {
    const auto module = ModuleCatalogue::Open(FixturePath(QStringLiteral("digits64.dll")));
    ASSERT_NE(module, nullptr);
    const ResourceId rcdata = ResourceId::fromNumber(10);
    // By exact entry, the string "77" and the integer 77 are two resources...
    EXPECT_EQ(Text(module->Bytes({rcdata, ResourceId::fromName(QStringLiteral("77"))})),
              QStringLiteral("string 77"));
    EXPECT_EQ(Text(module->Bytes({rcdata, ResourceId::fromNumber(77)})), QStringLiteral("integer 77"));
    // ...while both name strings are "#77", which looks up the integer one, as the platform does.
    EXPECT_EQ(NameString(ResourceId::fromName(QStringLiteral("77"))), QStringLiteral("#77"));
    EXPECT_EQ(ResourceId::fromString(QStringLiteral("#77")), ResourceId::fromNumber(77));
    // The group named "0" holds its bytes, though "#0" names no resource at all.
    const ResourceEntry group{ResourceId::fromNumber(14), ResourceId::fromName(QStringLiteral("0"))};
    EXPECT_GT(GetResourceSize(*module, group), 0);
    EXPECT_FALSE(module->Size({ResourceId::fromNumber(14), ResourceId::fromString(QStringLiteral("#0"))}));
    EXPECT_EQ(ViewText(ResourceView::HexDump, *module, {rcdata, ResourceId::fromName(QStringLiteral("77"))})
                  .left(38),
              QStringLiteral("00000000:  73 74 72 69 6E 67 20 37 37 "));
}

TEST(Catalogue, OpensOnlyRegularModuleFiles) {
    TempFiles files;
    const QString fifo = files.path() + QStringLiteral("/pipe.dll");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A pipe nobody writes to would block a plain open; it is refused at once, like a folder.
    EXPECT_EQ(ModuleCatalogue::Open(fifo), nullptr);
    EXPECT_EQ(ModuleCatalogue::Open(files.path()), nullptr);
    EXPECT_EQ(ModuleCatalogue::Open(files.Write(QStringLiteral("notes.txt"), "not a module\n")), nullptr);
    EXPECT_EQ(ModuleCatalogue::Open(files.path() + QStringLiteral("/missing.dll")), nullptr);
    // The empty catalogue stands in where nothing is open.
    EXPECT_TRUE(ModuleCatalogue::Empty().Types().empty());
    EXPECT_FALSE(ModuleCatalogue::Empty().Bytes({ResourceId::fromNumber(10), ResourceId::fromNumber(101)}));
}
