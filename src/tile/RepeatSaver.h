#pragma once

#include "core/RepeatTile.h"
#include "desktop/DesktopBackground.h"

#include <QObject>
#include <QString>

#include <stop_token>

class QWidget;

namespace zelvo {

class BusySign;
class PictureWorkers;
class Platform;
class TileWorkbench;
class TilingImage;

// What the tile window makes of the repeat on show: a PNG saved where the user chooses, and the
// desktop's tiled background. The whole picture is loaded for it beside the window, within the
// loading budget, as the window may hold only the part it shows; the repeat is laid and written
// there too, one at a time.
class RepeatSaver : public QObject
{
    Q_OBJECT
public:
    RepeatSaver(QWidget& window, const TileWorkbench& workbench, const TilingImage& view,
                Platform& platform, PictureWorkers& workers);
    ~RepeatSaver() override;

    // Asks where to save the repeat on show, then saves it there.
    void saveRepeat();
    // Sets the repeat on show, flattened on its ground, as the desktop's background.
    void setBackground();
    [[nodiscard]] bool busy() const { return m_busy; }

    static constexpr const char* PngFilter = "PNG picture (*.png)";

signals:
    // The repeat is in the file.
    void saved(const QString& path);
    // A desktop background was set or could not be; the message said which.
    void backgroundDone(bool set);

private:
    [[nodiscard]] RepeatOrder order() const;
    // Shows what is under way in a corner of the window until it is done.
    template <class Work, class Done> void run(const QString& doing, Work work, Done done);

    QWidget& m_window;
    const TileWorkbench& m_workbench;
    const TilingImage& m_view;
    Platform& m_platform;
    PictureWorkers& m_workers;
    BusySign* m_sign;
    std::stop_source m_stop;
    bool m_busy = false;
};

} // namespace zelvo
