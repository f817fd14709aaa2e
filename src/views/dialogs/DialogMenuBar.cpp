#include "views/dialogs/DialogMenuBar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <memory>

namespace {
// Item states (MFS_*) the menu shows.
constexpr std::uint32_t kGrayed = 0x0003;
constexpr std::uint32_t kChecked = 0x0008;
constexpr std::uint32_t kDefault = 0x1000;

// Adds the items of one level to a menu bar or a pop-up menu; false when the quota runs out.
bool AddItems(QWidget *target, const Menu &menu, qsizetype &quota) {
    for (const MenuItem &item : menu.items) {
        if (--quota < 0) return false;
        if ((item.type & kMenuTypeSeparator) != 0) {
            if (auto *popup = qobject_cast<QMenu *>(target)) popup->addSeparator();
            continue;
        }
        // Owner-drawn and bitmap items show no text: their owner draws them.
        const QString text = item.hasText() ? item.text : QString();
        QAction *action = nullptr;
        if (item.subMenu) {
            auto *popup = new QMenu(text, target);
            if (!AddItems(popup, *item.subMenu, quota)) return false;
            action = popup->menuAction();
        } else {
            // "\t" separates the text from the accelerator shown at the right, in both toolkits.
            action = new QAction(text, target);
        }
        action->setEnabled((item.state & kGrayed) == 0);
        if ((item.state & kChecked) != 0) {
            // The check mark stays: only the menu's program would take it away.
            action->setCheckable(true);
            action->setChecked(true);
            QObject::connect(action, &QAction::toggled, action, [action] {
                const QSignalBlocker block(action);
                action->setChecked(true);
            });
        }
        if ((item.state & kDefault) != 0) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
        target->addAction(action);
    }
    return true;
}
} // namespace

QMenuBar *MakeDialogMenuBar(const Menu &menu, QWidget *parent, qsizetype &quota) {
    auto bar = std::make_unique<QMenuBar>(parent);
    bar->setNativeMenuBar(false); // it belongs to the preview, not to the desktop's global menu
    if (!AddItems(bar.get(), menu, quota)) return nullptr;
    return bar.release();
}
