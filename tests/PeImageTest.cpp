// The PE resource reader, through the module catalogue, over fixtures built by a real resource
// compiler, PE32 and PE32+ alike.
#include "Fixtures.h"
#include "resources/ModuleCatalogue.h"

#include <gtest/gtest.h>

namespace {
QString IdText(const ResourceId &id) {
    return id.isNumber() ? QString::number(*id.number) : id.name;
}

QString Bytes(const std::optional<std::vector<std::byte>> &data) {
    if (!data) return QStringLiteral("<none>");
    return QString::fromLatin1(reinterpret_cast<const char *>(data->data()),
                               static_cast<qsizetype>(data->size()));
}

class PeImageTest : public testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        image =
            ModuleCatalogue::Open(FixturePath(QStringLiteral("tree%1.dll").arg(QLatin1String(GetParam()))));
        ASSERT_NE(image, nullptr);
    }
    std::shared_ptr<const ModuleCatalogue> image;
};
} // namespace

TEST_P(PeImageTest, ListsTypesAndNamesInDirectoryOrder) {
    QStringList types;
    for (const ResourceId &t : image->Types())
        types << IdText(t);
    // Named types come first, then integer types in ascending order, as the compiler sorts them.
    EXPECT_EQ(types.join(QLatin1Char(',')), QStringLiteral("MYTYPE,MYTYPE2,6,10,23,240"));

    QStringList names;
    for (const ResourceId &n : image->Names(ResourceId::fromNumber(10)))
        names << IdText(n);
    EXPECT_EQ(names.join(QLatin1Char(',')), QStringLiteral("EMPTY,ONEBYTE,101,102,123"));
    EXPECT_EQ(image->isPe32Plus(), QLatin1String(GetParam()) == QLatin1String("64"));
}

TEST_P(PeImageTest, NamedLookupsIgnoreCase) {
    EXPECT_EQ(Bytes(image->Bytes({ResourceId::fromName(QStringLiteral("mytype")),
                                  ResourceId::fromName(QStringLiteral("alpha"))})),
              QStringLiteral("alpha"));
    EXPECT_EQ(
        Bytes(image->Bytes({ResourceId::fromName(QStringLiteral("MyType")), ResourceId::fromNumber(7)})),
        QStringLiteral("seven"));
    EXPECT_EQ(
        Bytes(image->Bytes({ResourceId::fromNumber(10), ResourceId::fromName(QStringLiteral("nothing"))})),
        QStringLiteral("<none>"));
    // An integer identifier never matches a name, nor the other way round.
    EXPECT_FALSE(image->Bytes({ResourceId::fromName(QStringLiteral("10")), ResourceId::fromNumber(101)}));
}

TEST_P(PeImageTest, ChoosesTheLanguageOfTheHomeSystem) {
    // English US and Russian: Russian wins. German and French only: the first listed (German).
    EXPECT_EQ(Bytes(image->Bytes({ResourceId::fromNumber(10), ResourceId::fromNumber(101)})),
              QStringLiteral("russian"));
    EXPECT_EQ(Bytes(image->Bytes({ResourceId::fromNumber(10), ResourceId::fromNumber(102)})),
              QStringLiteral("german"));
    EXPECT_EQ(Bytes(image->Bytes({ResourceId::fromNumber(10), ResourceId::fromNumber(101)}, 0x0409)),
              QStringLiteral("english"));
    EXPECT_EQ(image->Languages({ResourceId::fromNumber(10), ResourceId::fromNumber(102)}),
              (std::vector<std::uint16_t>{0x0407, 0x040C}));
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, PeImageTest, testing::Values("32", "64"));

TEST(PeImageFiles, RefusesWhatIsNotAnImage) {
    TempFiles files;
    EXPECT_EQ(ModuleCatalogue::Open(files.Write(QStringLiteral("text.txt"), "just some text\n")), nullptr);
    EXPECT_EQ(ModuleCatalogue::Open(files.Write(QStringLiteral("empty.dll"), QByteArray())), nullptr);
    EXPECT_EQ(ModuleCatalogue::Open(QStringLiteral("/nonexistent/file.dll")), nullptr);
    QByteArray mz = ReadFileBytes(FixturePath(QStringLiteral("tree32.dll")));
    mz[0x3C] = char(0xF0); // the PE signature offset now points nowhere useful
    mz[0x3D] = char(0xFF);
    EXPECT_EQ(ModuleCatalogue::Open(files.Write(QStringLiteral("bad.dll"), mz)), nullptr);
}
