// Templates from arbitrary bytes made into live windows (offscreen): whatever styles, sizes,
// classes and titles they hold, the builder makes a window no larger than the screen, or none.
#include "formats/DialogTemplate.h"
#include "system/ErrorReport.h"
#include "views/dialogs/DialogBuilder.h"

#include <QApplication>
#include <cstdint>
#include <cstdlib>

// Qt and fontconfig keep caches for the life of the process, which the leak checker would report.
extern "C" const char *__asan_default_options() {
    return "detect_leaks=0";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_dialog_builder";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)app;
    DialogTemplate dialog;
    try {
        dialog =
            ReadDialogTemplate(std::span<const std::byte>(reinterpret_cast<const std::byte *>(data), size));
    } catch (const ErrorReport &) {
        return 0;
    }
    // Thousands of controls are legal but slow to make; the reader is what meets those.
    if (dialog.items.size() > 64) return 0;
    static QWidget host;
    const PictureLoader none = [](const ResourceEntry &) { return std::shared_ptr<Picture>(); };
    auto window = CreateDialogWindow(dialog, &host, none);
    if (window) {
        const QSize maximum = MaximumPreviewSize(&host);
        if (window->width() > maximum.width() || window->height() > maximum.height()) std::abort();
    }
    return 0;
}
