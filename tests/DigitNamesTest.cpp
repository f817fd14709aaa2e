// Resources whose string names are made of digits, reached as a person reaches them: a mouse click
// on the node in the tree shows and saves the very resource the tree lists; and files that are no
// regular file open as unloadable files do, without blocking.
#include "MainWindowHarness.h"
#include "app/ResourceTreeView.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
class DigitNames : public testing::Test {
protected:
    void SetUp() override {
        h.window->Load();
        h.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get()));
    }
    // Expands the type as its sign would, then clicks the name node with the left button.
    void Click(const QString &typeText, const QString &nameText) {
        ResourceTreeView *tree = h.window->TVResources;
        tree->expand(h.Type(typeText));
        QModelIndex node = h.Name(typeText, nameText);
        ASSERT_TRUE(node.isValid()) << nameText.toStdString();
        const QModelIndex index = node;
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }
    QString Header() const { return h.window->LInformation->text(); }
    QByteArray SaveAs(int filterIndex) {
        const QString file = out.path() + QStringLiteral("/saved");
        QFile::remove(file);
        h.ui.saveAnswers.push_back(file);
        h.ui.saveFilterIndexes.push_back(filterIndex);
        h.window->MnuSaveResource_Click();
        return ReadFileBytes(file);
    }
    MainWindowHarness h{QString(), QStringLiteral("digits32.dll")};
    TempFiles out;
};
} // namespace

TEST_F(DigitNames, AStringNameMadeOfDigitsShowsAndSavesItsOwnBytes) {
    const QString rcdata = QStringLiteral("Определяемый приложением ресурс");
    // The tree lists both as "77"; each click reaches the one it was listed from.
    struct Case {
        int row;
        const char *bytes;
    };
    for (const Case c : {Case{0, "string 77"}, Case{1, "integer 77"}}) {
        QModelIndex type = h.Type(rcdata);
        h.window->TVResources->expand(type);
        ASSERT_EQ(Rows(type), 2);
        ASSERT_EQ(Text(Child(type, c.row)), QStringLiteral("77"));
        const QModelIndex index = Child(type, c.row);
        QTest::mouseClick(h.window->TVResources->viewport(), Qt::LeftButton, {},
                          h.window->TVResources->visualRect(index).center());
        EXPECT_EQ(h.window->SelectedName, QStringLiteral("#77"));
        EXPECT_TRUE(Header().endsWith(QStringLiteral("Размер ресурса: %1 байт").arg(qstrlen(c.bytes))))
            << Header().toStdString();
        EXPECT_TRUE(h.window->TStrings->text().contains(QString::fromLatin1(c.bytes).left(14)))
            << h.window->TStrings->text().toStdString();
        EXPECT_EQ(SaveAs(1), QByteArray(c.bytes));
    }
}

TEST_F(DigitNames, AnIconGroupNamedZeroIsShownAndSaved) {
    Click(QStringLiteral("Аппаратно-независимый ресурс иконки"), QStringLiteral("0"));
    EXPECT_EQ(h.window->SelectedName, QStringLiteral("#0"));
    EXPECT_FALSE(Header().endsWith(QStringLiteral("Размер ресурса: 0 байт"))) << Header().toStdString();
    EXPECT_TRUE(h.window->PDisplay->hasDrawings());
    EXPECT_FALSE(h.window->PDisplay->printedLines().contains(QStringLiteral("Не удаётся загрузить ресурс.")));
    const QByteArray ico = SaveAs(1);
    EXPECT_TRUE(ico.startsWith(QByteArray("\0\0\1\0", 4))) << ico.toHex().toStdString();
}

TEST(NotRegularFiles, OpenAsUnloadableFilesWithoutBlocking) {
    MainWindowHarness h{QString()};
    h.window->Load();
    TempFiles files;
    const QString fifo = files.path() + QStringLiteral("/pipe.dll");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, files.path()}) {
        h.ui.openAnswers.push_back(path);
        h.window->MnuOpenFile_Click();
        EXPECT_EQ(h.window->TreeModel->rowCount(), 1) << path.toStdString();
        EXPECT_EQ(Rows(h.Root()), 0) << path.toStdString();
        EXPECT_TRUE(h.window->windowTitle().contains(QFileInfo(path).fileName())) << path.toStdString();
        EXPECT_TRUE(h.ui.messages.empty()) << path.toStdString();
    }
}
