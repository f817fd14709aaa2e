// The resource tree's model over the tree fixture: node keys, texts and icons, lazy listing of
// names, the entry each node stands for, and the lookups of identifier strings.
#include "OpenedModule.h"
#include "TreeNodes.h"
#include "decoders/ResourceAccess.h"
#include "resources/IdentifierStrings.h"
#include "resources/ResTypeDescription.h"
#include "resources/tree/TreeImages.h"

#include <gtest/gtest.h>

namespace {
// The number of the tree image a node's icon shows in `mode`; 0 for no icon.
int ImageOf(const QModelIndex &node, QIcon::Mode mode) {
    const QIcon icon = node.data(Qt::DecorationRole).value<QIcon>();
    if (icon.isNull()) return 0;
    const QImage shown =
        icon.pixmap(QSize(16, 16), mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int image = 1; image <= 4; ++image)
        if (shown == ILResourcesImage(image).convertToFormat(QImage::Format_ARGB32_Premultiplied))
            return image;
    return -1;
}

// One line per node: depth, key, text and images, as the tree shows them.
QStringList Dump(const QModelIndex &node, int depth = 0) {
    QStringList lines{QStringLiteral("%1%2|%3|%4/%5")
                          .arg(QString(depth * 2, QLatin1Char(' ')), Key(node), Text(node))
                          .arg(ImageOf(node, QIcon::Normal))
                          .arg(ImageOf(node, QIcon::Selected))};
    for (int i = 0; i < Rows(node); ++i)
        lines << Dump(Child(node, i), depth + 1);
    return lines;
}

QString BytesText(const std::optional<ResourceBytes> &bytes) {
    if (!bytes) return QStringLiteral("<none>");
    return QString::fromLatin1(reinterpret_cast<const char *>(bytes->data()),
                               static_cast<qsizetype>(bytes->size()));
}

class ResourceTreeTest : public testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.loaded());
        tree.Show(ModuleCatalogue::Open(path), path, QStringLiteral("tree.dll"));
        root = tree.Root();
    }
    QModelIndex TypeNode(const QString &text) const {
        for (int i = 0; i < Rows(root); ++i)
            if (Text(Child(root, i)) == text) return Child(root, i);
        return {};
    }
    std::optional<ResourceBytes> Bytes(const QString &type, const QString &name) const {
        return GetResourceBytes(module, module.Entry(type, name));
    }
    std::int32_t Size(const QString &type, const QString &name) const {
        return GetResourceSize(module, module.Entry(type, name));
    }
    const QString path = FixturePath(QStringLiteral("tree%1.dll").arg(QLatin1String(GetParam())));
    OpenedModule module{path};
    ResourceTreeModel tree;
    QModelIndex root;
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
    QModelIndex rcdata = TypeNode(QStringLiteral("Определяемый приложением ресурс"));
    ASSERT_TRUE(rcdata.isValid());
    tree.Expand(rcdata);
    QStringList names;
    for (int i = 0; i < Rows(rcdata); ++i)
        names << Dump(Child(rcdata, i)).constFirst();
    EXPECT_EQ(names, (QStringList{QStringLiteral("|EMPTY|4/4"), QStringLiteral("|ONEBYTE|4/4"),
                                  QStringLiteral("|101|4/4"), QStringLiteral("|102|4/4"),
                                  QStringLiteral("|123|4/4")}));
    // A second expansion adds nothing; the root's expansion changes nothing.
    tree.Expand(rcdata);
    tree.Expand(root);
    EXPECT_EQ(Rows(rcdata), 5);
    EXPECT_EQ(Rows(root), 6);

    // A named type is enumerated by its name.
    QModelIndex named = TypeNode(QStringLiteral("MYTYPE"));
    tree.Expand(named);
    ASSERT_EQ(Rows(named), 2);
    EXPECT_EQ(Text(Child(named, 0)), QStringLiteral("ALPHA"));
    EXPECT_EQ(Text(Child(named, 1)), QStringLiteral("7"));
}

TEST_P(ResourceTreeTest, IdentifierStringsAndLookups) {
    QModelIndex rcdata = TypeNode(QStringLiteral("Определяемый приложением ресурс"));
    tree.Expand(rcdata);
    // Each name node stands for its exact entry, whose identifier strings the window records.
    EXPECT_EQ(TypeString(*tree.TypeOf(rcdata)), QStringLiteral("10"));
    EXPECT_EQ(tree.EntryOf(Child(rcdata, 2)),
              (ResourceEntry{ResourceId::fromNumber(10), ResourceId::fromNumber(101)}));
    EXPECT_EQ(NameString(tree.EntryOf(Child(rcdata, 2))->name), QStringLiteral("#101"));
    EXPECT_EQ(NameString(tree.EntryOf(Child(rcdata, 1))->name), QStringLiteral("ONEBYTE"));
    EXPECT_FALSE(tree.EntryOf(rcdata));
    QModelIndex named = TypeNode(QStringLiteral("MYTYPE"));
    EXPECT_EQ(TypeString(*tree.TypeOf(named)), QStringLiteral("MYTYPE"));
    EXPECT_FALSE(tree.EntryOf(Child(named, 0))); // the placeholder stands for nothing

    EXPECT_EQ(BytesText(Bytes(QStringLiteral("10"), QStringLiteral("#101"))), QStringLiteral("russian"));
    EXPECT_EQ(BytesText(Bytes(QStringLiteral("mytype"), QStringLiteral("alpha"))), QStringLiteral("alpha"));
    EXPECT_EQ(BytesText(Bytes(QStringLiteral("MYTYPE"), QStringLiteral("#7"))), QStringLiteral("seven"));
    EXPECT_EQ(Size(QStringLiteral("240"), QStringLiteral("#1")), 19);
    // One byte: an array of exactly one element.
    ASSERT_TRUE(Bytes(QStringLiteral("10"), QStringLiteral("ONEBYTE")));
    EXPECT_EQ(Bytes(QStringLiteral("10"), QStringLiteral("ONEBYTE"))->size(), 1u);
    // Missing and empty resources: no array, size 0 for the missing one.
    EXPECT_FALSE(Bytes(QStringLiteral("10"), QStringLiteral("EMPTY")));
    EXPECT_EQ(Size(QStringLiteral("10"), QStringLiteral("EMPTY")), 0);
    EXPECT_FALSE(Bytes(QStringLiteral("10"), QStringLiteral("#999")));
    EXPECT_EQ(Size(QStringLiteral("10"), QStringLiteral("#999")), 0);
    EXPECT_EQ(Size(QStringLiteral("NOTYPE"), QStringLiteral("#1")), 0);
    // A number beyond 16 bits is never an integer identifier.
    EXPECT_EQ(Size(QStringLiteral("65546"), QStringLiteral("#1")), 0);
    EXPECT_EQ(Size(QStringLiteral("10"), QStringLiteral("#65637")), 0);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, ResourceTreeTest, testing::Values("32", "64"));

TEST(ResourceTreeFiles, UnloadableFilesShowTheRootAloneAndAnotherFileReplacesAll) {
    TempFiles files;
    ResourceTreeModel tree;
    EXPECT_EQ(tree.rowCount(), 0);
    const QString text = files.Write(QStringLiteral("notes.txt"), "plain text, not a module\n");
    tree.Show(ModuleCatalogue::Open(text), text, QStringLiteral("notes.txt"));
    EXPECT_EQ(tree.rowCount(), 1);
    EXPECT_EQ(Rows(tree.Root()), 0);
    EXPECT_EQ(Text(tree.Root()), QStringLiteral("notes.txt"));
    EXPECT_EQ(Key(tree.Root()), text);

    tree.Show(ModuleCatalogue::Open(FixturePath(QStringLiteral("tree32.dll"))), QString(),
              QStringLiteral("tree32.dll"));
    tree.Expand(Child(tree.Root(), 0));
    tree.Show(ModuleCatalogue::Open(FixturePath(QStringLiteral("menus64.dll"))), QString(),
              QStringLiteral("menus64.dll"));
    EXPECT_EQ(tree.rowCount(), 1);
    EXPECT_EQ(Text(tree.Root()), QStringLiteral("menus64.dll"));
    EXPECT_EQ(Text(Child(Child(tree.Root(), 0), 0)), QStringLiteral("Dummy")); // listed afresh
    tree.Clear();
    EXPECT_EQ(tree.rowCount(), 0);
    EXPECT_FALSE(tree.Root().isValid());
}

TEST(ResourceTreeFiles, AResourceNamedLikeThePlaceholderIsNotTakenForIt) {
    // The fixture's name "ALPHA" respelt "Dummy", as no resource compiler would write it.
    QByteArray dll = ReadFileBytes(FixturePath(QStringLiteral("tree32.dll")));
    const QByteArray alpha("\x05\0A\0L\0P\0H\0A\0", 12);
    const qsizetype at = dll.indexOf(alpha);
    ASSERT_GT(at, 0);
    dll.replace(at, alpha.size(), QByteArray("\x05\0D\0u\0m\0m\0y\0", 12));
    TempFiles files;
    const QString path = files.Write(QStringLiteral("dummy.dll"), dll);
    ResourceTreeModel tree;
    tree.Show(ModuleCatalogue::Open(path), path, QStringLiteral("dummy.dll"));
    const QModelIndex named = Child(tree.Root(), 0);
    ASSERT_EQ(Text(named), QStringLiteral("MYTYPE"));
    tree.Expand(named);
    ASSERT_EQ(Text(Child(named, 0)), QStringLiteral("Dummy"));
    tree.Expand(named);
    EXPECT_EQ(Rows(named), 2);
    EXPECT_TRUE(tree.EntryOf(Child(named, 0)));
    EXPECT_FALSE(tree.IsPlaceholder(Child(named, 0)));
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
