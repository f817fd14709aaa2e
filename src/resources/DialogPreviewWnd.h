#pragma once
// The one live dialog preview, kept as a plain object pointer so that the module's release can
// destroy it without knowing what kind of window it is.
#include <QObject>
#include <QPointer>

inline QPointer<QObject> DialogPreviewWnd;

// Destroys the preview, if there is one, and forgets it.
inline void DestroyDialogPreview() {
    delete DialogPreviewWnd.data();
    DialogPreviewWnd = nullptr;
}
