#pragma once

#include "LoadControl.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace zelvo {

// The largest SVG file read; pattern files exported by drawing programs stay well under it.
inline constexpr qint64 MaxSvgFileBytes = 16 * 1024 * 1024;
// The most elements an SVG may draw, each copy a <use> makes counted, and the deepest they may
// nest: Qt SVG walks them all for every strip drawn, and cannot be stopped inside a walk.
inline constexpr qint64 MaxSvgDrawnElements = 50'000;
inline constexpr int MaxSvgDepth = 64;

// Whether the leading bytes look like an SVG: markup whose root element is <svg>.
[[nodiscard]] bool looksLikeSvg(QByteArrayView head);

// An SVG read through once, within bounds; where it has a document type (which may declare
// entities) or refers to anything outside the document, written out again for Qt SVG without
// them: no entity is expanded twice, and an <image> whose picture is not in the document itself
// is left out.
struct SvgDocument
{
    QByteArray cleaned;
    // The root's width and height in pixels, from its units at 96 to the inch; else from its
    // view box.
    QSizeF size;
    // Empty where the root declares none.
    QRectF viewBox;
    // Elements drawn, with every <use> expanded.
    qint64 drawnElements = 0;
};

// Nothing for what is not well-formed markup with an <svg> root, declares no usable size, nests
// deeper or draws more than the bounds above, has a <use> that refers to itself, or is to stop.
[[nodiscard]] std::optional<SvgDocument> readSvgDocument(QByteArray bytes, const LoadGuard& guard);

} // namespace zelvo
