#pragma once

#include "LoadControl.h"

#include <QByteArray>

namespace zelvo {

// The GIF cut right after the code that completes its first picture. Once a picture is complete
// the reader still unpacks every further code, each into up to thousands of pixels it drops, so
// that a tiny picture followed by a stream of codes that never ends would keep it busy for
// minutes. Past that point nothing can show; later pictures of an animation are never shown
// either. Unchanged when the picture's data ends by itself, for what cannot be walked, and once
// the guard says stop.
[[nodiscard]] QByteArray boundGifWork(QByteArray gif, const LoadGuard& guard);

} // namespace zelvo
