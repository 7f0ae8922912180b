#pragma once

class QImage;

namespace zelvo {

// One page on the default printer, no dialog; false when there is no default printer or the
// page could not be handed over.
[[nodiscard]] bool printOnDefaultPrinter(const QImage& image);

} // namespace zelvo
