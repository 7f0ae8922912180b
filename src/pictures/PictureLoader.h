#pragma once

#include "LoadControl.h"
#include "PictureBudget.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace zelvo {

class LargeImagePool;

// Qt's own limit for one decoded picture, as a second guard behind the loader's budget; set once
// at start-up.
void applyPictureAllocationLimit();

// The reader chosen for a file by its extension: "bmp", "jpeg", "gif", "ico", "png", "webp",
// "tiff" or "svg"; nothing for any other extension, whose content then chooses among those.
[[nodiscard]] std::optional<QByteArray> pictureFormatFor(const QString& path);

struct PictureRequest
{
    // When valid: the picture is wanted at this size (stretched), decoded at a reduced size
    // where the reader can do that.
    QSize scaledTo;
    // When valid: only the top-left part of this size is wanted, decoded alone where the
    // reader can do that.
    QSize clippedTo;
    // Only a file written to its end, and not changed while it is read: a JPEG with its
    // end-of-image marker, a GIF with its trailer, an icon holding every picture its directory
    // lists, a PNG with its end chunk, a WebP as long as its container says. A file being
    // written is then not shown half done.
    bool completeOnly = false;
    // The zoom level, in percent, at which a picture drawn from a description (an SVG) is
    // drawn, as large as the tile window shows a copy at that level; others ignore it.
    int zoom = 100;
    // When valid, for a whole JPEG: a copy of the picture's top-left part of this size is handed
    // to firstPartReady, on the loading thread, as soon as its rows are decoded, while the rest
    // is decoded on. Other readers give their picture whole.
    QSize firstPart{};
    std::function<void(const QImage&)> firstPartReady{};
    // Where a large JPEG's decoded picture is laid, when not in memory of its own.
    std::shared_ptr<LargeImagePool> pool{};
};

enum class LoadOutcome {
    Loaded,
    // Not a picture that can be loaded within the budget, the deadline and the request.
    CannotLoad,
    // A stop was asked for before the load was done.
    Cancelled,
};

struct LoadedPicture
{
    // Null unless loaded.
    QImage image;
    LoadOutcome outcome = LoadOutcome::CannotLoad;
};

// Loads a picture within the budget: at most PictureBudgetBytes of memory for the whole load, no
// more bytes read or decoding work done than a real picture of its size can need, and no work
// past PictureWorkLimitMs or the control's deadline, or once a stop is asked for. The decoders
// look at the control between steps of a few milliseconds at most.
//
// A file whose picture data ends with the file before the picture does (a download stalled part
// of the way, a bitmap missing rows) cannot be loaded: what is shown is never partly made up. A
// file whose data is all there but whose closing marker is missing, as some cameras write them,
// is loaded unless the request asks for complete files only.
[[nodiscard]] LoadedPicture loadPicture(const QString& path, const PictureRequest& request,
                                        const LoadControl& control);

// The whole picture where it fits the budget, or else its top-left part of the given size (a
// JPEG's part handed first to partReady, if given, as request.firstPart describes), as a load
// clipped to that part gives it. A file whose whole picture cannot be loaded but whose part can
// (too large, or damaged past the part) gives the part; a picture drawn from a description is
// drawn as a part. For a complete file only, nothing is handed first: no part of it is shown
// before its end is read.
struct WholeOrPart
{
    LoadedPicture loaded;
    bool whole = false;
};
[[nodiscard]] WholeOrPart loadWholeOrPart(const QString& path, QSize part, bool completeOnly,
                                          const LoadControl& control,
                                          const std::function<void(const QImage&)>& partReady,
                                          const std::shared_ptr<LargeImagePool>& pool = {});

// The same, within the loader's own deadline: a null image when it cannot be loaded.
[[nodiscard]] QImage loadPicture(const QString& path, const PictureRequest& request = {});

} // namespace zelvo
