#pragma once

#include "TilePictures.h"
#include "core/Ground.h"
#include "core/RepeatRule.h"
#include "core/SeamRule.h"
#include "core/StepRule.h"

#include <QObject>
#include <QSize>
#include <QTimer>

class QLabel;
class QPropertyAnimation;

namespace zelvo {

class BusySign;
class TileWindow;
class TilingImage;

// The tile window's keys and what they do beyond the press that closes it: zoom, guides, the
// seam check, the repeat system, the ground behind transparent parts, asking to step through the
// main window's list, copying the view, and showing a new version of the picture saved by another
// program. The keys work whichever of the window's controls has the focus; until one is pressed
// the window looks and behaves as without them.
class TileWorkbench : public QObject
{
    Q_OBJECT
public:
    // Pictures load on the workers' threads, as documents shared with the other windows.
    TileWorkbench(TileWindow& window, TilingImage& view, PictureDocuments& documents,
                  PictureWorkers& workers);

    // Loads the file's picture beside the window, in place of every earlier load; once on show
    // it is watched for new versions.
    void load(const QString& path, TilePictures::Arrival arrival);
    void cancelLoads() { m_pictures.cancel(); }
    // A picture is on its way.
    [[nodiscard]] bool loading() const { return m_pictures.busy(); }
    // The file of the picture on show.
    [[nodiscard]] QString shownPath() const { return m_pictures.shownPath(); }
    // Shows the name of a file stepped over, for a moment, where the zoom level shows.
    void showSkipped(const QString& name);

    void setZoom(int zoom);
    void toggleGuides();
    void toggleSeamCheck();
    // The next repeat system and ground, in the order of their tables, round again after the last.
    void stepRepeat();
    void stepGround();
    // Copies the view as shown to the clipboard.
    void copy();
    // Shows the picture's size in pixels and on paper where the zoom level shows; screen readers
    // hear it from then on.
    void showRealSize();
    // Shows the new version of the file, or keeps the picture on show when it cannot be loaded.
    void reload(const QString& path);
    [[nodiscard]] int zoom() const { return m_zoom; }
    [[nodiscard]] bool guides() const { return m_guides; }
    [[nodiscard]] bool seamCheck() const { return m_seamCheck; }
    [[nodiscard]] Repeat repeat() const { return m_repeat; }
    [[nodiscard]] Ground ground() const { return m_ground; }
    [[nodiscard]] const QLabel& zoomLabel() const { return *m_zoomLabel; }
    [[nodiscard]] const TilePictures& pictures() const { return m_pictures; }

    // How long the zoom level, or the name of a repeat system or ground, stays before it fades.
    static constexpr int LabelShownMs = 1000;
    static constexpr int LabelFadeMs = 400;

signals:
    // The file's picture is on show, first or in place of another file's or version's.
    void pictureShown(const QString& path);
    // A new version of the picture is on show.
    void reloaded();
    void cannotShow(const QString& path, zelvo::TilePictures::Arrival arrival);
    // Esc: the window is done with.
    void closeRequested();
    // A key that steps to another file of the main window's list.
    void stepRequested(zelvo::Step step);
    // Another ground is on show.
    void groundChanged(zelvo::Ground ground);
    // Ctrl+S and D: the repeat on show is to be saved, or set as the desktop's background.
    void saveRepeatRequested();
    void setBackgroundRequested();

private:
    [[nodiscard]] SeamVerdict judgeSeams() const;
    // The part of the picture to load first: what the window shows at 100% in the repeat system.
    [[nodiscard]] QSize partBox() const;
    void showZoomLabel();
    void showLabel(const QString& text);
    void updateLook();
    void describeView();

    TileWindow& m_window;
    TilingImage& m_view;
    TilePictures m_pictures;
    // The file asked for last.
    QString m_wantedPath;
    BusySign* m_busySign;
    QLabel* m_zoomLabel;
    QTimer m_labelTimer;
    QPropertyAnimation* m_fade = nullptr;
    int m_zoom = 100;
    bool m_guides = false;
    bool m_seamCheck = false;
    Repeat m_repeat = RepeatSystems.front().repeat;
    // The repeat system the copies are laid in: the one chosen, once enough of the picture is in
    // memory for it.
    Repeat m_laid = m_repeat;
    Ground m_ground = Grounds.front().ground;
    // The verdict of the seam check on show, as screen readers hear it.
    QString m_seamsHeard;
    bool m_realSizeHeard = false;
};

} // namespace zelvo
