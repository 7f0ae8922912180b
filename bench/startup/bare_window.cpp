// The start-up baseline: a bare Qt window of the main window's size, frameless, dark navy.
#include <QApplication>
#include <QPalette>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setFixedSize(497, 432);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0x00, 0x00, 0x40));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.show();
    return QApplication::exec();
}
