// The thumbnailer as file managers meet it: the installed tree's entry run by a real thumbnail
// service (tumblerd, which Thunar asks) on a private D-Bus session bus, asked over D-Bus for normal
// and large thumbnails, and the PNGs it stores looked at. The test starts both services and stops
// them itself.
#include "../Fixtures.h"
#include "imaging/PixelsImage.h"
#include "thumbnailer/ShellIcon.h"

#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
const QString kService = QStringLiteral("org.freedesktop.thumbnails.Thumbnailer1");
const QString kPath = QStringLiteral("/org/freedesktop/thumbnails/Thumbnailer1");
const QString kWine = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/");

// What the service says about one request, gathered from its signals.
class Outcomes : public QObject {
    Q_OBJECT
public:
    QStringList ready, failed, reasons;
    QSet<uint> finished;

public slots:
    void Ready(uint, const QStringList &uris) { ready += uris; }
    void Error(uint, const QStringList &uris, int, const QString &reason) {
        failed += uris;
        reasons << uris.join(QLatin1Char(' ')) + QStringLiteral(": ") + reason;
    }
    void Finished(uint handle) { finished.insert(handle); }
};

// A service process of the test's own, stopped when the test ends, whatever happened.
struct Service {
    QProcess process;
    ~Service() {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

bool WaitFor(const std::function<bool()> &done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Where two pictures' pixels first differ ("none" when they are the same size and every pixel is
// equal; colour space and other properties aside).
std::string FirstDifference(const QImage &a, const QImage &b) {
    if (a.size() != b.size()) return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 vs %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .arg(b.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .toStdString();
    return "none";
}

QString UriOf(const QString &path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}
} // namespace

TEST(Tumbler, StoresTheThumbnailsTheInstalledThumbnailerMakes) {
    const QString tumblerd = QStringLiteral(TUMBLERD);
    const QString dbusDaemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    ASSERT_TRUE(QFileInfo(tumblerd).isExecutable()) << "needs tumbler (scripts/deps.sh installs it)";
    ASSERT_FALSE(dbusDaemon.isEmpty()) << "needs dbus-daemon";
    const QString installed = QStringLiteral(INSTALLED_TREE);
    ASSERT_TRUE(QFileInfo(installed + QStringLiteral("/bin/zorvika-thumbnailer")).isExecutable());
    ASSERT_TRUE(QFileInfo(installed + QStringLiteral("/share/thumbnailers/zorvika.thumbnailer")).isFile());

    TempFiles files;
    const QDir home(files.path());
    for (const char *folder : {"in", "cache", "config", "data", "home", "system"})
        ASSERT_TRUE(home.mkpath(QLatin1String(folder)));
    // The service recognises the PNG it reads back by the system's MIME database, which it finds
    // in the data folders: those hold the installed tree and, beside it, that database alone (the
    // system's own thumbnailer entries stay out of sight).
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/mime"), home.filePath(QStringLiteral("system/mime"))));
    // Wine's libraries (copied, so their thumbnails are the test's own), a library without
    // icons, and one whose icon group claims more entries than it holds.
    QStringList good;
    for (const char *name : {"shell32.dll", "notepad.exe", "regedit.exe", "winecfg.exe", "wordpad.exe"}) {
        const QString copy = home.filePath(QStringLiteral("in/") + QLatin1String(name));
        ASSERT_TRUE(QFile::copy(kWine + QLatin1String(name), copy)) << name;
        good << copy;
    }
    const QString noIcons = home.filePath(QStringLiteral("in/strings.dll"));
    ASSERT_TRUE(QFile::copy(FixturePath(QStringLiteral("strtab64.dll")), noIcons));
    QByteArray hostile = ReadFileBytes(FixturePath(QStringLiteral("digits64.dll")));
    const qsizetype group = hostile.indexOf(QByteArray("\x00\x00\x01\x00\x05\x00\x10\x10", 8));
    ASSERT_GT(group, 0);
    hostile[group + 4] = '\xFF';
    hostile[group + 5] = '\xFF';
    const QString hostilePath = files.Write(QStringLiteral("in/hostile.dll"), hostile);

    // The private bus, then the service on it, seeing the installed tree's thumbnailer entry alone.
    Service bus;
    bus.process.start(dbusDaemon,
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--address=unix:path=") + home.filePath(QStringLiteral("bus")),
                       QStringLiteral("--print-address=1")});
    ASSERT_TRUE(bus.process.waitForStarted());
    ASSERT_TRUE(
        WaitFor([&] { return bus.process.canReadLine() || bus.process.waitForReadyRead(50); }, 10000));
    const QString address = QString::fromUtf8(bus.process.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());

    Service tumbler;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    environment.insert(QStringLiteral("XDG_DATA_DIRS"),
                       installed + QStringLiteral("/share:") + home.filePath(QStringLiteral("system")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("HOME"), home.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("PATH"), installed + QStringLiteral("/bin:/usr/bin:/bin"));
    tumbler.process.setProcessEnvironment(environment);
    tumbler.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tumbler.process.start(tumblerd, {});
    ASSERT_TRUE(tumbler.process.waitForStarted());

    QDBusConnection connection = QDBusConnection::connectToBus(address, QStringLiteral("tumbler-test"));
    ASSERT_TRUE(connection.isConnected()) << connection.lastError().message().toStdString();
    ASSERT_TRUE(WaitFor([&] { return connection.interface()->isServiceRegistered(kService).value(); }, 30000))
        << "tumblerd did not take its name on the bus";
    Outcomes outcomes;
    for (const char *signal : {"Ready", "Error", "Finished"}) {
        const QByteArray slot = QByteArray("1") + signal +
                                (qstrcmp(signal, "Ready") == 0   ? "(uint,QStringList)"
                                 : qstrcmp(signal, "Error") == 0 ? "(uint,QStringList,int,QString)"
                                                                 : "(uint)");
        ASSERT_TRUE(connection.connect(kService, kPath, kService, QLatin1String(signal), &outcomes,
                                       slot.constData()));
    }
    QDBusInterface thumbnailer(kService, kPath, kService, connection);

    const QStringList all = good + QStringList{noIcons, hostilePath};
    QStringList uris, mimeTypes;
    for (const QString &path : all) {
        uris << UriOf(path);
        mimeTypes << QStringLiteral("application/x-ms-dos-executable");
    }
    for (const auto &[flavor, size] : {std::pair{"normal", 128}, std::pair{"large", 256}}) {
        SCOPED_TRACE(flavor);
        outcomes.ready.clear();
        outcomes.failed.clear();
        outcomes.reasons.clear();
        const QDBusReply<uint> handle =
            thumbnailer.call(QStringLiteral("Queue"), uris, mimeTypes, QString::fromLatin1(flavor),
                             QStringLiteral("default"), 0u);
        ASSERT_TRUE(handle.isValid()) << handle.error().message().toStdString();
        ASSERT_TRUE(WaitFor([&] { return outcomes.finished.contains(handle.value()); }, 120000));
        EXPECT_EQ(QSet<QString>(outcomes.failed.begin(), outcomes.failed.end()),
                  (QSet<QString>{UriOf(noIcons), UriOf(hostilePath)}))
            << outcomes.reasons.join(QLatin1Char('\n')).toStdString();

        const QDir store(home.filePath(QStringLiteral("cache/thumbnails/") + QLatin1String(flavor)));
        for (const QString &path : all) {
            const QString uri = UriOf(path);
            const QString md5 =
                QString::fromLatin1(QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex());
            const QString stored = store.filePath(md5 + QStringLiteral(".png"));
            if (!good.contains(path)) {
                EXPECT_FALSE(QFile::exists(stored)) << path.toStdString();
                continue;
            }
            SCOPED_TRACE(path.toStdString());
            EXPECT_TRUE(outcomes.ready.contains(uri));
            QImageReader reader(stored, "png");
            const QImage image = reader.read();
            ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
            EXPECT_EQ(image.text(QStringLiteral("Thumb::URI")), uri);
            // This service writes the time with its microseconds; the seconds are the file's.
            EXPECT_EQ(image.text(QStringLiteral("Thumb::MTime")).section(QLatin1Char('.'), 0, 0),
                      QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()));
            // Exactly the chosen image, scaled as the thumbnailer scales it: the service took our
            // picture as it was, and it fits the flavour.
            const Made<Pixels> expected = ShellIconThumbnail(path, size);
            ASSERT_TRUE(expected);
            EXPECT_LE(std::max(image.width(), image.height()), size);
            const QImage stored32 = image.convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(FirstDifference(stored32, ImageOf(expected.value())), "none");
        }
    }
}

#include "TumblerTest.moc"
