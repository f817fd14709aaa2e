// The text pane over arbitrary UTF-16 text (lone surrogates, separators, control characters, lines
// of any length): shown, painted, selected with keys and the mouse, copied. The first byte picks
// the keys and the points; the rest is the text.
#include "views/display/TextBox.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdint>
#include <cstring>

// Qt and fontconfig keep caches for the life of the process, which the leak checker would report.
extern "C" const char *__asan_default_options() {
    return "detect_leaks=0";
}

namespace {
void Key(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

void Mouse(QWidget *target, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, modifiers);
    QApplication::sendEvent(target, &event);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_text_box";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)app;
    static TextBox *box = [] {
        auto *b = new TextBox;
        b->resize(300, 150);
        b->show();
        return b;
    }();
    if (size < 1) return 0;
    const std::uint8_t choice = data[0];
    QString text(static_cast<qsizetype>((size - 1) / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data + 1, static_cast<std::size_t>(text.size()) * 2);

    box->setText(text);
    if (box->text() != text) __builtin_trap();
    QWidget *view = box->viewport();
    static const std::pair<Qt::Key, Qt::KeyboardModifiers> kKeys[] = {
        {Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Left, Qt::ShiftModifier},
        {Qt::Key_Up, Qt::ShiftModifier},    {Qt::Key_Right, Qt::ControlModifier},
        {Qt::Key_End, Qt::ShiftModifier},   {Qt::Key_PageDown, Qt::NoModifier},
    };
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        if (choice & (1u << i)) Key(box, kKeys[i].first, kKeys[i].second);
    const QPoint from((choice * 37) % 300, (choice * 11) % 150),
        to((choice * 101) % 400 - 50, (choice * 7) % 200 - 25);
    Mouse(view, QEvent::MouseButtonPress, from, (choice & 0x40) ? Qt::ShiftModifier : Qt::NoModifier);
    Mouse(view, QEvent::MouseMove, to);
    Mouse(view, QEvent::MouseButtonRelease, to);
    if (choice & 0x80) {
        QMouseEvent twice(QEvent::MouseButtonDblClick, from, view->mapToGlobal(from), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &twice);
    }
    QImage painted(box->size(), QImage::Format_ARGB32_Premultiplied);
    box->render(&painted);

    // What is selected is a part of the text (line breaks given as line feeds).
    const QString plain = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!plain.contains(box->selectedText())) __builtin_trap();
    box->selectAll();
    if (box->selectedText() != plain) __builtin_trap();
    return 0;
}
