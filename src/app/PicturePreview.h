#pragma once

#include <QObject>
#include <QString>

class QImage;

namespace zelvo {

class BackgroundLoader;
class BusySign;
class PictureBox;
class PictureWatch;
class PictureWorkers;

// The main window's preview: the selected file's picture loaded beside the window at the size
// the preview shows it, a busy sign while that takes a while, and a watch that loads a new
// version of the file saved by another program.
class PicturePreview : public QObject
{
    Q_OBJECT
public:
    // Why the preview loads a picture, which decides what one that cannot be loaded does.
    enum class For { Click, TileWindow, NewVersion };

    PicturePreview(PictureBox& box, PictureWorkers& workers, QObject* parent = nullptr);

    // Until the picture arrives the preview keeps what it shows, and the file is not watched.
    void show(const QString& path, For purpose);
    // An emptied preview waits for nothing any more, and watches nothing.
    void clear();
    // A picture is on its way.
    [[nodiscard]] bool loading() const;

signals:
    // The file could not be loaded, and the preview is empty; a new version that cannot be
    // loaded yet leaves the last good picture, and is not reported.
    void cannotShow(zelvo::PicturePreview::For purpose);

private:
    void load(const QString& path, For purpose);
    void loaded(const QString& path, const QImage& picture);
    void failed(For purpose);

    PictureBox& m_box;
    PictureWatch* m_watch;
    BackgroundLoader* m_loads;
    BusySign* m_busy;
};

} // namespace zelvo
