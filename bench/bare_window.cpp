// The peer of bench_startup: the least a Qt Widgets program does to put a window on the screen,
// at the size of the main window, built with the same compiler and flags as the program. With
// --text the window shows one line of text, which costs a program its fonts.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Зорвика"));
    window.resize(704, 480);
    if (QApplication::arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Ресурсы файлов Windows"), &window))->move(10, 10);
    window.show();
    return QApplication::exec();
}
