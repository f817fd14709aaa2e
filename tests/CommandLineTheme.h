#pragma once
// The desktop theme's 3D colours set, for the life of the object, to the fixed ones the command
// line draws with, so that what the window saves and what the command writes compare byte for byte.
#include "imaging/SystemColours.h"

#include <QGuiApplication>
#include <QPalette>

class CommandLineTheme {
public:
    CommandLineTheme() {
        const SystemColours fixed;
        QPalette palette = saved_;
        palette.setColor(QPalette::Dark, QColor::fromRgb(fixed.shadow3D));
        palette.setColor(QPalette::Button, QColor::fromRgb(fixed.face3D));
        palette.setColor(QPalette::Midlight, QColor::fromRgb(fixed.light3D));
        QGuiApplication::setPalette(palette);
    }
    CommandLineTheme(const CommandLineTheme &) = delete;
    CommandLineTheme &operator=(const CommandLineTheme &) = delete;
    ~CommandLineTheme() { QGuiApplication::setPalette(saved_); }

private:
    const QPalette saved_ = QGuiApplication::palette();
};
