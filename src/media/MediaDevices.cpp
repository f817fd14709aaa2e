#include "media/MediaDevices.h"

#include <QList>
#include <QPointer>

namespace {
QList<QPointer<QObject>> &Devices() {
    static QList<QPointer<QObject>> devices;
    return devices;
}
} // namespace

void MediaDevices::Register(QObject *device) {
    Devices().append(device);
}

void MediaDevices::CloseAll() {
    const auto devices = std::exchange(Devices(), {});
    for (const QPointer<QObject> &d : devices)
        delete d.data();
}

bool MediaDevices::AnyOpen() {
    for (const QPointer<QObject> &d : Devices())
        if (!d.isNull()) return true;
    return false;
}
