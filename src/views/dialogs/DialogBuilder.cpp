#include "views/dialogs/DialogBuilder.h"

#include "formats/WindowStyles.h"
#include "views/dialogs/DialogFonts.h"
#include "views/dialogs/DialogGeometry.h"
#include "views/dialogs/DialogMenuBar.h"
#include "views/dialogs/PreviewStyle.h"
#include "views/dialogs/controls/StaticControl.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

using namespace Win;

namespace {
// The platform gives a process at most 10,000 windows, and creating a dialog fails when its
// controls would pass that. Here the quota counts widgets: a control made of several (a calendar
// has dozens) uses up more of it, which keeps a hostile template of tens of thousands of heavy
// controls from taking minutes and gigabytes.
constexpr qsizetype kWindowQuota = 10000;

// The predefined class of dialog boxes, by name ("#32770") or by its atom.
bool IsDialogClass(const NameOrOrdinal &windowClass) {
    if (windowClass.isNone()) return true;
    if (windowClass.isOrdinal()) return windowClass.ordinal == 32770;
    return windowClass.text == QLatin1String("#32770");
}

// The styles the platform gives a dialog window beyond those of its template.
void AdjustDialogStyles(std::uint32_t &style, std::uint32_t &exStyle) {
    // DS_CONTROL makes the dialog a control of another dialog: no caption, no system menu.
    if ((style & DS_CONTROL) != 0) style &= ~(WS_CAPTION | WS_SYSMENU);
    if ((style & DS_MODALFRAME) != 0) exStyle |= WS_EX_DLGMODALFRAME;
    // An overlapped window (neither child nor pop-up) always has a caption and a border.
    if ((style & (WS_CHILD | WS_POPUP)) == 0) style |= WS_CAPTION;
}

ErrorReport UnknownClass(const QString &name) {
    return ErrorReport(ErrorReport::WindowClassNotFound,
                       QStringLiteral("Неизвестный класс окна: %1").arg(name));
}

ErrorReport OverQuota() {
    return ErrorReport(ErrorReport::NotEnoughQuota,
                       QStringLiteral("Диалогу нужно больше %1 окон").arg(kWindowQuota));
}

QRect ClampedRect(const QRect &r) {
    // Control rectangles beyond the window are clipped anyway; this keeps their numbers sane.
    constexpr int kLimit = 32767;
    return {std::clamp(r.x(), -kLimit, kLimit), std::clamp(r.y(), -kLimit, kLimit),
            std::clamp(r.width(), 0, kLimit), std::clamp(r.height(), 0, kLimit)};
}

// The control after `index` in template order that can take the focus.
QWidget *NextFocusable(const std::vector<QWidget *> &controls, std::size_t index) {
    for (std::size_t i = index + 1; i < controls.size(); ++i) {
        QWidget *w = controls[i];
        QWidget *target = w->focusProxy() != nullptr ? w->focusProxy() : w;
        if ((target->focusPolicy() & Qt::TabFocus) != 0) return target;
        for (QWidget *child : w->findChildren<QWidget *>())
            if ((child->focusPolicy() & Qt::TabFocus) != 0) return child;
    }
    return nullptr;
}

// The dialog manager keeps one default push button: each one it makes turns the one before it
// back into a plain push button, so the last of the template is the default.
void KeepLastDefaultButton(const std::vector<QWidget *> &controls) {
    QPushButton *current = nullptr;
    for (QWidget *control : controls) {
        auto *button = qobject_cast<QPushButton *>(control);
        if (button == nullptr || !button->isDefault()) continue;
        if (current != nullptr) {
            current->setDefault(false);
            current->setAutoDefault(false);
        }
        current = button;
    }
}

// The access key of a static moves the focus to the control that follows it, as the platform's
// dialogs do; the key works while the focus is anywhere in the dialog.
void ConnectAccessKeys(DialogWindow &window, const std::vector<QWidget *> &controls) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        auto *label = qobject_cast<StaticControl *>(controls[i]);
        if (label == nullptr || label->accessKey().isNull()) continue;
        QWidget *target = NextFocusable(controls, i);
        if (target == nullptr) continue;
        auto *shortcut = new QShortcut(QKeySequence::mnemonic(label->text()), &window);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, target,
                         [target] { target->setFocus(Qt::ShortcutFocusReason); });
    }
}
} // namespace

QSize MaximumPreviewSize(const QWidget *parent) {
    const QScreen *screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {32767, 32767};
    return screen->availableGeometry().size().boundedTo(QSize(32767, 32767));
}

std::unique_ptr<DialogWindow> CreateDialogWindow(const DialogTemplate &dialog, QWidget *parent,
                                                 const PictureLoader &pictures, const Menu *menu) {
    return BuildDialogWindow(dialog, parent, pictures, menu).take();
}

Made<std::unique_ptr<DialogWindow>> BuildDialogWindow(const DialogTemplate &dialog, QWidget *parent,
                                                      const PictureLoader &pictures, const Menu *menu) {
    if (!IsDialogClass(dialog.windowClass)) return UnknownClass(ControlClassName(dialog.windowClass));
    if (!dialog.menu.isNone() && menu == nullptr)
        return ErrorReport(ErrorReport::InvalidMenu, QStringLiteral("Меню диалога не загружено"));
    if (static_cast<qsizetype>(dialog.items.size()) >= kWindowQuota) return OverQuota();
    for (const DialogItem &item : dialog.items)
        if (const QString name = ControlClassName(item.windowClass); !IsKnownControlClass(name))
            return UnknownClass(name);

    std::uint32_t style = dialog.style, exStyle = dialog.exStyle;
    AdjustDialogStyles(style, exStyle);
    const QString title = dialog.title.isString() ? dialog.title.text : QString();
    auto window = std::make_unique<DialogWindow>(style, exStyle, !dialog.menu.isNone(), title, parent);

    const QFont font = DialogFontFor(dialog.font);
    const DialogBaseUnits units = MeasureBaseUnits(font);
    window->setFont(font);

    // The template gives the client area; the frame and caption come on top. Neither the window
    // nor its client area may be larger than the screen allows.
    const QRect client = DialogUnitsToPixels(0, 0, dialog.cx, dialog.cy, units);
    const QMargins margins = window->nonClient().margins();
    const QSize maximum = MaximumPreviewSize(parent);
    const QSize outer = QSize(std::max(0, client.width()) + margins.left() + margins.right(),
                              std::max(0, client.height()) + margins.top() + margins.bottom())
                            .boundedTo(maximum);
    window->setClientSize(QSize(std::max(0, outer.width() - margins.left() - margins.right()),
                                std::max(0, outer.height() - margins.top() - margins.bottom())));

    std::vector<QWidget *> controls;
    controls.reserve(dialog.items.size());
    qsizetype windows = 2; // the dialog and its client area
    if (!dialog.menu.isNone()) {
        // The menu's items count against the quota as well: menus are the platform's objects too.
        qsizetype left = kWindowQuota - windows;
        QMenuBar *bar = MakeDialogMenuBar(*menu, window.get(), left);
        if (bar == nullptr) return OverQuota();
        window->setMenuBar(bar);
        windows = kWindowQuota - left;
    }
    QButtonGroup *radios = nullptr;
    for (const DialogItem &item : dialog.items) {
        // WS_GROUP starts a new group: automatic radio buttons exclude only those of their group.
        if ((item.style & WS_GROUP) != 0) radios = nullptr;
        ControlSite site{item,
                         window->client(),
                         ClampedRect(DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, units)),
                         units.cy,
                         pictures,
                         controls.empty() ? nullptr : controls.back(),
                         {}};
        site.radioGroup = [&radios, &window] {
            if (radios == nullptr) {
                radios = new QButtonGroup(window.get());
                radios->setExclusive(true);
            }
            return radios;
        };
        QWidget *control = CreateControl(site);
        if (control == nullptr) return UnknownClass(ControlClassName(item.windowClass));
        windows += 1 + control->findChildren<QWidget *>().size();
        if (windows > kWindowQuota) return OverQuota();
        controls.push_back(control);
    }
    // Controls stack in template order, each new one above those before it: siblings that do
    // not clip each other are painted in that order, so a later control draws over an earlier
    // one it overlaps, as on the platform.
    KeepLastDefaultButton(controls);
    ConnectAccessKeys(*window, controls);
    if ((style & WS_DISABLED) != 0) window->blockInput();
    ApplyPreviewStyle(window.get());
    return std::move(window);
}
