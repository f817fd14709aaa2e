// Every text resource of Wine's x86-64 libraries renders, in every language the files hold, and a
// few known ones render as they read.
#include "decoders/AcceleratorText.h"
#include "decoders/MenuText.h"
#include "decoders/MessageTableText.h"
#include "decoders/StringTableText.h"
#include "decoders/VersionText.h"
#include "decoders/ViewChoice.h"
#include "resources/IdentifierStrings.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <iostream>
#include <map>

namespace {
const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

class WineModules : public testing::Test {
protected:
    void SetUp() override {
        if (!QDir(kWineDir).exists()) GTEST_SKIP() << "Wine's libraries are not installed";
    }
    static QStringList Files() { return QDir(kWineDir).entryList(QDir::Files, QDir::Name); }
    bool Load(const QString &file) {
        module = ModuleCatalogue::Open(kWineDir + QLatin1Char('/') + file);
        return module != nullptr;
    }
    // An integer resource of the open file.
    static ResourceEntry Entry(std::uint16_t type, std::uint16_t name) {
        return {ResourceId::fromNumber(type), ResourceId::fromNumber(name)};
    }
    // The bytes of one language of an integer resource of the open file.
    ResourceBytes LanguageBytes(std::uint16_t type, std::uint16_t name, std::uint16_t language) const {
        return module->Bytes(Entry(type, name), language).value_or(ResourceBytes());
    }
    std::shared_ptr<const ModuleCatalogue> module;
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
        std::cout << what << " type " << type << ": " << tally.resources << " rendered, "
                  << tally.empty.size() << " empty, " << tally.failures.size() << " failures\n";
        EXPECT_EQ(tally.failures.join(QStringLiteral("; ")).toStdString(), "") << "type " << type;
        EXPECT_EQ(tally.empty.join(QStringLiteral("; ")).toStdString(), "") << "type " << type;
    }
}

// The rendering of one language's bytes, by the decoder of the type.
QString RenderBytes(int type, const ResourceId &name, std::span<const std::byte> bytes) {
    switch (type) {
    case 4:
        return MenuTextFromTemplate(bytes);
    case 6:
        return StringTableText(bytes, *name.number);
    case 9:
        return AcceleratorText(bytes);
    case 11:
        return MessageTableText(bytes);
    default:
        return VersionTextFromData(bytes);
    }
}
} // namespace

TEST_F(WineModules, EveryTextResourceRendersInEveryLanguage) {
    // The program's own path: the entry as the tree gives it, the view the window chooses for it,
    // the language the program prefers.
    const int kTextTypes[] = {4, 6, 9, 11, 16};
    std::map<int, Tally> names, languages;
    int files = 0, versionsWithValues = 0, extendedMenus = 0;
    for (const QString &file : Files()) {
        if (!Load(file)) continue;
        ++files;
        for (const int type : kTextTypes) {
            const ResourceId typeId = ResourceId::fromNumber(static_cast<std::uint16_t>(type));
            for (const ResourceId &name : module->Names(typeId)) {
                const QString where = file + QLatin1Char(' ') + NameString(name);
                const ResourceEntry entry{typeId, name};
                names[type].Count(where, [&] { return ViewText(ChooseView(entry), *module, entry); });
                for (std::uint16_t language : module->Languages(entry)) {
                    const auto bytes = module->Bytes(entry, language);
                    ASSERT_TRUE(bytes.has_value()) << where.toStdString();
                    if (type == 4 && !bytes->empty() && bytes->front() == std::byte{1}) ++extendedMenus;
                    languages[type].Count(where + QStringLiteral(" lang ") + QString::number(language, 16),
                                          [&] {
                                              const QString text = RenderBytes(type, name, *bytes);
                                              if (type == 16 && text.count(QStringLiteral("\r\n")) > 2)
                                                  ++versionsWithValues;
                                              return text;
                                          });
                }
            }
        }
    }
    std::cout << "files loaded: " << files << ", extended menu templates: " << extendedMenus
              << ", version resources with values: " << versionsWithValues << "\n";
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

TEST_F(WineModules, NotepadMenuAndAccelerators) {
    ASSERT_TRUE(Load(QStringLiteral("notepad.exe")));
    // The Russian menu (the program's home language) and the English one, as the templates hold them.
    const QString menu = MenuText(*module, Entry(4, 513));
    EXPECT_TRUE(
        menu.startsWith(QStringLiteral("&Файл (cmdID = 0)\r\n....Созд&ать\tCtrl+N (cmdID = 256)\r\n")));
    EXPECT_TRUE(MenuTextFromTemplate(LanguageBytes(4, 513, 0x0409))
                    .startsWith(QStringLiteral("&File (cmdID = 0)\r\n"
                                               "....&New\tCtrl+N (cmdID = 256)\r\n"
                                               "....&Open...\tCtrl+O (cmdID = 257)\r\n"
                                               "....&Save\tCtrl+S (cmdID = 258)\r\n"
                                               "....Save &as... (cmdID = 259)\r\n"
                                               "....[Разделитель]\r\n")));
    const QString accelerators = AcceleratorText(*module, Entry(9, 515));
    EXPECT_TRUE(accelerators.startsWith(QStringLiteral("CTRL+A (cmdID = 278)\r\nCTRL+C (cmdID = 274)\r\n")));
    for (const char *line :
         {"ALT+BACKSPACE (cmdID = 272)\r\n", "F3 (cmdID = 289)\r\n", "SHIFT+INS (cmdID = 275)\r\n"})
        EXPECT_TRUE(accelerators.contains(QString::fromUtf8(line))) << line;
    EXPECT_EQ(accelerators.count(QStringLiteral("\r\n")), 18); // 144 bytes
}

TEST_F(WineModules, Shell32Version) {
    ASSERT_TRUE(Load(QStringLiteral("shell32.dll")));
    const QStringList lines = VersionText(*module).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.mid(0, 7), QStringList({QStringLiteral("Информация о версии:"), QString(),
                                            QStringLiteral("Исходное имя файла: shell32.dll"),
                                            QStringLiteral("Версия файла: 6.0.2900.6242"),
                                            QStringLiteral("Версия продукта: 6.0.2900.6242"),
                                            QStringLiteral("Описание: Wine core dll"), lines[6]}));
    // The rights notice names the years up to the build's; InternalName is present but empty.
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("Авторские права: Copyright (c) 1993-")));
    EXPECT_EQ(lines.mid(7), QStringList({QStringLiteral("Название продукта: Wine"),
                                         QStringLiteral("Производитель: Microsoft Corporation"), QString()}));
}

TEST_F(WineModules, User32StringsAndWininetMessages) {
    ASSERT_TRUE(Load(QStringLiteral("user32.dll")));
    EXPECT_EQ(StringTableText(*module, Entry(6, 1)), QStringLiteral("2  Ошибка\r\n13  &Ещё окна...\r\n"));
    EXPECT_EQ(StringTableText(LanguageBytes(6, 1, 0x0409), 1),
              QStringLiteral("2  Error\r\n13  &More Windows...\r\n"));
    ASSERT_TRUE(Load(QStringLiteral("wininet.dll")));
    // Five blocks from 12002; each message ends with a lone line feed in the file.
    EXPECT_TRUE(MessageTableText(LanguageBytes(11, 1, 0x0409))
                    .startsWith(QStringLiteral("12002  The request has timed out.\r\n"
                                               "12004  An internal error has occurred.\r\n")));
}
