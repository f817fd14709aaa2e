// Version information of fixtures built by a real resource compiler, and of hand-built data.
#include "decoders/VersionText.h"
#include "OpenedModule.h"
#include "formats/VersionInfo.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {
const QString kHeading = QStringLiteral("Информация о версии:\r\n\r\n");

class VersionFixture : public testing::TestWithParam<const char *> {
protected:
    static QString Path(const char *base) {
        return FixturePath(QStringLiteral("%1%2.dll").arg(QLatin1String(base), QLatin1String(GetParam())));
    }
};

// A VS_VERSIONINFO block in the 32-bit form, written as the resource compiler lays it out:
// header, key, value on a DWORD boundary, children on DWORD boundaries.
class Block {
public:
    Block(const QString &key, QByteArray value = {}, bool text = false)
        : key_(key), value_(std::move(value)), text_(text) {}
    static Block Text(const QString &key, const QString &value) {
        QByteArray v(reinterpret_cast<const char *>(value.utf16()), (value.size() + 1) * 2);
        return Block(key, v, true);
    }
    Block &Add(const Block &child) {
        children_.push_back(child);
        return *this;
    }
    QByteArray bytes() const {
        QByteArray out(6, '\0');
        out.append(reinterpret_cast<const char *>(key_.utf16()), (key_.size() + 1) * 2);
        Pad(out);
        out.append(value_);
        for (const Block &child : children_) {
            Pad(out);
            out.append(child.bytes());
        }
        qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(out.size()), out.data());
        qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(text_ ? value_.size() / 2 : value_.size()),
                                       out.data() + 2);
        qToLittleEndian<std::uint16_t>(text_ ? 1 : 0, out.data() + 4);
        return out;
    }

private:
    static void Pad(QByteArray &out) {
        while (out.size() % 4)
            out.append('\0');
    }
    QString key_;
    QByteArray value_;
    bool text_;
    std::vector<Block> children_;
};

QByteArray Translation(std::uint16_t language, std::uint16_t codePage) {
    QByteArray t(4, '\0');
    qToLittleEndian(language, t.data());
    qToLittleEndian(codePage, t.data() + 2);
    return t;
}

QString Render(const QByteArray &data) {
    return VersionTextFromData(ByteVector(data));
}
} // namespace

TEST_P(VersionFixture, ShowsTheFirstTranslationInTheReportsOrder) {
    OpenedModule module(Path("verinfo"));
    ASSERT_TRUE(module.loaded());
    // The Russian table of the first translation, not the English one listed before it; the keys
    // in the report's order, not the file's; the empty InternalName and the unknown Comments left
    // out; "ß" is not in Windows-1251, the other signs are.
    const QString expected = kHeading + QStringLiteral("Исходное имя файла: verinfo.dll\r\n"
                                                       "Версия файла: 1.2.3.4\r\n"
                                                       "Версия продукта: 1.2\r\n"
                                                       "Описание: Просмотр ресурсов\r\n"
                                                       "Авторские права: © Команда, 2024 — ™ ?\r\n"
                                                       "Название продукта: Зорвика\r\n"
                                                       "Производитель: Команда Зорвики\r\n");
    EXPECT_EQ(VersionText(module), expected);
    // The report is the file's, whichever version resource was clicked.
    EXPECT_EQ(VersionText(module), expected);
}

TEST_P(VersionFixture, ValuesUnderAnotherTranslationAreNotShown) {
    OpenedModule module(Path("verother"));
    ASSERT_TRUE(module.loaded());
    // The only version resource is 7; its strings are under 040904B0, its first translation is 040704E4.
    EXPECT_EQ(VersionText(module), kHeading);
}

TEST_P(VersionFixture, FailsWithoutVersionData) {
    OpenedModule module(Path("strtab"));
    ASSERT_TRUE(module.loaded());
    EXPECT_EQ(FailureCode([&] { VersionText(module); }), 9);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, VersionFixture, testing::Values("32", "64"));

TEST(VersionData, WithoutTranslationsTheLookupsUseZeros) {
    Block root(QStringLiteral("VS_VERSION_INFO"));
    root.Add(Block(QStringLiteral("StringFileInfo"))
                 .Add(Block(QStringLiteral("00000000"))
                          .Add(Block::Text(QStringLiteral("ProductName"), QStringLiteral("Zero")))));
    EXPECT_EQ(Render(root.bytes()), kHeading + QStringLiteral("Название продукта: Zero\r\n"));
}

TEST(VersionData, KeysCompareWithoutCaseAndTheTableNameIsUpperCase) {
    Block root(QStringLiteral("VS_VERSION_INFO"));
    root.Add(Block(QStringLiteral("stringfileinfo"))
                 .Add(Block(QStringLiteral("041904e3"))
                          .Add(Block::Text(QStringLiteral("COMPANYNAME"), QStringLiteral("Я")))));
    root.Add(Block(QStringLiteral("VarFileInfo"))
                 .Add(Block(QStringLiteral("Translation"), Translation(0x419, 1251))));
    EXPECT_EQ(Render(root.bytes()), kHeading + QStringLiteral("Производитель: Я\r\n"));
}

TEST(VersionData, ShortTranslationValuesAreCopiedAsFarAsTheyGo) {
    // Two bytes of translation: the language only, the code page stays 0000.
    Block root(QStringLiteral("VS_VERSION_INFO"));
    root.Add(Block(QStringLiteral("StringFileInfo"))
                 .Add(Block(QStringLiteral("04190000"))
                          .Add(Block::Text(QStringLiteral("FileVersion"), QStringLiteral("2")))));
    root.Add(Block(QStringLiteral("VarFileInfo"))
                 .Add(Block(QStringLiteral("Translation"), Translation(0x419, 0).left(2))));
    EXPECT_EQ(Render(root.bytes()), kHeading + QStringLiteral("Версия файла: 2\r\n"));
}

TEST(VersionData, StringValuesEndAtTheirNulOrTheirBlock) {
    Block strings(QStringLiteral("00000000"));
    // Text after the NUL is not part of the value.
    strings.Add(Block::Text(QStringLiteral("FileVersion"),
                            QStringLiteral("1.0") + QChar(0) + QStringLiteral("tail")));
    // A value length counted in bytes, reaching past its block: the value stops at the block.
    QByteArray product = Block::Text(QStringLiteral("ProductName"), QStringLiteral("Name")).bytes();
    product.chop(2); // no terminator either
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(product.size()), product.data());
    qToLittleEndian<std::uint16_t>(100, product.data() + 2);
    Block root(QStringLiteral("VS_VERSION_INFO"));
    root.Add(Block(QStringLiteral("StringFileInfo")).Add(strings));
    QByteArray data = root.bytes();
    // Append the hand-made block as the table's last child and grow the lengths of its parents.
    while (data.size() % 4)
        data.append('\0');
    const qsizetype grow = data.size() - root.bytes().size() + product.size();
    data.append(product);
    for (const QByteArray &key : {QByteArray("V\0S\0_\0V", 7), QByteArray("S\0t\0r\0i\0n\0g\0F", 13),
                                  QByteArray("0\0\x30\0\x30\0\x30\0\x30", 9)}) {
        const qsizetype at = data.indexOf(key) - 6;
        ASSERT_GE(at, 0);
        qToLittleEndian<std::uint16_t>(
            static_cast<std::uint16_t>(qFromLittleEndian<std::uint16_t>(data.constData() + at) + grow),
            data.data() + at);
    }
    EXPECT_EQ(Render(data), kHeading + QStringLiteral("Версия файла: 1.0\r\nНазвание продукта: Name\r\n"));
}

TEST(VersionData, LengthsOutsideTheDataFail) {
    Block root(QStringLiteral("VS_VERSION_INFO"));
    root.Add(Block(QStringLiteral("StringFileInfo"))
                 .Add(Block(QStringLiteral("00000000"))
                          .Add(Block::Text(QStringLiteral("FileVersion"), QStringLiteral("1")))));
    const QByteArray good = root.bytes();
    ASSERT_EQ(Render(good), kHeading + QStringLiteral("Версия файла: 1\r\n"));
    // The root longer than the data; a child longer than its parent.
    QByteArray longRoot = good;
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(good.size() + 4), longRoot.data());
    EXPECT_EQ(FailureCode([&] { Render(longRoot); }), 9);
    const qsizetype child = good.indexOf(QByteArray("S\0t\0r\0i\0n\0g\0F", 13)) - 6;
    ASSERT_GT(child, 0);
    QByteArray longChild = good;
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(good.size()), longChild.data() + child);
    EXPECT_EQ(FailureCode([&] { Render(longChild); }), 9);
    // A child of length zero ends its parent's children: nothing found, no failure.
    QByteArray zeroChild = good;
    qToLittleEndian<std::uint16_t>(0, zeroChild.data() + child);
    EXPECT_EQ(Render(zeroChild), kHeading);
    // Every cut of the data fails or renders; none reads outside it.
    for (qsizetype size = 0; size < good.size(); ++size)
        EXPECT_EQ(FailureCode([&] { Render(good.left(size)); }), 9) << size;
}

TEST(VersionData, ReadsTheSixteenBitForm) {
    // Keys and values in ANSI, no type word: length, value length, key, value.
    auto block = [](const QByteArray &key, const QByteArray &value, const QByteArray &children) {
        QByteArray out(4, '\0');
        out.append(key).append('\0');
        while (out.size() % 4)
            out.append('\0');
        out.append(value);
        while (out.size() % 4)
            out.append('\0');
        out.append(children);
        qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(out.size()), out.data());
        qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(value.size()), out.data() + 2);
        return out;
    };
    const QByteArray company = block("CompanyName", QByteArray("\xCA\xEE\xEC\xE0\xED\xE4\xE0\0", 8), {});
    const QByteArray table = block("041904E3", {}, company);
    const QByteArray translation = block("Translation", Translation(0x419, 1251), {});
    const QByteArray data = block("VS_VERSION_INFO", {},
                                  block("StringFileInfo", {}, table) + block("VarFileInfo", {}, translation));
    EXPECT_EQ(Render(data), kHeading + QStringLiteral("Производитель: Команда\r\n"));
}
