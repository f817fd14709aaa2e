// The resource tree and raw access over the tree fixture: node keys, texts and images, lazy
// listing of names, identifier strings, and the lookups that follow them.
#include "resources/tree/ResourceTree.h"
#include "Fixtures.h"
#include "decoders/ResourceAccess.h"
#include "resources/Module.h"
#include "resources/ResTypeDescription.h"
#include "resources/TextHelpers.h"

#include <gtest/gtest.h>

namespace {
// One line per node: depth, key, text and images, as the tree holds them.
QStringList Dump(const QStandardItem *node, int depth = 0) {
    QStringList lines{QStringLiteral("%1%2|%3|%4/%5")
                          .arg(QString(depth * 2, QLatin1Char(' ')), NodeKey(node), node->text())
                          .arg(node->data(TreeRole::Image).toInt())
                          .arg(node->data(TreeRole::SelectedImage).toInt())};
    for (int i = 0; i < node->rowCount(); ++i)
        lines << Dump(node->child(i), depth + 1);
    return lines;
}

QStandardItem *TypeNode(QStandardItemModel &tree, const QString &text) {
    QStandardItem *root = tree.item(0);
    for (int i = 0; i < root->rowCount(); ++i)
        if (root->child(i)->text() == text) return root->child(i);
    return nullptr;
}

QString Text(const std::optional<ResourceBytes> &bytes) {
    if (!bytes) return QStringLiteral("<none>");
    return QString::fromLatin1(reinterpret_cast<const char *>(bytes->data()),
                               static_cast<qsizetype>(bytes->size()));
}

class ResourceTreeTest : public testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        path = FixturePath(QStringLiteral("tree%1.dll").arg(QLatin1String(GetParam())));
        root = OpenResourceFile(tree, path, QStringLiteral("tree.dll"));
    }
    void TearDown() override { ReleaseModule(); }
    QStandardItemModel tree;
    QString path;
    QStandardItem *root = nullptr;
};
} // namespace

TEST_P(ResourceTreeTest, RootAndTypesWithPlaceholders) {
    const QString placeholder = QStringLiteral("    |Dummy|0/0");
    EXPECT_EQ(Dump(root), (QStringList{
                              path + QStringLiteral("|tree.dll|1/1"),
                              QStringLiteral("  |MYTYPE|2/3"),
                              placeholder,
                              QStringLiteral("  |MYTYPE2|2/3"),
                              placeholder,
                              QStringLiteral("  #6|Таблица строк|2/3"),
                              placeholder,
                              QStringLiteral("  #10|Определяемый приложением ресурс|2/3"),
                              placeholder,
                              QStringLiteral("  #23|HTML документ|2/3"),
                              placeholder,
                              QStringLiteral("  #240|Определяемый пользователем ресурс|2/3"),
                              placeholder,
                          }));
}

TEST_P(ResourceTreeTest, NamesAreListedOnFirstExpansionOnly) {
    QStandardItem *rcdata = TypeNode(tree, QStringLiteral("Определяемый приложением ресурс"));
    ASSERT_NE(rcdata, nullptr);
    ExpandNode(tree, rcdata);
    QStringList names;
    for (int i = 0; i < rcdata->rowCount(); ++i)
        names << Dump(rcdata->child(i)).constFirst();
    EXPECT_EQ(names, (QStringList{QStringLiteral("|EMPTY|4/4"), QStringLiteral("|ONEBYTE|4/4"),
                                  QStringLiteral("|101|4/4"), QStringLiteral("|102|4/4"),
                                  QStringLiteral("|123|4/4")}));
    // A second expansion adds nothing; the root's expansion changes nothing.
    ExpandNode(tree, rcdata);
    ExpandNode(tree, root);
    EXPECT_EQ(rcdata->rowCount(), 5);
    EXPECT_EQ(root->rowCount(), 6);

    // A named type is enumerated by its name.
    QStandardItem *named = TypeNode(tree, QStringLiteral("MYTYPE"));
    ExpandNode(tree, named);
    ASSERT_EQ(named->rowCount(), 2);
    EXPECT_EQ(named->child(0)->text(), QStringLiteral("ALPHA"));
    EXPECT_EQ(named->child(1)->text(), QStringLiteral("7"));
}

TEST_P(ResourceTreeTest, IdentifierStringsAndLookups) {
    QStandardItem *rcdata = TypeNode(tree, QStringLiteral("Определяемый приложением ресурс"));
    ExpandNode(tree, rcdata);
    EXPECT_EQ(TypeString(rcdata), QStringLiteral("10"));
    EXPECT_EQ(NameString(rcdata->child(2)), QStringLiteral("#101"));
    EXPECT_EQ(NameString(rcdata->child(1)), QStringLiteral("ONEBYTE"));
    QStandardItem *named = TypeNode(tree, QStringLiteral("MYTYPE"));
    EXPECT_EQ(TypeString(named), QStringLiteral("MYTYPE"));

    EXPECT_EQ(Text(GetResourceBytes(QStringLiteral("10"), QStringLiteral("#101"))),
              QStringLiteral("russian"));
    EXPECT_EQ(Text(GetResourceBytes(QStringLiteral("mytype"), QStringLiteral("alpha"))),
              QStringLiteral("alpha"));
    EXPECT_EQ(Text(GetResourceBytes(QStringLiteral("MYTYPE"), QStringLiteral("#7"))),
              QStringLiteral("seven"));
    EXPECT_EQ(GetResourceSize(QStringLiteral("240"), QStringLiteral("#1")), 19);
    // One byte: an array of exactly one element.
    ASSERT_TRUE(GetResourceBytes(QStringLiteral("10"), QStringLiteral("ONEBYTE")));
    EXPECT_EQ(GetResourceBytes(QStringLiteral("10"), QStringLiteral("ONEBYTE"))->size(), 1u);
    // Missing and empty resources: no array, size 0 for the missing one.
    EXPECT_FALSE(GetResourceBytes(QStringLiteral("10"), QStringLiteral("EMPTY")));
    EXPECT_EQ(GetResourceSize(QStringLiteral("10"), QStringLiteral("EMPTY")), 0);
    EXPECT_FALSE(GetResourceBytes(QStringLiteral("10"), QStringLiteral("#999")));
    EXPECT_EQ(GetResourceSize(QStringLiteral("10"), QStringLiteral("#999")), 0);
    EXPECT_EQ(GetResourceSize(QStringLiteral("NOTYPE"), QStringLiteral("#1")), 0);
    // A number beyond 16 bits is never an integer identifier.
    EXPECT_EQ(GetResourceSize(QStringLiteral("65546"), QStringLiteral("#1")), 0);
    EXPECT_EQ(GetResourceSize(QStringLiteral("10"), QStringLiteral("#65637")), 0);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, ResourceTreeTest, testing::Values("32", "64"));

TEST(ResourceTreeFiles, UnloadableFilesShowTheRootAlone) {
    TempFiles files;
    QStandardItemModel tree;
    const QString text = files.Write(QStringLiteral("notes.txt"), "plain text, not a module\n");
    QStandardItem *root = OpenResourceFile(tree, text, QStringLiteral("notes.txt"));
    EXPECT_EQ(ModuleHandle(), nullptr);
    EXPECT_EQ(tree.rowCount(), 1);
    EXPECT_EQ(root->rowCount(), 0);
    EXPECT_EQ(root->text(), QStringLiteral("notes.txt"));
    EXPECT_EQ(NodeKey(root), text);
    EXPECT_EQ(GetResourceSize(QStringLiteral("10"), QStringLiteral("#101")), 0);

    // A second file replaces the first completely.
    OpenResourceFile(tree, FixturePath(QStringLiteral("tree32.dll")), QStringLiteral("tree32.dll"));
    ReleaseModule();
    OpenResourceFile(tree, FixturePath(QStringLiteral("tree64.dll")), QStringLiteral("tree64.dll"));
    EXPECT_EQ(tree.rowCount(), 1);
    EXPECT_EQ(tree.item(0)->text(), QStringLiteral("tree64.dll"));
    EXPECT_TRUE(ModuleHandle()->isPe32Plus());
    ReleaseModule();
    EXPECT_EQ(ModuleHandle(), nullptr);
}

TEST(ResourceTreeFiles, AResourceNamedLikeThePlaceholderIsNotTakenForIt) {
    QStandardItemModel tree;
    QStandardItem *root = tree.invisibleRootItem();
    auto *type = new QStandardItem(QStringLiteral("X"));
    auto *real = new QStandardItem(kPlaceholderText); // a name node, not the placeholder
    type->appendRow(real);
    root->appendRow(type);
    ExpandNode(tree, type);
    EXPECT_EQ(type->rowCount(), 1);
    EXPECT_EQ(type->child(0), real);
}

TEST(TypeCatalogue, DescriptionsAndFallback) {
    EXPECT_EQ(ResTypeDescription(9), QStringLiteral("Таблица ассоциаций"));
    EXPECT_EQ(ResTypeDescription(10), QStringLiteral("Определяемый приложением ресурс"));
    EXPECT_EQ(ResTypeDescription(17),
              QStringLiteral("Файл, который содержит определения меню и диалоговых окон"));
    EXPECT_EQ(ResTypeDescription(23), QStringLiteral("HTML документ"));
    for (std::uint32_t fallback : {0u, 13u, 15u, 18u, 24u, 240u, 0xFFFFFFFFu})
        EXPECT_EQ(ResTypeDescription(fallback), QStringLiteral("Определяемый пользователем ресурс"))
            << fallback;
}

TEST(TextHelpers, TrimAtNulAndNumbers) {
    EXPECT_EQ(TrimAtNul(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")), QStringLiteral("ab"));
    EXPECT_EQ(TrimAtNul(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_TRUE(ReadsAsNumber(QStringLiteral("0123")));
    for (const char *name : {"", "12A", "-5", " 7", "1e3", "#5"})
        EXPECT_FALSE(ReadsAsNumber(QLatin1String(name))) << name;
    EXPECT_EQ(NumberValue(QStringLiteral("4294967295")), 4294967295u);
    EXPECT_FALSE(NumberValue(QStringLiteral("4294967296")));
}
