// Every dialog of Wine's x86-64 Windows libraries: each template is read, and each dialog the
// program would preview is built, or refused only because it names a class nothing here knows.
// With ZORVIKA_DIALOG_SHOTS set to a folder, a picture of every preview is saved there.
#include "decoders/PictureDecoders.h"
#include "decoders/ResourceAccess.h"
#include "formats/DialogTemplate.h"
#include "resources/IdentifierStrings.h"
#include "resources/ModuleCatalogue.h"
#include "views/dialogs/DialogBuilder.h"
#include "views/dialogs/DialogView.h"
#include "views/dialogs/controls/DialogControls.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <iostream>

namespace {
const QString kWineFolder = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

QStringList WineFiles() {
    QStringList files;
    for (const QFileInfo &info : QDir(kWineFolder).entryInfoList(QDir::Files, QDir::Name))
        files << info.filePath();
    return files;
}

// The window classes Wine's dialogs name that only the programs showing them register: a preview
// can make nothing of these, and of nothing else.
const QSet<QString> kClassesOfTheirOwnPrograms = {
    QStringLiteral("HEXEDIT"), QStringLiteral("SETUPX_PROGRESS"), QStringLiteral("WINECONCOLORPREVIEW")};

// The class a refused dialog names in its failure, or empty.
QString RefusedClass(const std::optional<ErrorReport> &failure) {
    if (!failure || failure->code() != ErrorReport::WindowClassNotFound) return {};
    for (const QString &name : kClassesOfTheirOwnPrograms)
        if (failure->description().contains(name, Qt::CaseInsensitive)) return name;
    return failure->description();
}
} // namespace

TEST(WineDialogs, EveryTemplateOfEveryLanguageReads) {
    const QStringList files = WineFiles();
    if (files.isEmpty()) GTEST_SKIP() << "Wine's libraries are not installed";
    int templates = 0;
    for (const QString &path : files) {
        const auto image = ModuleCatalogue::Open(path);
        if (!image) continue;
        const ResourceId dialogType = ResourceId::fromNumber(5);
        for (const ResourceId &name : image->Names(dialogType))
            for (const std::uint16_t language : image->Languages({dialogType, name})) {
                const auto bytes = image->Bytes({dialogType, name}, language);
                ASSERT_TRUE(bytes) << path.toStdString() << " " << NameString(name).toStdString();
                EXPECT_NO_THROW(ReadDialogTemplate(*bytes))
                    << path.toStdString() << " " << NameString(name).toStdString() << " lang " << language;
                ++templates;
            }
    }
    std::cout << "dialog templates read (all languages): " << templates << std::endl;
    EXPECT_GT(templates, 1000);
}

TEST(WineDialogs, EveryDialogPreviewsOrNamesAnUnknownClass) {
    const QStringList files = WineFiles();
    if (files.isEmpty()) GTEST_SKIP() << "Wine's libraries are not installed";
    const QString shots = qEnvironmentVariable("ZORVIKA_DIALOG_SHOTS");
    QWidget host;
    host.resize(800, 600);
    int dialogs = 0, built = 0, refused = 0, withMenu = 0;
    QSet<QString> refusedClasses;
    for (const QString &path : files) {
        const auto opened = ModuleCatalogue::Open(path);
        if (!opened) continue;
        const ModuleCatalogue &module = *opened;
        for (const ResourceId &name : module.Names(ResourceId::fromNumber(5))) {
            const QString label = QFileInfo(path).fileName() + QLatin1Char(' ') + NameString(name);
            const ResourceEntry entry{ResourceId::fromNumber(5), name};
            const auto bytes = module.Bytes(entry);
            ASSERT_TRUE(bytes) << label.toStdString();
            const DialogTemplate dialog = ReadDialogTemplate(*bytes);
            ++dialogs;
            // As the preview makes it: with the menu it names and the module's icons and bitmaps.
            MadeDialog made = CreateDialogFromModule(module, entry, &host, ModulePictures(module, {}));
            if (!made) {
                const QString refusedClass = RefusedClass(made.failure());
                EXPECT_TRUE(kClassesOfTheirOwnPrograms.contains(refusedClass))
                    << label.toStdString() << ": " << made.failure()->description().toStdString();
                ++refused;
                refusedClasses << refusedClass;
                continue;
            }
            const std::unique_ptr<DialogWindow> window = std::move(made).take();
            ASSERT_NE(window, nullptr) << label.toStdString();
            ++built;
            if (!dialog.menu.isNone()) {
                ++withMenu;
                EXPECT_NE(window->menuBar(), nullptr) << label.toStdString();
            }
            // The window holds one control per item, inside a client area as large as the template asks.
            int controls = 0;
            for (QObject *child : window->client()->children())
                if (child->isWidgetType() && child->property("dialogItemId").isValid()) ++controls;
            EXPECT_EQ(controls, static_cast<int>(dialog.items.size())) << label.toStdString();
            if (!shots.isEmpty()) {
                QString file = label;
                file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
                window->grab().save(QDir(shots).filePath(file + QStringLiteral(".png")));
            }
        }
    }
    QStringList classes(refusedClasses.begin(), refusedClasses.end());
    classes.sort();
    std::cout << "dialogs: " << dialogs << ", previewed: " << built
              << ", refused for an unknown class: " << refused << " ("
              << classes.join(QStringLiteral(", ")).toStdString() << "), with a menu bar: " << withMenu
              << std::endl;
    EXPECT_EQ(refusedClasses, kClassesOfTheirOwnPrograms);
    EXPECT_GT(built, 100);
}
