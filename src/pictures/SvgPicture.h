#pragma once

#include "LoadControl.h"
#include "PictureFile.h"
#include "PictureLoader.h"

#include <QByteArray>
#include <QImage>

namespace zelvo {

// An SVG drawn by Qt SVG within the budget: at its declared size, or at the zoom level the
// request asks for, its copies as large as the tile window's at that level; at a preview's size
// drawn at that size. Drawn a strip of rows at a time, with a look at the guard between strips.
// Null when it cannot be loaded: no usable size, more pixels than the budget holds, markup that
// is not an SVG or would take too long to walk.
[[nodiscard]] QImage loadSvg(const PictureFile& file, QByteArray head,
                             const PictureRequest& request, const LoadGuard& guard);

// Whether a loaded picture was drawn from an SVG, and so may be drawn again at another size.
[[nodiscard]] bool isDrawnPicture(const QImage& picture);

} // namespace zelvo
