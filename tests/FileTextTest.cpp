// Texts from a file are shown as they are: a dialog whose every control, caption and menu reads
// like markup, a resource named like markup in the tree and the information header, a file name
// like markup in the caption and a message box. No tag is drawn and no file a tag names is opened.
#include "DialogControls.h"
#include "FakeUi.h"
#include "Fixtures.h"
#include "TreeNodes.h"
#include "app/FrmMain.h"
#include "app/QtUi.h"
#include "app/ResourceTreeView.h"
#include "views/dialogs/DialogWindow.h"
#include "views/dialogs/controls/StaticControl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

namespace {
// The text of every control of the MARKUP dialog in tests/fixtures/markup.rc.
const QString kMarkup = QStringLiteral("<img src=\"probe.png\"><b>B</b>&lt;");

// A document that never loads what it names, to read what a rich text would show.
class InertDocument : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl &) override { return {}; }
};

// What a widget that guesses the format (a tooltip, an automatic label) shows of `text`.
QString AsShown(const QString &text) {
    if (!Qt::mightBeRichText(text)) return text;
    InertDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

// Names of the files of a folder that were opened or read since the watch began.
class OpenWatch {
public:
    explicit OpenWatch(const QString &folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ >= 0) ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~OpenWatch() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool valid() const { return fd_ >= 0; }
    QStringList Opened() {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) return names;
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len > 0) names << QFile::decodeName(event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_;
};

// The test runs in a folder that holds the picture the texts name, watched for any open.
class FileTextTest : public testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = QDir::currentPath();
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(folder_.path() + QStringLiteral("/probe.png")));
        ASSERT_TRUE(QDir::setCurrent(folder_.path()));
        window = std::make_unique<FrmMain>(ui, QStringLiteral("/EMPTYLOAD"));
        window->EndProgram = [] {};
        window->Load();
        window->show();
        watch = std::make_unique<OpenWatch>(folder_.path());
        ASSERT_TRUE(watch->valid());
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(previousFolder_);
    }

    void Open(const QString &path) {
        ui.openAnswers.push_back(path);
        window->MnuOpenFile_Click();
    }
    QModelIndex NameNode(const QString &typeKey, const QString &text) {
        return FindNameNode(
            *window, [&](const QModelIndex &type) { return type.data(TreeRole::Key).toString() == typeKey; },
            text);
    }
    // Nothing of the watched folder was opened; then the watch proves that it sees an open.
    void ExpectNothingOpened() {
        QApplication::processEvents();
        EXPECT_EQ(watch->Opened(), QStringList());
        QFile probe(folder_.path() + QStringLiteral("/probe.png"));
        ASSERT_TRUE(probe.open(QIODevice::ReadOnly));
        probe.readAll();
        EXPECT_TRUE(watch->Opened().contains(QStringLiteral("probe.png")));
    }

    QTemporaryDir folder_;
    QString previousFolder_;
    FakeUi ui;
    std::unique_ptr<FrmMain> window;
    std::unique_ptr<OpenWatch> watch;
};

} // namespace

TEST_F(FileTextTest, EveryControlOfADialogShowsItsTextLiterally) {
    Open(FixturePath(QStringLiteral("markup32.dll")));
    QModelIndex node = NameNode(QStringLiteral("#5"), QStringLiteral("MARKUP"));
    ASSERT_TRUE(node.isValid());
    window->NodeClick(node);
    auto *preview = qobject_cast<DialogWindow *>(window->Session.preview.window());
    ASSERT_NE(preview, nullptr);
    preview->grab(); // everything laid out and painted

    // Statics draw their text themselves; "&" marks the access key unless SS_NOPREFIX says not.
    EXPECT_EQ(ControlAs<StaticControl>(*preview, 1)->displayText(),
              QStringLiteral("<img src=\"probe.png\"><b>B</b>lt;"));
    EXPECT_EQ(ControlAs<StaticControl>(*preview, 2)->displayText(), kMarkup);
    for (const unsigned id : {3u, 4u, 5u, 6u})
        EXPECT_EQ(ControlAs<QAbstractButton>(*preview, id)->text(), kMarkup) << id;
    EXPECT_EQ(ControlAs<QGroupBox>(*preview, 7)->title(), kMarkup);
    EXPECT_EQ(ControlAs<QLineEdit>(*preview, 8)->text(), kMarkup);
    EXPECT_EQ(ControlAs<QPlainTextEdit>(*preview, 9)->toPlainText(), kMarkup);
    EXPECT_EQ(ControlAs<QLineEdit>(*preview, 16)->text(), kMarkup);
    // List boxes, list views and tabs show no window text: their program fills them.
    EXPECT_EQ(ControlAs<QListWidget>(*preview, 10)->count(), 0);
    EXPECT_EQ(ControlAs<QTreeWidget>(*preview, 12)->headerItem()->text(0), QString());

    auto *status = ControlAs<QStatusBar>(*preview, 20);
    ASSERT_NE(status, nullptr);
    QLabel *part = status->findChild<QLabel *>();
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->textFormat(), Qt::PlainText);
    EXPECT_EQ(part->text(), kMarkup);

    // The link control reads its <a> and nothing else; its link leads nowhere.
    auto *link = ControlAs<QLabel>(*preview, 15);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(AsShown(link->text()), kMarkup);
    EXPECT_EQ(link->text().count(QStringLiteral("<a ")), 1);
    EXPECT_TRUE(link->text().contains(QStringLiteral("<a href=\"#\">")));
    EXPECT_FALSE(link->openExternalLinks());

    ASSERT_NE(preview->windowHandle(), nullptr);
    EXPECT_EQ(preview->windowHandle()->title(), kMarkup + QStringLiteral(" [*]"));
    ASSERT_NE(preview->menuBar(), nullptr);
    const QList<QAction *> top = preview->menuBar()->actions();
    ASSERT_EQ(top.size(), 1);
    EXPECT_EQ(top[0]->text(), kMarkup);
    ASSERT_NE(top[0]->menu(), nullptr);
    EXPECT_EQ(top[0]->menu()->actions().value(0)->text(), kMarkup);

    // No control guesses a format for a tooltip of its own.
    for (QWidget *w : preview->findChildren<QWidget *>()) {
        if (!w->isVisible()) continue;
        QList<QPoint> points = {w->rect().center()};
        if (auto *bar = qobject_cast<QMenuBar *>(w))
            for (QAction *action : bar->actions())
                points << bar->actionGeometry(action).center();
        for (const QPoint &point : points) {
            QHelpEvent help(QEvent::ToolTip, point, w->mapToGlobal(point));
            QApplication::sendEvent(w, &help);
            if (QToolTip::isVisible()) {
                EXPECT_EQ(AsShown(QToolTip::text()), kMarkup) << w->metaObject()->className();
            }
            QToolTip::hideText();
        }
    }
    ExpectNothingOpened();
}

TEST_F(FileTextTest, AResourceNamedLikeMarkupShowsLiterallyInTheTreeItsTooltipAndTheHeader) {
    // The file's own name reads like markup, and like the modified mark of a window title.
    TempFiles files;
    const QString name = QStringLiteral("<i>[*]&lt;.dll");
    const QString path = files.Write(name, ReadFileBytes(FixturePath(QStringLiteral("markup64.dll"))));
    Open(path);
    EXPECT_EQ(Text(window->TreeModel->Root()), name);
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->title(), name + QStringLiteral(" - Зорвика"));

    // The resource compiler writes names in capitals.
    QModelIndex node = NameNode(QStringLiteral("#10"), QStringLiteral("<B>X</B>"));
    ASSERT_TRUE(node.isValid());
    ResourceTreeView *tree = window->TVResources;
    tree->scrollTo(node);
    const QPoint at = tree->visualRect(node).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(window->SelectedName, QStringLiteral("<B>X</B>"));
    EXPECT_EQ(window->LInformation->textFormat(), Qt::PlainText);
    EXPECT_TRUE(window->LInformation->text().contains(QStringLiteral("Имя ресурса: <B>X</B>")))
        << window->LInformation->text().toStdString();

    // A node's tooltip (a name the tree's width cuts off carries one) shows the name as it is.
    tree->resize(tree->visualRect(node).left() + 12, tree->height());
    QApplication::processEvents();
    ASSERT_TRUE(tree->isTextCutOff(node));
    const QPoint inside = tree->visualRect(node).topLeft() + QPoint(4, 4);
    QHelpEvent help(QEvent::ToolTip, inside, tree->viewport()->mapToGlobal(inside));
    QApplication::sendEvent(tree->viewport(), &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(AsShown(QToolTip::text()), QStringLiteral("<B>X</B>"));
    QToolTip::hideText();
    ExpectNothingOpened();
}

TEST_F(FileTextTest, MessageBoxesShowTheFileNamesTheyQuoteLiterally) {
    const QString text =
        QStringLiteral("/home/u/<img src=\"probe.png\"><b>B</b>&lt;.dll\r\n"
                       "Не удаётся открыть файл.\r\nПри открытии произошла неизвестная ошибка!");
    QtUi qtUi([] { return nullptr; });
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    // Reads the box once it is up and answers it with Enter, as a person would.
    QTimer answer;
    int tries = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (box == nullptr || !box->isVisible()) continue;
            if (QLabel *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
                format = label->textFormat();
                shown = label->text();
            }
            box->grab();
            answer.stop();
            QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        if (++tries < 500) return;
        answer.stop();
        if (QWidget *modal = QApplication::activeModalWidget()) modal->close();
    });
    answer.start(10);
    EXPECT_EQ(qtUi.MessageBox({text, QStringLiteral("Ошибка"), MsgButtons::Ok, MsgIcon::Warning, 1}),
              MsgAnswer::Ok);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    ExpectNothingOpened();
}
