// A second program for the real-window tests: a window from which a press drags the file or
// folder named on the command line, as a file manager does, offering to copy or move it and
// proposing a move. It prints the action the drop took: 1 copy, 2 move, 0 none.
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QRasterWindow>
#include <QUrl>

#include <cstdio>

class DragSource : public QRasterWindow
{
public:
    explicit DragSource(const QString& path) : m_path(path) {}

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(m_path)});
        // Kept once the drop is sent: the target asks for the data after it.
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        std::printf("%d\n", int(drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction)));
        std::fflush(stdout);
    }

private:
    QString m_path;
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    DragSource window(QString::fromLocal8Bit(argc > 1 ? argv[1] : ""));
    window.setGeometry(20, 60, 120, 120);
    window.show();
    return QGuiApplication::exec();
}
