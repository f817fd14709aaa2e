#pragma once
// A window's one live dialog preview: the dialog that ShowDialog made, which the next selection,
// the next file and the window's end destroy.
#include <QPointer>
#include <QWidget>

class DialogPreview {
public:
    DialogPreview() = default;
    DialogPreview(const DialogPreview &) = delete;
    DialogPreview &operator=(const DialogPreview &) = delete;
    ~DialogPreview() { Destroy(); }

    // The preview, or nullptr when there is none (or its window was closed).
    QWidget *window() const { return window_.data(); }
    // Takes `window` as the preview; whatever was there before is destroyed first.
    void Set(QWidget *window) {
        if (window_ != window) Destroy();
        window_ = window;
    }
    // Destroys the preview, if there is one, and forgets it.
    void Destroy() { delete window_.data(); }

private:
    QPointer<QWidget> window_;
};
