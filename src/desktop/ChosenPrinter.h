#pragma once

#include "Platform.h"

#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;

namespace zelvo {

// What the user is told when a page cannot be printed.
inline constexpr char CannotPrintPrompt[] = "Can't be printed.";

enum class PrintResult { Printed, Cancelled, Failed };

// Draws one page: given the painter, the size of the printable area in the device's pixels (the
// painter's origin is its top-left corner) and the device's pixels to the inch; false when it
// cannot be drawn.
using PageDrawing = std::function<bool(QPainter& painter, QSizeF printable, double dpi)>;

// Prints one page on the printer, paper and copies chosen in the print dialog over parent, with
// the checks of the print service that printing the window's page makes. Cancelled also where
// parent is gone once the dialog closes: the drawing is then not asked for.
[[nodiscard]] PrintResult printOnChosenPrinter(Platform& platform, QWidget* parent,
                                               const QString& documentName,
                                               const PageDrawing& draw);

} // namespace zelvo
