#pragma once

#include "pictures/BackgroundLoader.h"
#include "pictures/LargeImage.h"

#include <QImage>
#include <QLocale>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

namespace zelvo {

class PictureDocument;
class PictureDocuments;

// The pictures of the tile window's files, as documents shared with the main window's preview:
// the one on show, and the one being opened or stepped to until it is in memory. The part the
// window shows at 100% comes first; the pixels beyond it (the part at the smallest zoom, the copy
// the seams are judged on) once the window has rested a moment, or at once when a reduction or the
// seam check asks for them. A picture drawn from a description (an SVG) is drawn again at each
// zoom level.
class TilePictures : public QObject
{
    Q_OBJECT
public:
    // Why a file is loaded, which decides what a file that cannot be loaded does. Rearranged:
    // more of the file on show is wanted, for a repeat system that shifts its copies.
    enum class Arrival { Opening, Step, NewVersion, Rearranged };

    TilePictures(PictureDocuments& documents, PictureWorkers& workers, QObject* parent = nullptr);
    ~TilePictures() override;

    // Loads the file, first its part of the given size (what the window shows at 100%), beside
    // the picture on show, which stays until it is in memory. A step in place of a step on its way;
    // a new version: the file on show is loaded again.
    void load(const QString& path, QSize part, Arrival arrival);
    // The window now shows a part of the given size: what is on its way is asked for with it, and
    // the file in memory is loaded again where its part was cut short of it.
    void widenTo(QSize part);
    // Whether the part in memory holds one of the given size, or the whole picture.
    [[nodiscard]] bool holds(QSize part) const;
    // Nothing on its way is wanted any more; the picture on show stays.
    void cancel();
    // Whether the pixels beyond the window are wanted now rather than once the window rests.
    void setWholeWanted(bool wanted);

    // The picture to draw at the zoom level, and the one to judge the seams on: the best of what
    // is in memory.
    [[nodiscard]] const QImage& forZoom(int zoom) const;
    // A picture drawn from a description (an SVG) is drawn again at each zoom level other than
    // 100%, as large as the part of one copy the window shows; null until it is in memory.
    [[nodiscard]] bool drawn() const;
    void drawAt(int zoom, QSize part);
    [[nodiscard]] QImage drawnAt(int zoom) const;
    [[nodiscard]] const QImage& forSeams() const;
    // The size of the whole picture in memory, by its file's header or by the picture itself
    // where that is whole; empty where neither tells. With the resolution its file stores.
    [[nodiscard]] QSize wholeSize() const;
    [[nodiscard]] std::optional<StoredResolution> resolution() const;
    // "1500 x 1500 px, 12.7 x 12.7 cm at 300 dpi", in the system's measure; empty while the
    // whole size is not known.
    [[nodiscard]] QString realSize(QLocale::MeasurementSystem system) const;
    // A load is running or about to start.
    [[nodiscard]] bool busy() const;
    // The file of the picture in memory, or, until one is, of the picture being opened.
    [[nodiscard]] QString path() const;
    // The file of the picture in memory; empty until one is.
    [[nodiscard]] QString shownPath() const;

    // How long the window rests before the pixels beyond it are loaded.
    static constexpr int RestMs = 300;

signals:
    // A new picture of the file is in memory.
    void shown(const QString& path, zelvo::TilePictures::Arrival arrival);
    void cannotShow(const QString& path, zelvo::TilePictures::Arrival arrival);
    // More of the picture is in memory.
    void widened();
    void slowChanged(bool slow);

private:
    using Document = std::shared_ptr<PictureDocument>;

    // Takes the document into the slot, following what it reports.
    void hold(Document& slot, Document document);
    // Lets the slot's document go; one no other slot holds is no longer followed.
    void letGo(Document& slot);
    // The slot's document is the one on show, in place of the one before.
    void showNow(Document& slot);
    [[nodiscard]] bool held(const PictureDocument* document) const;
    void arrived(PictureDocument* document, bool newVersion);
    void failed(PictureDocument* document);
    // The pixels beyond the window, now or once it rests, where some are left out.
    void wantBeyond();
    void updateSlow();

    PictureDocuments& m_documents;
    // The memory of the last whole picture let go, for the next one of its size.
    std::shared_ptr<LargeImagePool> m_pool = std::make_shared<LargeImagePool>();
    // Beside the loads of the picture at its own size, so that neither stops the other.
    BackgroundLoader m_drawLoader;
    QTimer m_restTimer;
    Document m_shown;
    Document m_opening;
    Document m_stepping;
    QSize m_box;
    bool m_wholeWanted = false;
    bool m_slow = false;
    QImage m_drawn;
    int m_drawnZoom = 0;
    // What the drawing on its way is for.
    int m_drawingZoom = 0;
    QSize m_drawingPart;
};

} // namespace zelvo
