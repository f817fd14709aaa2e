// A module whose file changes on disk while it is open: cut, extended, rewritten, moved, removed or
// replaced, then every node clicked in the tree as a person would. No click raises a signal. A file
// changed in place shows its resources with size 0 and the cannot-load text; a moved, removed or
// replaced one is still read as it was opened. The first click says once what became of the file, and
// Reset then reads the file again as Open would.
#include "MainWindowHarness.h"
#include "app/ResourceTreeView.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// What a click left on screen.
struct Shown {
    QString header;
    bool textPane = false;
    QString text;
    QStringList printed;
    bool drawn = false;
    bool operator==(const Shown &) const = default;
};

void PrintTo(const Shown &s, std::ostream *os) {
    *os << s.header.toStdString() << " | text " << s.textPane << " " << s.text.left(40).toStdString()
        << " | printed " << s.printed.join(QLatin1Char('/')).toStdString() << " | drawn " << s.drawn;
}

quint16 U16(const QByteArray &file, qint64 at) {
    return qFromLittleEndian<quint16>(file.constData() + at);
}
quint32 U32(const QByteArray &file, qint64 at) {
    return qFromLittleEndian<quint32>(file.constData() + at);
}

// The file offset and size of the .rsrc section, read from its headers without the program's reader.
std::pair<qint64, qint64> ResourceSection(const QByteArray &file) {
    const qint64 pe = U32(file, 0x3C);
    qint64 section = pe + 24 + U16(file, pe + 20);
    for (int i = 0; i < U16(file, pe + 6); ++i, section += 40)
        if (file.mid(section, 8) == QByteArray(".rsrc\0\0\0", 8))
            return {U32(file, section + 20), U32(file, section + 16)};
    return {-1, 0};
}

qint64 MiddleOfResources(const QByteArray &file) {
    const auto [start, size] = ResourceSection(file);
    return start < 0 ? -1 : start + size / 2;
}

// The same file with every data entry of its three directory levels claiming more bytes than the
// file holds: each resource keeps its place in the tree and has no data at all.
QByteArray WithoutData(QByteArray file) {
    const qint64 rsrc = ResourceSection(file).first;
    const std::function<void(qint64, int)> walk = [&](qint64 directory, int level) {
        const int count = U16(file, directory + 12) + U16(file, directory + 14);
        for (int i = 0; i < count; ++i) {
            const quint32 target = U32(file, directory + 16 + 8 * i + 4);
            if ((target & 0x80000000u) != 0 && level < 3)
                walk(rsrc + (target & 0x7FFFFFFFu), level + 1);
            else if ((target & 0x80000000u) == 0)
                qToLittleEndian<quint32>(0x7FFFFFF0u, file.data() + rsrc + target + 4);
        }
    };
    walk(rsrc, 1);
    return file;
}

void Truncate(const QString &path, qint64 size) {
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), size), 0);
}

struct Change {
    const char *what;
    std::function<void(const QString &path, const QByteArray &original)> apply;
    bool inPlace;       // the opened file itself changed: its resources are no longer read
    const char *notice; // what the first click says about the file
};

class ChangedFile : public testing::TestWithParam<const char *> {
protected:
    void Open(const QString &path) {
        h.ui.openAnswers.push_back(path);
        h.window->MnuOpenFile_Click();
    }
    QModelIndex Root() const { return h.window->TreeModel->Root(); }
    void ExpandAll() {
        for (int i = 0; Root().isValid() && i < Rows(Root()); ++i)
            h.window->TVResources->expand(Child(Root(), i));
    }
    Shown OnScreen() const {
        return {h.window->LInformation->text(), h.window->TStrings->isVisible(), h.window->TStrings->text(),
                h.window->PDisplay->printedLines(), h.window->PDisplay->hasDrawings()};
    }
    // The root, then each type and each of its names, in the tree's order.
    std::vector<QModelIndex> Nodes() const {
        std::vector<QModelIndex> nodes{Root()};
        for (int t = 0; t < Rows(Root()); ++t) {
            nodes.push_back(Child(Root(), t));
            for (int n = 0; n < Rows(Child(Root(), t)); ++n)
                nodes.push_back(Child(Child(Root(), t), n));
        }
        return nodes;
    }
    // What each node shows when its resource has no data at all: the same file without data,
    // clicked node by node. The header is left out.
    std::vector<Shown> NoDataShown(const QByteArray &original) {
        TempFiles folder;
        Open(folder.Write(QStringLiteral("nodata.dll"), WithoutData(original)));
        ExpandAll();
        std::vector<Shown> shown = ClickEveryNode();
        for (Shown &s : shown)
            s.header.clear();
        return shown;
    }
    // Clicks every node with the left mouse button, as a person would.
    std::vector<Shown> ClickEveryNode() {
        std::vector<Shown> shown;
        ResourceTreeView *tree = h.window->TVResources;
        for (QModelIndex node : Nodes()) {
            tree->scrollTo(node);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(node).center());
            shown.push_back(OnScreen());
        }
        return shown;
    }
    int Notices() const {
        int n = 0;
        for (const MessageRequest &m : h.ui.messages)
            n += m.title == QStringLiteral("Внимание");
        return n;
    }

    MainWindowHarness h{QStringLiteral("/EMPTYLOAD")};
};

const Change kChanges[] = {
    {"cut to 0 bytes", [](const QString &path, const QByteArray &) { Truncate(path, 0); }, true, "изменён"},
    {"cut to 64 bytes", [](const QString &path, const QByteArray &) { Truncate(path, 64); }, true, "изменён"},
    {"cut to 4096 bytes", [](const QString &path, const QByteArray &) { Truncate(path, 4096); }, true,
     "изменён"},
    {"cut in the middle of its resources",
     [](const QString &path, const QByteArray &original) { Truncate(path, MiddleOfResources(original)); },
     true, "изменён"},
    {"extended by 1 MiB",
     [](const QString &path, const QByteArray &original) { Truncate(path, original.size() + (1 << 20)); },
     true, "изменён"},
    {"rewritten with another module",
     [](const QString &path, const QByteArray &) {
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
         file.write(ReadFileBytes(FixturePath(QStringLiteral("menus32.dll"))));
     },
     true, "изменён"},
    {"deleted", [](const QString &path, const QByteArray &) { ASSERT_TRUE(QFile::remove(path)); }, false,
     "удалён"},
    {"moved to another name, still on disk",
     [](const QString &path, const QByteArray &) {
         ASSERT_EQ(::rename(QFile::encodeName(path).constData(),
                            QFile::encodeName(path + QStringLiteral(".moved")).constData()),
                   0);
     },
     false, "перемещён или переименован"},
    {"replaced by rename",
     [](const QString &path, const QByteArray &) {
         const QString other = path + QStringLiteral(".new");
         ASSERT_TRUE(QFile::copy(FixturePath(QStringLiteral("menus32.dll")), other));
         ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
     },
     false, "заменён"},
};
} // namespace

TEST_P(ChangedFile, EveryClickAfterEveryChangeHasADefinedOutcome) {
    h.window->Load();
    h.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get()));
    h.ui.answers.assign(1000, MsgAnswer::Yes); // a decoder's failure is ignored, the window stays
    const QByteArray original = ReadFileBytes(FixturePath(QString::fromLatin1(GetParam())));
    ASSERT_GT(MiddleOfResources(original), 0);
    for (const Change &change : kChanges) {
        SCOPED_TRACE(change.what);
        h.ui.messages.clear();
        const std::vector<Shown> noData = NoDataShown(original);
        ASSERT_TRUE(h.ui.messages.empty());
        TempFiles folder;
        const QString path = folder.Write(QStringLiteral("module.dll"), original);
        Open(path);
        ExpandAll();
        const std::vector<Shown> before = ClickEveryNode();
        ASSERT_GT(before.size(), 10u);
        const std::size_t failuresBefore = h.ui.messages.size(); // resources broken on purpose
        h.ui.messages.clear();

        change.apply(path, original);
        const std::vector<Shown> after = ClickEveryNode();
        ASSERT_EQ(after.size(), before.size()); // the tree stays as it was listed
        for (std::size_t i = 0; i < after.size(); ++i) {
            const bool nameNode = after[i].header.contains(QStringLiteral("Размер ресурса:"));
            if (!change.inPlace || !nameNode) {
                EXPECT_EQ(after[i], before[i]);
                continue;
            }
            // Data the file no longer holds as it was opened: as for data outside the file.
            EXPECT_TRUE(after[i].header.endsWith(QStringLiteral("Размер ресурса: 0 байт")))
                << after[i].header.toStdString();
            Shown withoutHeader = after[i];
            withoutHeader.header.clear();
            EXPECT_EQ(withoutHeader, noData[i]) << after[i].header.toStdString();
        }
        // Said once, on the first click; no bytes read means no decoder fails.
        ASSERT_EQ(h.ui.messages.size(), 1 + (change.inPlace ? 0 : failuresBefore));
        const MessageRequest &notice = h.ui.messages[0];
        EXPECT_EQ(notice.title, QStringLiteral("Внимание"));
        EXPECT_EQ(notice.icon, MsgIcon::Warning);
        EXPECT_TRUE(notice.text.startsWith(path + QStringLiteral("\r\n"))) << notice.text.toStdString();
        EXPECT_TRUE(notice.text.contains(QString::fromUtf8(change.notice))) << notice.text.toStdString();

        // View -> Reset reads a changed or replaced file again, exactly as Open does; a moved or
        // deleted one is still shown as it was opened.
        h.window->MnuReset->trigger();
        ExpandAll();
        const std::vector<Shown> reset = ClickEveryNode();
        if (QFile::exists(path)) {
            Open(path);
            ExpandAll();
            EXPECT_EQ(reset, ClickEveryNode());
        } else {
            EXPECT_EQ(reset, before);
        }
        EXPECT_EQ(Notices(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ChangedFile, testing::Values("tree32.dll", "pictures64.dll"),
                         [](const testing::TestParamInfo<const char *> &fixture) {
                             const std::string name = fixture.param;
                             return name.substr(0, name.find('.'));
                         });
