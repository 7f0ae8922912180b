#pragma once

#include "pictures/BackgroundLoader.h"

#include <QObject>

namespace zelvo {

class BusySign;
class Platform;
class TileWindow;

// Ctrl+P in the tile window: the whole of the picture on show is loaded beside the window (the
// window may hold only its part), then printed as one page of copies at their size on paper, in
// the window's repeat system and on its ground, on the printer chosen in the print dialog.
class SwatchPrinter : public QObject
{
    Q_OBJECT
public:
    // Pictures load on the workers' threads.
    SwatchPrinter(TileWindow& window, Platform& platform, PictureWorkers& workers);

    void print();
    // The picture is on its way, or the page is being printed.
    [[nodiscard]] bool busy() const { return m_loader.awaited() || m_printing; }

private:
    void loaded(const QString& path, const QImage& picture, const PictureMeasure& measure);
    void cannotPrint();

    TileWindow& m_window;
    Platform& m_platform;
    BackgroundLoader m_loader;
    BusySign* m_busySign;
    bool m_printing = false;
};

} // namespace zelvo
