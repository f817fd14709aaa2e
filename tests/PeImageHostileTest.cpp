// The PE reader over damaged and hostile copies of a fixture: truncated files, directories that
// point back at themselves, entries and data outside the file, absurd counts and sizes.
#include "Fixtures.h"
#include "resources/ModuleCatalogue.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {
// Where the resource directory of a well-formed fixture starts in the file (an independent
// reading of the headers, so the test does not trust the code under test).
struct Layout {
    std::size_t rsrc = 0; // file offset of the root directory
};

quint32 U32(const QByteArray &b, std::size_t at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 U16(const QByteArray &b, std::size_t at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
void PutU32(QByteArray &b, std::size_t at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}
void PutU16(QByteArray &b, std::size_t at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}

Layout Locate(const QByteArray &file) {
    const std::size_t pe = U32(file, 0x3C);
    const std::size_t optional = pe + 24;
    const bool plus = U16(file, optional) == 0x20B;
    const quint32 rva = U32(file, optional + (plus ? 112 : 96) + 16);
    std::size_t section = optional + U16(file, pe + 20);
    for (int i = 0; i < U16(file, pe + 6); ++i, section += 40) {
        const quint32 va = U32(file, section + 12), raw = U32(file, section + 20),
                      size = U32(file, section + 16);
        if (rva >= va && rva < va + size) return {raw + (rva - va)};
    }
    return {};
}

// Every resource the reader yields, as type/name -> bytes.
std::map<QString, QByteArray> Everything(const ModuleCatalogue &image) {
    std::map<QString, QByteArray> all;
    auto id = [](const ResourceId &r) { return r.isNumber() ? QString::number(*r.number) : r.name; };
    for (const ResourceId &t : image.Types())
        for (const ResourceId &n : image.Names(t))
            if (const auto data = image.Bytes({t, n}))
                all[id(t) + QLatin1Char('/') + id(n)] = QByteArray(
                    reinterpret_cast<const char *>(data->data()), static_cast<qsizetype>(data->size()));
    return all;
}

class PeImageHostileTest : public testing::Test {
protected:
    void SetUp() override {
        original = ReadFileBytes(FixturePath(QStringLiteral("tree32.dll")));
        ASSERT_FALSE(original.isEmpty());
        layout = Locate(original);
        ASSERT_NE(layout.rsrc, 0u);
        auto image = ModuleCatalogue::Open(FixturePath(QStringLiteral("tree32.dll")));
        ASSERT_NE(image, nullptr);
        intact = Everything(*image);
    }
    std::shared_ptr<const ModuleCatalogue> LoadBytes(const QByteArray &bytes) {
        return ModuleCatalogue::Open(files.Write(QStringLiteral("x.dll"), bytes));
    }

    QByteArray original;
    Layout layout;
    std::map<QString, QByteArray> intact;
    TempFiles files;
};
} // namespace

TEST_F(PeImageHostileTest, TruncatedAtEveryByteYieldsOnlyTrueData) {
    for (qsizetype cut = 0; cut < original.size(); ++cut) {
        const auto image = LoadBytes(original.left(cut));
        if (!image) continue;
        // Whatever can still be read is exactly what the whole file holds: nothing read past the cut.
        for (const auto &[key, bytes] : Everything(*image)) {
            ASSERT_TRUE(intact.count(key)) << "cut " << cut << " invented " << key.toStdString();
            ASSERT_EQ(bytes, intact.at(key)) << "cut " << cut << " at " << key.toStdString();
        }
    }
    // Cut before the PE signature: not a module at all.
    EXPECT_EQ(LoadBytes(original.left(0x40)), nullptr);
}

TEST_F(PeImageHostileTest, DirectoriesPointingBackCannotLoop) {
    QByteArray bytes = original;
    const std::size_t firstEntry = layout.rsrc + 16;
    PutU32(bytes, firstEntry + 4, 0x80000000u); // the first type's directory is the root itself
    const auto image = LoadBytes(bytes);
    ASSERT_NE(image, nullptr);
    // The walk stops at three levels: the root's entries, read again as names and languages,
    // are directories where data entries belong, so nothing is found, and nothing hangs.
    const auto types = image->Types();
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(image->Names(types[0]).size(), types.size());
    for (const ResourceId &name : image->Names(types[0]))
        EXPECT_FALSE(image->Bytes({types[0], name}));
    // The other types are untouched.
    EXPECT_TRUE(image->Bytes({ResourceId::fromNumber(10), ResourceId::fromNumber(101)}));
}

TEST_F(PeImageHostileTest, DataOutsideTheFileYieldsNothing) {
    // The data entry of 240/#1 is the last one the compiler wrote; find it through the directory.
    auto dataEntryOf = [&](const QByteArray &b, quint32 type) -> std::size_t {
        auto find = [&](std::size_t dir, quint32 id) -> std::size_t {
            const int count = U16(b, dir + 12) + U16(b, dir + 14);
            for (int i = 0; i < count; ++i)
                if (U32(b, dir + 16 + 8 * i) == id)
                    return layout.rsrc + (U32(b, dir + 16 + 8 * i + 4) & 0x7FFFFFFF);
            return 0;
        };
        const std::size_t names = find(layout.rsrc, type);
        const std::size_t languages = find(names, 1);
        return layout.rsrc + U32(b, languages + 16 + 4);
    };
    for (const quint32 rva : {0xFFFFFF00u, 0x7FFFFFFFu}) {
        QByteArray bytes = original;
        PutU32(bytes, dataEntryOf(bytes, 240), rva);
        const auto image = LoadBytes(bytes);
        ASSERT_NE(image, nullptr);
        EXPECT_FALSE(image->Bytes({ResourceId::fromNumber(240), ResourceId::fromNumber(1)})) << rva;
    }
    for (const quint32 size : {0xFFFFFFFFu, 0xFFFFFFF0u, 0x80000000u}) {
        QByteArray bytes = original;
        PutU32(bytes, dataEntryOf(bytes, 240) + 4, size);
        const auto image = LoadBytes(bytes);
        ASSERT_NE(image, nullptr);
        EXPECT_FALSE(image->Bytes({ResourceId::fromNumber(240), ResourceId::fromNumber(1)})) << size;
        EXPECT_TRUE(image->Bytes({ResourceId::fromNumber(10), ResourceId::fromNumber(101)}));
    }
}

TEST_F(PeImageHostileTest, NamesPastTheEndAndAbsurdCountsAreDropped) {
    QByteArray bytes = original;
    // The first type is named: point its name far outside the section.
    PutU32(bytes, layout.rsrc + 16, 0x80000000u | 0x7FFFFFF0u);
    // And claim 65,535 integer entries in the root.
    PutU16(bytes, layout.rsrc + 14, 0xFFFF);
    const auto image = LoadBytes(bytes);
    ASSERT_NE(image, nullptr);
    const auto types = image->Types();
    // The unreadable name is skipped; the count is cut at the end of the section.
    ASSERT_FALSE(types.empty());
    EXPECT_TRUE(types[0].isNumber() || types[0].name == QStringLiteral("MYTYPE2"));
    EXPECT_LT(types.size(), 4096u);
}

TEST_F(PeImageHostileTest, ResourceDirectoryOutsideTheFileMeansNoResources) {
    QByteArray bytes = original;
    const std::size_t pe = U32(bytes, 0x3C);
    PutU32(bytes, pe + 24 + 96 + 16, 0x7FFFF000u); // the resource directory's RVA
    const auto image = LoadBytes(bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->Types().empty());
}
