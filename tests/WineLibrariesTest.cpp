// Every Windows library that Wine installs, listed through the resource tree and compared line by
// line with what wrestool (icoutils) reports for the same file.
#include "TreeNodes.h"
#include "Wrestool.h"
#include "decoders/ResourceAccess.h"
#include "resources/IdentifierStrings.h"

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
        const auto module = ModuleCatalogue::Open(path);
        ASSERT_NE(module, nullptr) << file.toStdString();
        ResourceTreeModel tree;
        tree.Show(module, path, file);
        const QModelIndex root = tree.Root();
        std::size_t at = 0;
        for (int t = 0; t < Rows(root); ++t) {
            const QModelIndex typeNode = Child(root, t);
            tree.Expand(typeNode);
            const bool integerType = !Key(typeNode).isEmpty();
            const QString type = integerType ? Key(typeNode).mid(1) : Text(typeNode);
            for (int n = 0; n < Rows(typeNode); ++n) {
                const QString nameText = Text(Child(typeNode, n));
                const ResourceEntry entry = *tree.EntryOf(Child(typeNode, n));
                const bool integerName = entry.name.isNumber();
                const QString name = NameString(entry.name);
                const auto languages = module->Languages(entry);
                ASSERT_FALSE(languages.empty()) << file.toStdString();
                std::vector<int> sizes, listed;
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
                    listed.push_back(want.language);
                }
                // The tree's node reaches the language the program prefers.
                const auto shown =
                    std::find(listed.begin(), listed.end(), ShownLanguage(listed)) - listed.begin();
                ASSERT_EQ(GetResourceSize(*module, entry), sizes[static_cast<std::size_t>(shown)])
                    << (file + QLatin1Char(' ') + type + QLatin1Char(' ') + name).toStdString();
                ++resources;
            }
        }
        EXPECT_EQ(at, expected.size()) << file.toStdString();
        ++compared;
    }
    std::printf("[ compared %d libraries, %d resources ]\n", compared, resources);
    EXPECT_GT(compared, 300);
}
