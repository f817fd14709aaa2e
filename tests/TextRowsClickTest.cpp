// Clicking string tables, menus, accelerators, message tables and version resources in the main
// window: the rendering in the text box in the proportional font, the cannot-load text for an
// empty rendering, and silent failures. With ZORVIKA_SHOTS set to a folder, each view is saved
// there as a PNG.
#include "FakeUi.h"
#include "OpenedModule.h"
#include "TreeNodes.h"
#include "app/FrmMain.h"
#include "app/ResourceTreeView.h"
#include "decoders/AcceleratorText.h"
#include "decoders/MenuText.h"
#include "decoders/MessageTableText.h"
#include "decoders/StringTableText.h"
#include "decoders/VersionText.h"
#include "views/display/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

namespace {
class TextRows : public testing::Test {
protected:
    void Open(const QString &arguments, const QString &fixture) {
        window = std::make_unique<FrmMain>(ui, arguments);
        window->EndProgram = [] {};
        window->Load();
        window->show();
        ui.openAnswers.push_back(FixturePath(fixture));
        window->MnuOpenFile_Click();
        fixture_ = fixture;
    }
    // Clicks the resource `name` (as the tree shows it) of the integer type `type`.
    void Click(int type, const QString &name) {
        QModelIndex root = window->TreeModel->Root();
        ASSERT_TRUE(root.isValid());
        for (int i = 0; i < Rows(root); ++i) {
            QModelIndex typeNode = Child(root, i);
            if (Key(typeNode) != QStringLiteral("#%1").arg(type)) continue;
            window->TVResources->expand(typeNode);
            for (int j = 0; j < Rows(typeNode); ++j) {
                QModelIndex nameNode = Child(typeNode, j);
                if (Text(nameNode) != name) continue;
                window->TVResources->setCurrentIndex(nameNode);
                window->NodeClick(nameNode);
                Shot(type, name);
                return;
            }
        }
        FAIL() << "no resource " << type << " " << name.toStdString();
    }
    void Shot(int type, const QString &name) {
        const QString dir = qEnvironmentVariable("ZORVIKA_SHOTS");
        if (dir.isEmpty()) return;
        QApplication::processEvents();
        const QString file = QStringLiteral("%1/%2-type%3-%4.png")
                                 .arg(dir, QFileInfo(fixture_).baseName())
                                 .arg(type)
                                 .arg(name);
        EXPECT_TRUE(window->grab().save(file)) << file.toStdString();
    }
    bool Proportional() const { return window->TStrings->font().family() == QLatin1String("MS Sans Serif"); }

    FakeUi ui;
    std::unique_ptr<FrmMain> window;
    QString fixture_;
};
} // namespace

TEST_F(TextRows, EachTextTypeShowsItsRendering) {
    const struct {
        const char *fixture;
        int type;
        const char *name;
        std::function<QString(const ModuleCatalogue &)> render;
    } rows[] = {
        {"strtab32.dll", 6, "1",
         [](const ModuleCatalogue &m) {
             return StringTableText(m, EntryOf(m, QStringLiteral("6"), QStringLiteral("#1")));
         }},
        {"strtab64.dll", 6, "4096",
         [](const ModuleCatalogue &m) {
             return StringTableText(m, EntryOf(m, QStringLiteral("6"), QStringLiteral("#4096")));
         }},
        {"menus32.dll", 4, "1",
         [](const ModuleCatalogue &m) {
             return MenuText(m, EntryOf(m, QStringLiteral("4"), QStringLiteral("#1")));
         }},
        {"menus64.dll", 4, "2",
         [](const ModuleCatalogue &m) {
             return MenuText(m, EntryOf(m, QStringLiteral("4"), QStringLiteral("#2")));
         }},
        {"menus64.dll", 4, "CONTEXT",
         [](const ModuleCatalogue &m) {
             return MenuText(m, EntryOf(m, QStringLiteral("4"), QStringLiteral("CONTEXT")));
         }},
        {"accel32.dll", 9, "1",
         [](const ModuleCatalogue &m) {
             return AcceleratorText(m, EntryOf(m, QStringLiteral("9"), QStringLiteral("#1")));
         }},
        {"accel64.dll", 9, "27",
         [](const ModuleCatalogue &m) {
             return AcceleratorText(m, EntryOf(m, QStringLiteral("9"), QStringLiteral("#27")));
         }},
        {"msgtab32.dll", 11, "1",
         [](const ModuleCatalogue &m) {
             return MessageTableText(m, EntryOf(m, QStringLiteral("11"), QStringLiteral("#1")));
         }},
        {"msgtab64.dll", 11, "2",
         [](const ModuleCatalogue &m) {
             return MessageTableText(m, EntryOf(m, QStringLiteral("11"), QStringLiteral("#2")));
         }},
        {"verinfo32.dll", 16, "2", [](const ModuleCatalogue &m) { return VersionText(m); }},
        {"verother64.dll", 16, "7", [](const ModuleCatalogue &m) { return VersionText(m); }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.fixture) + " " + row.name);
        Open(QStringLiteral("/EMPTYLOAD"), QLatin1String(row.fixture));
        Click(row.type, QLatin1String(row.name));
        const QString expected = row.render(window->Session.Module());
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_TRUE(window->TStrings->isVisible());
        EXPECT_EQ(window->TStrings->text(), expected);
        EXPECT_TRUE(Proportional());
        EXPECT_TRUE(
            window->LInformation->text().contains(QStringLiteral("Имя ресурса: ") + QLatin1String(row.name)));
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(TextRows, EmptyRenderingsSayTheResourceCannotBeLoaded) {
    for (const auto &[fixture, type, name] :
         {std::tuple{"strtab32.dll", 6, "3"}, std::tuple{"menus32.dll", 4, "3"},
          std::tuple{"menus64.dll", 4, "5"}, std::tuple{"msgtab32.dll", 11, "5"}}) {
        SCOPED_TRACE(std::string(fixture) + " " + name);
        Open(QStringLiteral("/EMPTYLOAD"), QLatin1String(fixture));
        Click(type, QLatin1String(name));
        EXPECT_TRUE(window->TStrings->isVisible());
        EXPECT_EQ(window->TStrings->text(), QStringLiteral("Невозможно загрузить ресурс."));
    }
}

TEST_F(TextRows, UnreadableResourcesLeaveAnEmptyBoxSilently) {
    for (const auto &[fixture, type, name] :
         {std::tuple{"strtab32.dll", 6, "4"}, std::tuple{"strtab64.dll", 6, "NAMED"},
          std::tuple{"accel32.dll", 9, "7"}, std::tuple{"msgtab64.dll", 11, "7"}}) {
        SCOPED_TRACE(std::string(fixture) + " " + name);
        Open(QStringLiteral("/EMPTYLOAD"), QLatin1String(fixture));
        Click(type, QLatin1String(name));
        EXPECT_TRUE(window->TStrings->isVisible());
        EXPECT_EQ(window->TStrings->text(), QString());
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(window->MousePointer(), 0);
    }
}

TEST_F(TextRows, UnreadableResourcesReportAnOverflowWhenAskedTo) {
    Open(QStringLiteral("/EMPTYLOAD /SHOWOVERFLOW"), QStringLiteral("msgtab32.dll"));
    Click(11, QStringLiteral("6"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Критическое переполнение в программе!"));
    EXPECT_TRUE(window->TStrings->isVisible());
    EXPECT_EQ(window->TStrings->text(), QString());
}
