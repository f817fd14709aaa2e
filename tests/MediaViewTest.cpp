// Media resources clicked in the main window: video placed and playing in the display box, the
// information lines of sound and music, one device at a time, and the copy of the bytes it plays.
#include "FakeUi.h"
#include "Fixtures.h"
#include "MediaTestSupport.h"
#include "TreeNodes.h"
#include "app/FrmMain.h"
#include "system/Twips.h"
#include "views/display/DisplayBox.h"
#include "views/media/MediaPlayer.h"
#include "views/media/VideoWindow.h"

#include <QFileInfo>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {
const QString kShell32 = kWineLibraries + QStringLiteral("/shell32.dll");

class MediaView : public testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<FrmMain>(ui, QStringLiteral("/EMPTYLOAD"));
        form->EndProgram = [] {};
        form->Load();
        form->show();
        // The placements below are worked out for the window as designed on a 96-dpi screen.
        ASSERT_EQ(TwipsPerPixelX(), 15.0);
        ASSERT_EQ(TwipsPerPixelY(), 15.0);
        ASSERT_EQ(form->Session.viewport.width, 6540);
        ASSERT_EQ(form->Session.viewport.height, 4980);
    }

    void Open(const QString &path) {
        ui.openAnswers.push_back(path);
        form->MnuOpenFile_Click();
    }
    QModelIndex Node(const QString &type, const QString &name) {
        return FindNameNode(
            *form, [&](const QModelIndex &node) { return Text(node) == type; }, name);
    }
    void Click(const QString &type, const QString &name) {
        QModelIndex node = Node(type, name);
        ASSERT_TRUE(node.isValid()) << type.toStdString() << "/" << name.toStdString();
        form->NodeClick(node);
    }
    VideoWindow *Video() const { return form->PDisplay->findChild<VideoWindow *>(); }
    QStringList Printed() const { return form->PDisplay->printedLines(); }
    MediaPlayer &Player() const { return form->Session.media; }
    // The bytes the player keeps of what it plays.
    QByteArray Medium() const { return Player().Medium() ? *Player().Medium() : QByteArray(); }

    // Waits for the first frame and gives the display's pixels under the video window.
    QImage FirstFrameOnDisplay() {
        VideoWindow *video = Video();
        if (video == nullptr || !WaitUntil([&] { return !video->frame().isNull(); }, 10000)) return {};
        return form->PDisplay->grab(video->geometry()).toImage();
    }

    FakeUi ui;
    std::unique_ptr<FrmMain> form;
};

std::vector<QByteArray> ReferenceOfResource(const QByteArray &bytes, int width, int height) {
    TempFiles temp;
    return ReferenceFrames(temp.Write(QStringLiteral("clip.avi"), bytes), width, height);
}
} // namespace

TEST_F(MediaView, Shell32ClipsPlayCentredAndShowFfmpegsFirstFrame) {
    Open(kShell32);
    for (const char *name : {"150", "151", "152", "160", "161", "163", "164"}) {
        SCOPED_TRACE(name);
        Click(QStringLiteral("AVI"), QLatin1String(name));
        EXPECT_TRUE(ui.messages.empty());
        const QByteArray bytes =
            ResourceOf(kShell32, ResourceId::fromName(QStringLiteral("AVI")),
                       ResourceId::fromNumber(static_cast<std::uint16_t>(QByteArray(name).toUInt())));
        // The player holds exactly this resource while it plays.
        EXPECT_TRUE(Medium() == bytes);
        VideoWindow *video = Video();
        ASSERT_NE(video, nullptr);
        // Decoding never happens inside the click: the first frame comes later.
        EXPECT_TRUE(video->frame().isNull());
        EXPECT_TRUE(video->isHidden());
        // An 80 x 50 clip in a box of the visible size, 436 x 332 pixels:
        // X = (6540 - 1200) \ 30 = 178, Y = (4980 - 750) \ 30 = 141.
        EXPECT_EQ(form->PDisplay->geometry(), QRect(0, 0, 436, 332));
        EXPECT_EQ(video->geometry(), QRect(178, 141, 80, 50));
        EXPECT_FALSE(form->HScroll->isEnabled());
        EXPECT_FALSE(form->VScroll->isEnabled());
        const QImage shown = FirstFrameOnDisplay();
        ASSERT_FALSE(shown.isNull());
        EXPECT_FALSE(video->isHidden());
        const std::vector<QByteArray> reference = ReferenceOfResource(bytes, 80, 50);
        ASSERT_FALSE(reference.empty());
        EXPECT_TRUE(PackedRgb(shown) == reference.front());
        EXPECT_TRUE(Printed().isEmpty());
    }
}

TEST_F(MediaView, Shell32ClipLoopsAtItsRateUntilStopped) {
    Open(kShell32);
    Click(QStringLiteral("AVI"), QStringLiteral("160"));
    QPointer<VideoWindow> video = Video();
    ASSERT_NE(video, nullptr);
    std::vector<double> due;
    QObject::connect(video.data(), &VideoWindow::FrameShown,
                     [&](const QImage &, double ms) { due.push_back(ms); });
    // Two frames a second, a pass of two frames: the loop comes round after one second.
    ASSERT_TRUE(WaitUntil([&] { return due.size() >= 5; }, 10000));
    EXPECT_EQ(due[0], 0.0);
    EXPECT_EQ(due[1], 500.0);
    EXPECT_EQ(due[2], 1000.0);
    EXPECT_EQ(due[3], 1500.0);
    EXPECT_EQ(due[4], 2000.0);
    Player().Stop();
    EXPECT_TRUE(video.isNull());
    EXPECT_EQ(Player().Medium(), nullptr);
}

TEST_F(MediaView, EveryCodecShowsItsFramesInTheDisplay) {
    Open(FixturePath("media32.dll"));
    struct Case {
        const char *name;
        int width, height;
        QRect placed;
    };
    for (const Case c :
         {Case{"CLIPRLE", 40, 30, {198, 151, 40, 30}}, Case{"CLIPRAW", 16, 12, {210, 160, 16, 12}},
          Case{"101", 16, 12, {210, 160, 16, 12}}, Case{"CLIPCINEPAK", 64, 48, {186, 142, 64, 48}},
          Case{"CLIPCRAM", 64, 48, {186, 142, 64, 48}}}) {
        SCOPED_TRACE(c.name);
        Click(QStringLiteral("AVI"), QLatin1String(c.name));
        ASSERT_NE(Video(), nullptr);
        EXPECT_EQ(Video()->geometry(), c.placed);
        const std::vector<QByteArray> reference = ReferenceOfResource(Medium(), c.width, c.height);
        ASSERT_GE(reference.size(), 3u);
        // Each frame as it is put on show, read back from the display.
        std::vector<QByteArray> shown;
        QObject::connect(Video(), &VideoWindow::FrameShown, form.get(), [&] {
            shown.push_back(PackedRgb(form->PDisplay->grab(Video()->geometry()).toImage()));
        });
        ASSERT_TRUE(WaitUntil([&] { return shown.size() >= reference.size() + 1; }, 10000));
        for (std::size_t i = 0; i <= reference.size(); ++i)
            EXPECT_TRUE(shown[i] == reference[i % reference.size()]) << "frame " << i;
    }
}

TEST_F(MediaView, ALargeClipGrowsTheBoxAndSwitchesTheBarsOn) {
    Open(FixturePath("media32.dll"));
    Click(QStringLiteral("AVI"), QStringLiteral("CLIPBIG"));
    ASSERT_NE(Video(), nullptr);
    // 500 x 400 pixels = 7500 x 6000 twips, larger than the visible area both ways.
    EXPECT_EQ(form->PDisplay->geometry(), QRect(0, 0, 500, 400));
    EXPECT_EQ(Video()->geometry(), QRect(0, 0, 500, 400));
    EXPECT_TRUE(form->HScroll->isEnabled());
    EXPECT_TRUE(form->VScroll->isEnabled());
    EXPECT_EQ(form->HScroll->maximum(), (7500 - 6540) / 15);
    EXPECT_EQ(form->VScroll->maximum(), (6000 - 4980) / 15);
    const QImage shown = FirstFrameOnDisplay();
    const std::vector<QByteArray> reference = ReferenceOfResource(Medium(), 500, 400);
    ASSERT_FALSE(reference.empty());
    EXPECT_TRUE(PackedRgb(shown) == reference.front());
}

TEST_F(MediaView, ClipsThatCannotPlay) {
    Open(FixturePath("media32.dll"));
    ui.answers = {MsgAnswer::Yes};
    // Not an AVI: the clip has no size to lay out by, an invalid argument reported by the trap.
    Click(QStringLiteral("AVI"), QStringLiteral("JUNK"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Код: 5"))) << ui.messages[0].text.toStdString();
    EXPECT_EQ(Video(), nullptr);
    EXPECT_FALSE(Player().IsOpen());
    EXPECT_EQ(form->MousePointer(), 0);

    // A codec nobody decodes: the clip has a size, so the box is laid out, but nothing is shown.
    ui.messages.clear();
    Click(QStringLiteral("AVI"), QStringLiteral("NOCODEC"));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_NE(Video(), nullptr);
    EXPECT_EQ(Video()->geometry(), QRect(202, 150, 32, 32));
    ASSERT_TRUE(WaitUntil([&] { return Video()->ended(); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Video()->isHidden());
    EXPECT_TRUE(Printed().isEmpty());

    // An empty resource: a range failure before anything is kept, silent without the switch.
    Click(QStringLiteral("AVI"), QStringLiteral("EMPTY"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Player().Medium(), nullptr);
    EXPECT_EQ(Video(), nullptr);
}

TEST_F(MediaView, SoundShowsItsLengthInMilliseconds) {
    Open(kWineLibraries + QStringLiteral("/winecfg.exe"));
    Click(QStringLiteral("WAVE"), QStringLiteral("1308"));
    TempFiles temp;
    const QString copy = temp.Write(QStringLiteral("w.wav"), Medium());
    const QByteArray probed = RunTool(QStringLiteral("ffprobe"),
                                      {QStringLiteral("-v"), QStringLiteral("error"),
                                       QStringLiteral("-show_entries"), QStringLiteral("stream=duration"),
                                       QStringLiteral("-of"), QStringLiteral("default=nw=1:nk=1"), copy});
    const long long ms = std::llround(probed.trimmed().toDouble() * 1000);
    ASSERT_GT(ms, 0);
    EXPECT_EQ(Printed(), QStringList({QStringLiteral("Информация о звуке:"), QString(),
                                      QStringLiteral("Время воспроизведения: %1 миллисекунд").arg(ms)}));
    EXPECT_TRUE(ui.messages.empty());
    // Open although no sound device exists here: it plays nowhere, silently.
    EXPECT_TRUE(Player().IsOpen());

    Open(FixturePath("media32.dll"));
    Click(QStringLiteral("WAVE"), QStringLiteral("TONE"));
    EXPECT_EQ(Printed().value(2), QStringLiteral("Время воспроизведения: 1500 миллисекунд"));
    Click(QStringLiteral("WAVE"), QStringLiteral("MULAW"));
    EXPECT_EQ(Printed().value(2), QStringLiteral("Время воспроизведения: 250 миллисекунд"));
    // A sound that cannot be opened still shows its lines, with 0 milliseconds.
    Click(QStringLiteral("WAVE"), QStringLiteral("JUNK"));
    EXPECT_EQ(Printed(), QStringList({QStringLiteral("Информация о звуке:"), QString(),
                                      QStringLiteral("Время воспроизведения: 0 миллисекунд")}));
    EXPECT_FALSE(Player().IsOpen());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MediaView, MusicShowsItsFixedLines) {
    Open(FixturePath("media32.dll"));
    const QStringList lines = {QStringLiteral("Информация о музыке:"), QString(),
                               QStringLiteral("Тип музыки: стандартный файл MIDI")};
    Click(QStringLiteral("MIDI"), QStringLiteral("TUNE"));
    EXPECT_EQ(Printed(), lines);
    EXPECT_TRUE(Player().IsOpen());
    EXPECT_TRUE(Medium() == ReadFileBytes(FixturePath("media_tune.mid")));
    // The kind is not looked into: a damaged file shows the same lines and plays nothing.
    Click(QStringLiteral("MIDI"), QStringLiteral("JUNK"));
    EXPECT_EQ(Printed(), lines);
    EXPECT_FALSE(Player().IsOpen());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MediaView, OneDeviceAtATime) {
    Open(FixturePath("media32.dll"));
    Click(QStringLiteral("AVI"), QStringLiteral("CLIPRLE"));
    QPointer<VideoWindow> video = Video();
    ASSERT_FALSE(video.isNull());
    // A second media resource stops the first before it starts.
    Click(QStringLiteral("WAVE"), QStringLiteral("TONE"));
    EXPECT_TRUE(video.isNull());
    EXPECT_EQ(Video(), nullptr);
    EXPECT_TRUE(Medium() == ReadFileBytes(FixturePath("media_tone.wav")));
    Click(QStringLiteral("MIDI"), QStringLiteral("TUNE"));
    EXPECT_TRUE(Medium() == ReadFileBytes(FixturePath("media_tune.mid")));
    // Clicking the same clip twice starts it afresh.
    Click(QStringLiteral("AVI"), QStringLiteral("CLIPRAW"));
    video = Video();
    Click(QStringLiteral("AVI"), QStringLiteral("CLIPRAW"));
    EXPECT_TRUE(video.isNull());
    ASSERT_NE(Video(), nullptr);
    EXPECT_EQ(form->PDisplay->findChildren<VideoWindow *>().size(), 1);
}

TEST_F(MediaView, AnyOtherResourceStopsALoopingVideo) {
    Open(FixturePath("media32.dll"));
    Click(QStringLiteral("AVI"), QStringLiteral("CLIPRLE"));
    QPointer<VideoWindow> video = Video();
    ASSERT_FALSE(FirstFrameOnDisplay().isNull());
    QModelIndex rcdata = Node(QStringLiteral("Данные"), QStringLiteral("1"));
    if (!rcdata.isValid()) { // the type's description, whatever it reads, is the node of type 10
        QModelIndex root = form->TreeModel->Root();
        for (int t = 0; t < Rows(root) && !rcdata.isValid(); ++t)
            if (Key(Child(root, t)) == QLatin1String("#10")) {
                form->Expand(Child(root, t));
                rcdata = Child(Child(root, t), 0);
            }
    }
    ASSERT_TRUE(rcdata.isValid());
    form->NodeClick(rcdata);
    EXPECT_TRUE(video.isNull());
    EXPECT_EQ(Player().Medium(), nullptr);
    EXPECT_FALSE(Player().IsOpen());
    // A click on the type node clears the display too.
    Click(QStringLiteral("AVI"), QStringLiteral("CLIPRLE"));
    video = Video();
    form->NodeClick(Node(QStringLiteral("AVI"), QStringLiteral("CLIPRLE")).parent());
    EXPECT_TRUE(video.isNull());
}

TEST_F(MediaView, TheMediumIsAnExactCopyUntilPlaybackStops) {
    Open(FixturePath("media32.dll"));
    Click(QStringLiteral("WAVE"), QStringLiteral("TONE"));
    EXPECT_TRUE(Medium() == ReadFileBytes(FixturePath("media_tone.wav")));
    Player().Stop();
    EXPECT_EQ(Player().Medium(), nullptr);
    EXPECT_FALSE(Player().IsOpen());
    // Opening another file stops what plays.
    Click(QStringLiteral("MIDI"), QStringLiteral("TUNE"));
    ASSERT_NE(Player().Medium(), nullptr);
    Open(FixturePath("tree32.dll"));
    EXPECT_EQ(Player().Medium(), nullptr);
}

TEST_F(MediaView, ATypeNamedInLowerCaseStillPlays) {
    // The resource compiler writes type names in capitals; the copy spells its AVI type "avi".
    QByteArray dll = ReadFileBytes(FixturePath("media32.dll"));
    const QByteArray upper("\x03\0A\0V\0I\0", 8);
    const qsizetype at = dll.indexOf(upper);
    ASSERT_GT(at, 0);
    dll.replace(at, upper.size(), QByteArray("\x03\0a\0v\0i\0", 8));
    TempFiles temp;
    Open(temp.Write(QStringLiteral("lower.dll"), dll));
    Click(QStringLiteral("avi"), QStringLiteral("CLIPRLE"));
    ASSERT_NE(Video(), nullptr);
    EXPECT_FALSE(FirstFrameOnDisplay().isNull());
    EXPECT_TRUE(ui.messages.empty());
}
