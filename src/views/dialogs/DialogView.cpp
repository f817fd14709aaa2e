#include "views/dialogs/DialogView.h"

#include "decoders/PictureDecoders.h"
#include "decoders/ResourceAccess.h"
#include "formats/DialogTemplate.h"
#include "resources/DialogPreviewWnd.h"
#include "system/ErrorReport.h"
#include "system/Twips.h"
#include "views/dialogs/DialogBuilder.h"
#include "views/display/DisplayBox.h"

std::unique_ptr<DialogWindow> CreateDialogFromModule(const QString &name, QWidget *parent,
                                                     const PictureLoader &pictures) {
    const auto bytes = FindResourceData(QStringLiteral("5"), name);
    if (!bytes) return nullptr;
    DialogTemplate dialog;
    try {
        dialog = ReadDialogTemplate(*bytes);
    } catch (const ErrorReport &) {
        return nullptr; // a template the platform cannot read makes no window
    }
    std::optional<Menu> menu;
    if (!dialog.menu.isNone()) {
        const auto menuBytes = FindResourceData(QStringLiteral("4"), dialog.menu.resourceName());
        if (!menuBytes) return nullptr;
        menu = LoadMenuFromTemplate(*menuBytes);
        if (!menu) return nullptr;
    }
    return CreateDialogWindow(dialog, parent, pictures, menu ? &*menu : nullptr);
}

bool ShowDialog(const QString &name, DisplayBox &display) {
    return ShowDialog(name, display, ResourcePicture);
}

bool ShowDialog(const QString &name, DisplayBox &display, const PictureLoader &pictures) {
    std::unique_ptr<DialogWindow> created = CreateDialogFromModule(name, &display, pictures);
    DialogWindow *preview = created.release(); // owned by its parent or owner from here on
    DialogPreviewWnd = preview;
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
