// The Save resource as... command: the dialog it prepares, and what ends up in the file for text,
// raw and string-table selections; failures and whole-file replacement.
#include "MainWindowHarness.h"
#include "OpenedModule.h"
#include "Wrestool.h"
#include "decoders/PictureDecoders.h"
#include "decoders/ResourceAccess.h"
#include "export/SaveForms.h"
#include "imaging/RasterPicture.h"
#include "resources/IdentifierStrings.h"
#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"
#include "system/FileWriters.h"
#include "system/SystemFolders.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"

#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
class SaveTest : public testing::Test {
protected:
    explicit SaveTest(const QString &dll = QStringLiteral("menus32.dll")) : h(QString(), dll) {}
    void SetUp() override { h.window->Load(); }
    // Clicks the node, then saves with this file name and filter entry.
    void SaveAs(QModelIndex node, const QString &fileName, int filterIndex = 1) {
        h.window->NodeClick(node);
        h.ui.saveAnswers.push_back(fileName);
        h.ui.saveFilterIndexes.push_back(filterIndex);
        h.window->MnuSaveResource_Click();
    }
    // What the window's open file holds under identifier strings.
    std::shared_ptr<Picture> Decoded(const QString &type, const QString &name) {
        const ModuleCatalogue &module = h.window->Session.Module();
        return DecodeResourcePicture(module, EntryOf(module, type, name), h.window->Colours()).take();
    }
    std::optional<ResourceBytes> Bytes(const QString &type, const QString &name) {
        return GetResourceBytes(h.window->Session.Module(), EntryOf(h.window->Session.Module(), type, name));
    }
    MainWindowHarness h;
    TempFiles out;
};

class StringTableSaveTest : public SaveTest {
protected:
    StringTableSaveTest() : SaveTest(QStringLiteral("tree32.dll")) {}
};
} // namespace

TEST(SaveFilters, PerTypeAsTheDialogOffersThem) {
    const auto number = [](std::uint16_t n) { return ResourceId::fromNumber(n); };
    const auto name = [](const char *text) { return ResourceId::fromName(QLatin1String(text)); };
    const std::pair<ResourceId, const char *> cases[] = {
        {number(1), "Файл курсора|*.cur|Точечный рисунок|*.bmp"},
        {number(12), "Файл курсора|*.cur|Точечный рисунок|*.bmp"},
        {number(2), "Точечный рисунок|*.bmp"},
        {number(14), "Файл иконки|*.ico|Точечный рисунок|*.bmp"},
        {number(16), "Текстовый файл|*.txt|Файл с данными|*.*"},
        {number(6), "Текстовый файл|*.txt"},
        {number(23), "Веб-страница|*.html|Файл с данными|*.*"},
        {name("gif"), "GIF файл|*.gif"},
        {name("Avi"), "AVI файл|*.avi"},
        {name("wave"), "Звук Windows Audio|*.wav"},
        {name("MIDI"), "MIDI файл|*.mid"},
        {number(240), "Файл с данными|*.*"},
        {name("MYTYPE"), "Файл с данными|*.*"},
        // A type named with the digits of a number is that number; "014" is a name like any other.
        {name("14"), "Файл иконки|*.ico|Точечный рисунок|*.bmp"},
        {name("014"), "Файл с данными|*.*"},
    };
    for (const auto &[type, filter] : cases)
        EXPECT_EQ(SaveFilter(type), QString::fromUtf8(filter)) << TypeString(type).toStdString();
}

TEST_F(SaveTest, MenuAsTextInTheCodePageOrAsRawBytes) {
    QModelIndex menu = h.Name(QStringLiteral("Ресурс меню"), QStringLiteral("1"));
    ASSERT_TRUE(menu.isValid());
    const QString text = out.path() + QStringLiteral("/menu.txt");
    SaveAs(menu, text, 1);
    ASSERT_EQ(h.ui.saveDialogs.size(), 1u);
    const CommonDialog &d = h.ui.saveDialogs[0];
    EXPECT_EQ(d.dialogTitle, QStringLiteral("Сохранение ресурса"));
    EXPECT_EQ(d.flags, 0x8006u);
    EXPECT_EQ(d.filterIndex, 1);
    EXPECT_TRUE(d.defaultExt.isEmpty());
    EXPECT_EQ(d.filter, QStringLiteral("Текстовый файл|*.txt|Файл с данными|*.*"));
    const QByteArray written = ReadFileBytes(text);
    EXPECT_EQ(written, UnicodeToAnsi(h.window->TStrings->text()));
    EXPECT_TRUE(written.contains("\xCF\xE5\xF0\xE2\xFB\xE9")); // "Первый" in Windows-1251
    EXPECT_TRUE(h.ui.messages.empty());

    // "Файл с данными": the raw template, under a name typed without an extension.
    const QString raw = out.path() + QStringLiteral("/menu");
    SaveAs(menu, raw, 2);
    const auto bytes = Bytes(QStringLiteral("4"), QStringLiteral("#1"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(ReadFileBytes(raw), QByteArray(reinterpret_cast<const char *>(bytes->data()),
                                             static_cast<qsizetype>(bytes->size())));
}

TEST_F(SaveTest, CancelWritesNothingAndSaysNothing) {
    h.window->NodeClick(h.Name(QStringLiteral("Ресурс меню"), QStringLiteral("1")));
    h.ui.saveAnswers.push_back(QString());
    h.window->MnuSaveResource_Click();
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_TRUE(QDir(out.path()).isEmpty());
}

TEST_F(StringTableSaveTest, TheTypeNodeSavesEveryBlockInTreeOrder) {
    QModelIndex type = h.Type(QStringLiteral("Таблица строк"));
    ASSERT_TRUE(type.isValid());
    const QString file = out.path() + QStringLiteral("/all.txt");
    h.window->NodeClick(type);
    h.ui.saveAnswers.push_back(file);
    h.window->MnuSaveResource_Click();
    // The same text block by block, through the text pane.
    h.window->Expand(type);
    QString expected;
    for (int i = 0; i < Rows(type); ++i) {
        h.window->NodeClick(Child(type, i));
        expected += h.window->TStrings->text() + QStringLiteral("\r\n");
    }
    ASSERT_GT(Rows(type), 1);
    for (const MessageRequest &m : h.ui.messages)
        ADD_FAILURE() << m.text.toStdString();
    EXPECT_EQ(ReadFileBytes(file), UnicodeToAnsi(expected));
}

TEST(StringTableSave, ABrokenBlockFailsTheWholeSave) {
    MainWindowHarness h(QString(), QStringLiteral("strtab32.dll"));
    h.window->Load();
    TempFiles out;
    h.window->NodeClick(h.Type(QStringLiteral("Таблица строк")));
    h.ui.saveAnswers.push_back(out.path() + QStringLiteral("/all.txt"));
    h.window->MnuSaveResource_Click();
    // Blocks cut short fail while the text is made, before the dialog: the message's first line is empty.
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_TRUE(h.ui.messages[0].text.startsWith(QStringLiteral("\r\nНевозможно сохранить ресурс.")));
    EXPECT_TRUE(h.ui.saveDialogs.empty());
}

TEST_F(SaveTest, FailuresNameTheFileAndLeaveTheOldOneIntact) {
    QModelIndex menu = h.Name(QStringLiteral("Ресурс меню"), QStringLiteral("1"));
    // A folder that does not exist: the message, nothing written.
    const QString nowhere = out.path() + QStringLiteral("/missing/menu.txt");
    SaveAs(menu, nowhere, 2);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].text,
              nowhere +
                  QStringLiteral(
                      "\r\nНевозможно сохранить ресурс.\r\nПри сохранении произошла неизвестная ошибка!"));
    EXPECT_EQ(h.ui.messages[0].title, QStringLiteral("Ошибка"));
    EXPECT_EQ(h.ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(FileWriters, ReplaceWholeFilesOrNothing) {
    TempFiles out;
    const QString path = out.Write(QStringLiteral("target.bin"), QByteArray(1000, 'x'));
    const QByteArray shorter("new");
    WriteBytesFile(path, std::as_bytes(std::span(shorter.constData(), 3)));
    EXPECT_EQ(ReadFileBytes(path), shorter); // exactly the new content, however long the old file was
    WriteTextFile(path, QStringLiteral("Привет\r\n"));
    EXPECT_EQ(ReadFileBytes(path), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n"));

    // A write that fails half way (the file-size limit stands in for a full disk) leaves the old
    // file exactly as it was.
    const QByteArray big(64 * 1024, 'b');
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    bool failed = false;
    try {
        WriteBytesFile(path, std::as_bytes(std::span(big.constData(), static_cast<std::size_t>(big.size()))));
    } catch (const ErrorReport &e) {
        failed = e.code() == ErrorReport::FileAccess;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadFileBytes(path), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("target.bin")});
}

TEST(SaveWine, RawBytesEqualWrestoolExtraction) {
    MainWindowHarness h{QString(), QString()};
    h.window->Load();
    if (!h.Type(QStringLiteral("AVI")).isValid()) GTEST_SKIP() << "Wine's shell32.dll is not installed";
    TempFiles out;
    const QString shell32 = ResolvePathNoCase(Key(h.Root()));
    const std::vector<WrestoolListed> listed = WrestoolList(shell32);
    int compared = 0;
    for (const auto &[typeText, nameText, wrestoolType] : std::vector<std::tuple<QString, QString, QString>>{
             {QStringLiteral("AVI"), QStringLiteral("150"), QStringLiteral("AVI")},
             {QStringLiteral("TYPELIB"), QStringLiteral("1"), QStringLiteral("TYPELIB")},
             {QStringLiteral("Ресурс версии"), QStringLiteral("1"), QStringLiteral("16")},
             {QStringLiteral("Ресурс меню"), QStringLiteral("MENU_001"), QStringLiteral("4")}}) {
        QModelIndex node = h.Name(typeText, nameText);
        ASSERT_TRUE(node.isValid()) << typeText.toStdString();
        h.window->NodeClick(node);
        const QString file = out.path() + QLatin1Char('/') + nameText;
        h.ui.saveAnswers.push_back(file);
        h.ui.saveFilterIndexes.push_back(2); // raw bytes where the type offers a choice
        h.window->MnuSaveResource_Click();
        // wrestool is asked for the language the program shows, among those it lists.
        std::vector<int> languages;
        for (const WrestoolListed &l : listed)
            if (l.type == WrestoolSpelling(wrestoolType, wrestoolType.at(0).isDigit()) &&
                l.name == WrestoolSpelling(nameText, nameText.at(0).isDigit()))
                languages.push_back(l.language);
        ASSERT_FALSE(languages.empty());
        const int language = ShownLanguage(languages);
        QProcess wrestool;
        wrestool.start(QStringLiteral("wrestool"),
                       {QStringLiteral("-x"), QStringLiteral("--raw"),
                        QStringLiteral("--type=") + wrestoolType, QStringLiteral("--name=") + nameText,
                        QStringLiteral("--language=%1").arg(language), shell32});
        wrestool.waitForFinished();
        const QByteArray expected = wrestool.readAllStandardOutput();
        ASSERT_FALSE(expected.isEmpty()) << nameText.toStdString();
        EXPECT_EQ(ReadFileBytes(file), expected) << typeText.toStdString();
        ++compared;
    }
    EXPECT_EQ(compared, 4);
    for (const MessageRequest &m : h.ui.messages)
        if (m.title == QStringLiteral("Ошибка")) ADD_FAILURE() << m.text.toStdString();
}

namespace {
class PictureSaveTest : public SaveTest {
protected:
    PictureSaveTest() : SaveTest(QStringLiteral("pictures32.dll")) {}
    QString IcotoolList(const QString &file) {
        QProcess icotool;
        icotool.start(QStringLiteral("icotool"), {QStringLiteral("-l"), file});
        icotool.waitForFinished();
        return QString::fromUtf8(icotool.readAllStandardOutput()).trimmed();
    }
};
} // namespace

TEST_F(PictureSaveTest, IconGroupAsAnIconFileOrAsABitmapOverTheScratchBox) {
    QModelIndex group = h.Name(QStringLiteral("Аппаратно-независимый ресурс иконки"), QStringLiteral("1"));
    ASSERT_TRUE(group.isValid());
    const QString ico = out.path() + QStringLiteral("/icon.ico");
    SaveAs(group, ico, 1);
    EXPECT_EQ(h.ui.saveDialogs.back().filter, QStringLiteral("Файл иконки|*.ico|Точечный рисунок|*.bmp"));
    // The image the group shows (32 x 32, the deepest), lossless in a standard icon file.
    EXPECT_EQ(IcotoolList(ico),
              QStringLiteral("--icon --index=1 --width=32 --height=32 --bit-depth=32 --palette-size=0"));
    const auto shown =
        std::dynamic_pointer_cast<RasterPicture>(Decoded(QStringLiteral("14"), QStringLiteral("#1")));
    ASSERT_TRUE(shown);
    QImage reread(ico);
    // Compared premultiplied: the colour under a fully transparent pixel is of no account.
    EXPECT_EQ(reread.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              shown->image().convertToFormat(QImage::Format_ARGB32_Premultiplied));

    // The second entry: a BMP as large as the icon, transparent parts in the scratch box's colour.
    const QString bmp = out.path() + QStringLiteral("/icon.bmp");
    SaveAs(group, bmp, 2);
    const QImage drawn(bmp);
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn.size(), QSize(32, 32));
    EXPECT_FALSE(drawn.hasAlphaChannel());
    const QColor background = h.window->PTemp->palette().color(h.window->PTemp->backgroundRole());
    const QImage icon = shown->image().convertToFormat(QImage::Format_ARGB32);
    int transparent = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (qAlpha(icon.pixel(x, y)) == 0) {
                ++transparent;
                ASSERT_EQ(drawn.pixelColor(x, y), background) << x << "," << y;
            } else if (qAlpha(icon.pixel(x, y)) == 255) {
                ASSERT_EQ(drawn.pixel(x, y) & 0xFFFFFF, icon.pixel(x, y) & 0xFFFFFF) << x << "," << y;
            }
    EXPECT_GT(transparent, 0);
    EXPECT_TRUE(h.ui.messages.empty());
}

TEST_F(PictureSaveTest, BitmapAsABmpFileWithTheDecodedPixels) {
    QModelIndex bitmap = h.Name(QStringLiteral("Точечный рисунок"), QStringLiteral("109"));
    ASSERT_TRUE(bitmap.isValid());
    const QString bmp = out.path() + QStringLiteral("/bitmap.bmp");
    SaveAs(bitmap, bmp, 1);
    EXPECT_EQ(h.ui.saveDialogs.back().filter, QStringLiteral("Точечный рисунок|*.bmp"));
    const auto shown =
        std::dynamic_pointer_cast<RasterPicture>(Decoded(QStringLiteral("2"), QStringLiteral("#109")));
    ASSERT_TRUE(shown);
    const QImage reread(bmp);
    ASSERT_FALSE(reread.isNull());
    EXPECT_EQ(reread.convertToFormat(QImage::Format_RGB32),
              shown->image().convertToFormat(QImage::Format_RGB32));
}

TEST_F(PictureSaveTest, CursorAndPictureFilesAndBrokenPictures) {
    // A cursor: the icon-form file keeps the hotspot as a cursor file does.
    const QString cur = out.path() + QStringLiteral("/c.cur");
    SaveAs(h.Name(QStringLiteral("Аппаратно-независимый ресурс курсора"), QStringLiteral("1")), cur, 1);
    EXPECT_TRUE(IcotoolList(cur).startsWith(QStringLiteral("--cursor")));
    // A picture file of a custom type: its own bytes.
    const QString gif = out.path() + QStringLiteral("/anim.gif");
    SaveAs(h.Name(QStringLiteral("GIF"), QStringLiteral("ANIM")), gif, 1);
    EXPECT_EQ(h.ui.saveDialogs.back().filter, QStringLiteral("GIF файл|*.gif"));
    EXPECT_EQ(ReadFileBytes(gif), ReadFileBytes(FixturePath(QStringLiteral("pic_anim.gif"))));
    // A bitmap that cannot be decoded falls back to its raw bytes.
    const QString raw = out.path() + QStringLiteral("/broken.bmp");
    SaveAs(h.Name(QStringLiteral("Точечный рисунок"), QStringLiteral("201")), raw, 1);
    const auto bytes = Bytes(QStringLiteral("2"), QStringLiteral("#201"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(ReadFileBytes(raw).size(), static_cast<qsizetype>(bytes->size()));
    EXPECT_TRUE(h.ui.messages.empty());
}
