// Every Windows library that Wine installs, listed through the resource tree and compared line by
// line with what wrestool (icoutils) reports for the same file.
#include "Wrestool.h"
#include "decoders/ResourceAccess.h"
#include "pe/ResourceLanguage.h"
#include "resources/Module.h"
#include "resources/tree/ResourceTree.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(WineLibraries, TreeAndSizesMatchWrestool) {
    const QStringList files = QDir(kWineDir).entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) GTEST_SKIP() << "Wine's libraries are not installed";
    int compared = 0, resources = 0;
    for (const QString &file : files) {
        const QString path = kWineDir + QLatin1Char('/') + file;
        const std::vector<WrestoolListed> expected = WrestoolList(path);
        if (expected.empty()) continue;
        QStandardItemModel tree;
        QStandardItem *root = OpenResourceFile(tree, path, file);
        ASSERT_NE(ModuleHandle(), nullptr) << file.toStdString();
        std::size_t at = 0;
        for (int t = 0; t < root->rowCount(); ++t) {
            QStandardItem *typeNode = root->child(t);
            ExpandNode(tree, typeNode);
            const bool integerType = !NodeKey(typeNode).isEmpty();
            const QString type = TypeString(typeNode);
            for (int n = 0; n < typeNode->rowCount(); ++n) {
                const QString name = NameString(typeNode->child(n));
                const QString nameText = typeNode->child(n)->text();
                const bool integerName = name.startsWith(QLatin1Char('#'));
                const ResourceId typeId =
                    integerType ? ResourceId::fromNumber(static_cast<std::uint16_t>(type.toUInt()))
                                : ResourceId::fromName(type);
                const ResourceId nameId =
                    integerName ? ResourceId::fromNumber(static_cast<std::uint16_t>(nameText.toUInt()))
                                : ResourceId::fromName(nameText);
                const auto languages = ModuleHandle()->Languages({typeId, nameId});
                ASSERT_FALSE(languages.empty()) << file.toStdString();
                std::vector<int> sizes;
                for (const std::uint16_t language : languages) {
                    ASSERT_LT(at, expected.size()) << file.toStdString();
                    const WrestoolListed &want = expected[at++];
                    const QString where = file + QLatin1Char(' ') + want.type + QLatin1Char(' ') + want.name;
                    ASSERT_EQ(WrestoolSpelling(type, integerType), want.type) << where.toStdString();
                    // wrestool prints the type's name in place of a name under a named type.
                    if (integerType || integerName || want.name != want.type) {
                        ASSERT_EQ(WrestoolSpelling(nameText, integerName), want.name) << where.toStdString();
                    }
                    ASSERT_EQ(language, want.language) << where.toStdString();
                    sizes.push_back(want.size);
                }
                // The tree's lookup takes the language the program prefers.
                ASSERT_EQ(GetResourceSize(type, name), sizes[PreferredLanguageIndex(languages)])
                    << (file + QLatin1Char(' ') + type + QLatin1Char(' ') + name).toStdString();
                ++resources;
            }
        }
        EXPECT_EQ(at, expected.size()) << file.toStdString();
        ReleaseModule();
        ++compared;
    }
    std::printf("[ compared %d libraries, %d resources ]\n", compared, resources);
    EXPECT_GT(compared, 300);
}
