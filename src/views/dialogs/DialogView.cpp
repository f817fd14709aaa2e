#include "views/dialogs/DialogView.h"

#include "decoders/PictureDecoders.h"
#include "formats/DialogTemplate.h"
#include "system/ErrorReport.h"
#include "system/Twips.h"
#include "views/dialogs/DialogBuilder.h"
#include "views/display/DisplayBox.h"

namespace {
constexpr std::uint16_t kMenuType = 4;
} // namespace

MadeDialog CreateDialogFromModule(const ModuleCatalogue &module, const ResourceEntry &entry, QWidget *parent,
                                  const PictureLoader &pictures) {
    const auto bytes = module.Bytes(entry);
    if (!bytes) return ErrorReport::missingResource();
    // A template the platform cannot read makes no window; the reader says why.
    const Made<DialogTemplate> dialog = MadeBy([&] { return ReadDialogTemplate(*bytes); });
    if (!dialog) return *dialog.failure();
    std::optional<Menu> menu;
    if (!dialog.value().menu.isNone()) {
        const auto menuBytes =
            module.Bytes({ResourceId::fromNumber(kMenuType), dialog.value().menu.resourceId()});
        if (!menuBytes) return ErrorReport::missingResource();
        menu = LoadMenuFromTemplate(*menuBytes);
        if (!menu) return ErrorReport(ErrorReport::InvalidMenu, QStringLiteral("Меню диалога не читается"));
    }
    return BuildDialogWindow(dialog.value(), parent, pictures, menu ? &*menu : nullptr);
}

PictureLoader ModulePictures(const ModuleCatalogue &module, const SystemColours &colours) {
    return [&module, colours](const ResourceEntry &entry) {
        return DecodeResourcePicture(module, entry, colours).take();
    };
}

bool ShowDialog(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display,
                const PictureLoader &pictures, DialogPreview &previewSlot) {
    DialogWindow *preview = CreateDialogFromModule(module, entry, &display, pictures).take().release();
    // Owned by its parent or owner from here on, and destroyed with the display's next clearing.
    previewSlot.Set(preview);
    if (preview == nullptr) return false;

    const int width = preview->width(), height = preview->height();
    if (preview->parentWidget() == &display) {
        // A child: at the box's top-left corner; the box takes its size, 24 pixels taller, so
        // that the scroll bars reach all of a dialog larger than the visible area.
        preview->move(0, 0);
        const double boxWidth = width * TwipsPerPixelX();
        const double boxHeight = (height + 24) * TwipsPerPixelY();
        display.Move(0, 0, TwipsToPixelsX(boxWidth), TwipsToPixelsY(boxHeight));
    } else {
        // A window of its own, over the box's top-left corner on the screen; the box keeps its size.
        preview->move(display.mapToGlobal(QPoint(0, 0)));
    }
    preview->show();
    return true;
}
