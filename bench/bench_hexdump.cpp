// The hexadecimal dump: building it (per byte) and putting a 1 MiB dump on screen in the text pane,
// beside `xxd` dumping the same bytes in the same run.
#include "BenchSupport.h"
#include "system/Ui.h"
#include "decoders/HexDump.h"
#include "views/display/TextBox.h"
#include "views/display/TextView.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <cstdio>
#include <vector>

namespace {
class YesUi : public Ui {
public:
    MsgAnswer MessageBox(const MessageRequest &) override { return MsgAnswer::Yes; }
    void ShowOpen(CommonDialog &) override {}
    void ShowSave(CommonDialog &) override {}
    bool OpenWithShell(const QString &) override { return true; }
};

std::vector<std::byte> RandomBytes(std::size_t n) {
    std::vector<std::byte> bytes(n);
    for (auto &b : bytes) b = static_cast<std::byte>(QRandomGenerator::global()->bounded(256));
    return bytes;
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const std::size_t size : {std::size_t{13264}, std::size_t{1} << 20}) {
        const auto bytes = RandomBytes(size);
        const double ms = MedianMs(size < 100000 ? 2000 : 50, [&] { HexDump(bytes); });
        QTemporaryFile file;
        file.open();
        file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
        file.flush();
        const double peer = MedianMs(20, [&] { RunQuietly(QStringLiteral("xxd"), {file.fileName()}); });
        std::printf("dump of %7zu bytes: %8.3f ms = %6.2f ns/byte | xxd %8.3f ms | ours/xxd %.3f\n", size, ms,
                    ms * 1e6 / static_cast<double>(size), peer, ms / peer);
    }

    // On screen: the dump put into the text box, laid out and painted once.
    TextBox box;
    box.resize(457, 353);
    box.show();
    YesUi ui;
    const QString dump = HexDump(RandomBytes(std::size_t{1} << 20));
    const double shown = MedianMs(5, [&] {
        box.setText(QString());
        ShowText(dump, false, box, ui);
        box.grab(); // forces layout and a paint of what is visible
    });
    std::printf("1 MiB dump (%lld characters) shown in the text pane: %.1f ms\n", static_cast<long long>(dump.size()), shown);
    return 0;
}
