#pragma once

#include "BackgroundLoader.h"
#include "PictureWatch.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

namespace zelvo {

// One picture file as the windows show it, shared by all of them: loaded beside them, once, with
// what is made from its pixels (the tile window's part, its part at the smallest zoom, the copy
// its seams are judged on, the preview's copy), and watched for new versions, which every window
// showing it then shows.
//
// A picture whose whole fits the loading budget is decoded once, for the tile window, in one pass:
// the window's part is there as soon as its rows are in, the whole follows, and every other size
// is made from the pixels in memory. One larger than that, one drawn from a description (an SVG)
// and one that cannot be decoded whole but in part are loaded in parts: the window's part first,
// the pixels beyond it once asked for (loadBeyond). A preview alone, with no tile window, loads
// the picture at the preview's size only.
class PictureDocument : public QObject
{
    Q_OBJECT
public:
    PictureDocument(const QString& path, PictureWorkers& workers);

    [[nodiscard]] const QString& path() const { return m_path; }

    // For a window showing a part of this size at 100%, whose whole pictures are laid in the
    // pool's memory. True where the pixels in memory hold it already; otherwise loaded() or
    // cannotLoad() follows.
    bool loadPart(QSize box, const std::shared_ptr<LargeImagePool>& pool = {});
    // The window no longer shows the file: what was loaded for it is let go.
    void releasePart();
    // The window is about to show another file: the loads for it stop, and what is in memory stays.
    // Resumed, what was on its way is asked for again.
    void pause();
    void resume();
    // The pixels beyond the part, for the smallest zoom and the seam check; widened() follows.
    // Ahead: loaded before the window needs them, without a busy sign.
    void loadBeyond(bool ahead);
    // The preview's copy at this size (stretched). True where it is in memory already; otherwise
    // previewLoaded() or previewFailed() follows.
    bool loadPreview(QSize size);
    // Loads the file again, as when it changed, keeping what is shown until the new version is in.
    void reload();
    // Stops every load; nothing is reported any more.
    void abandon();

    // The pixels for a window at 100%: the part of the box, or the whole where that is smaller.
    [[nodiscard]] const QImage& part() const { return m_part; }
    // The pixels for the smallest zoom: four times the box each way, or what is in memory.
    [[nodiscard]] const QImage& wider() const;
    // The pixels the seams are judged on: the whole, reduced where it is larger than wider().
    [[nodiscard]] const QImage& forSeams() const;
    [[nodiscard]] const QImage& preview() const { return m_preview; }
    // Whether the pixels in memory hold a part of that size, or the whole picture.
    [[nodiscard]] bool holds(QSize box) const;
    // Whether the pixels cut at the box leave out some of the picture, which loadBeyond loads.
    [[nodiscard]] bool cut() const;
    // The size of the whole picture: by its file's header, or by its pixels where they are whole.
    [[nodiscard]] QSize wholeSize() const;
    [[nodiscard]] const PictureMeasure& measure() const { return m_measure; }
    // A load is running or about to start; one for the part is taking a while.
    [[nodiscard]] bool busy() const;
    [[nodiscard]] bool slow() const { return m_loaderSlow; }

    // How many times larger each way than the box the part at the smallest zoom is.
    static constexpr int WiderFactor = 4;
    // The side of the reduced copy on which the seams of a picture larger than that are judged.
    static constexpr int JudgedSide = 512;

signals:
    // Pixels for the part are in memory: the first, the part's in place of a smaller one, or a new
    // version's.
    void loaded(bool newVersion);
    // The part cannot be loaded; a new version that cannot be loaded leaves the last good one, and
    // is not reported.
    void cannotLoad();
    // More of the picture is in memory.
    void widened();
    void previewLoaded(bool newVersion);
    void previewFailed();
    // A load for the tile window, and one the preview waits for, is taking a while.
    void slowChanged(bool slow);
    void previewSlowChanged(bool slow);

private:
    void loadWholeOrPart(QSize box, bool newVersion);
    void partAnswered(QSize box, bool newVersion, const PictureAnswer& answer);
    void startPreview();
    // The preview's copy made from the whole picture in memory, or loaded at its size.
    void makePreview(bool newVersion);
    void loadPreviewFromFile(bool newVersion);
    void previewAnswered(bool newVersion, const PictureAnswer& answer);
    void loadReduced(bool ahead);
    void updatePreviewSlow();
    // The part and the wider part of the box, for the pixels in memory.
    void makeViews();
    // A view of the top-left part of the pixels, without a copy.
    [[nodiscard]] QImage topLeft(QSize size) const;

    QString m_path;
    PictureWatch m_watch;
    BackgroundLoader m_loader;
    BackgroundLoader m_previewLoader;
    // The preview is decided once every window has asked in the same turn of events: a part asked
    // for with it brings the whole, from which the preview is made.
    QTimer m_previewStart;

    // The box the tile window asked for; empty without one. The pixels in memory, for the box
    // they were loaded for, are the whole picture or the part.
    QSize m_wantedBox;
    std::shared_ptr<LargeImagePool> m_pool;
    QSize m_box;
    QImage m_pixels;
    bool m_whole = false;
    // The load of the whole or the part running is for this box; it has answered with its first
    // part.
    QSize m_loadingBox;
    bool m_firstShown = false;
    // A new version of the file is on its way, or was when its load was paused.
    bool m_versionWaiting = false;
    QImage m_part;
    QImage m_wider;
    QImage m_reduced;
    PictureMeasure m_measure;

    QSize m_previewSize;
    QImage m_preview;
    bool m_previewWaiting = false;
    bool m_previewSlow = false;
    bool m_loaderSlow = false;
    bool m_previewLoaderSlow = false;
};

} // namespace zelvo
