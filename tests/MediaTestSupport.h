#pragma once
// Helpers of the media tests: FFmpeg's command line as the reference decoder, resource bytes of
// real libraries, and waiting for the event loop.
#include "resources/ModuleCatalogue.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>
#include <vector>

inline const QString kWineLibraries = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

// The resource's bytes as the file stores them under this exact entry.
inline QByteArray ResourceOf(const QString &file, const ResourceId &type, const ResourceId &name) {
    const auto module = ModuleCatalogue::Open(file);
    if (!module) return {};
    const auto data = module->Bytes({type, name});
    if (!data) return {};
    return QByteArray(reinterpret_cast<const char *>(data->data()), static_cast<qsizetype>(data->size()));
}

// Runs a program and gives its standard output; empty when it fails.
inline QByteArray RunTool(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return process.readAllStandardOutput();
}

// Every frame that FFmpeg's command line decodes from the file, as packed RGB 8:8:8.
inline std::vector<QByteArray> ReferenceFrames(const QString &file, int width, int height) {
    const QByteArray all = RunTool(
        QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), file,
                                   QStringLiteral("-fps_mode"), QStringLiteral("passthrough"),
                                   QStringLiteral("-f"), QStringLiteral("rawvideo"),
                                   QStringLiteral("-pix_fmt"), QStringLiteral("rgb24"), QStringLiteral("-")});
    const qsizetype frameBytes = static_cast<qsizetype>(width) * height * 3;
    std::vector<QByteArray> frames;
    for (qsizetype at = 0; frameBytes > 0 && at + frameBytes <= all.size(); at += frameBytes)
        frames.push_back(all.mid(at, frameBytes));
    return frames;
}

// A picture's pixels as packed RGB 8:8:8, row after row without padding.
inline QByteArray PackedRgb(const QImage &image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray out;
    for (int y = 0; y < rgb.height(); ++y)
        out.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    return out;
}

// Runs the event loop until the condition holds or the time is up; the condition's last value.
inline bool WaitUntil(const std::function<bool()> &condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}
