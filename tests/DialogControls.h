#pragma once
// A previewed dialog's controls, found by their identifiers in the template.
#include "views/dialogs/DialogWindow.h"

#include <QWidget>

inline QWidget *Control(const DialogWindow &window, unsigned id) {
    for (QObject *child : window.client()->children())
        if (child->isWidgetType() && child->property("dialogItemId").toULongLong() == id)
            return static_cast<QWidget *>(child);
    return nullptr;
}

// The control itself, or the widget of that kind inside it (a control wrapped in its border).
template <typename T> T *ControlAs(const DialogWindow &window, unsigned id) {
    QWidget *w = Control(window, id);
    if (w == nullptr) return nullptr;
    if (auto *direct = qobject_cast<T *>(w)) return direct;
    return w->findChild<T *>();
}
