#pragma once

#include <QString>

namespace zelvo::bench {

// Writes a width x height JPEG by streaming a PPM, row by row, into cjpeg, so that the whole
// picture is never held in memory anywhere, progressive when asked. False when cjpeg is missing
// or failed.
[[nodiscard]] bool writeHugeJpeg(const QString& path, int width, int height, int quality,
                                 bool progressive = false);

} // namespace zelvo::bench
