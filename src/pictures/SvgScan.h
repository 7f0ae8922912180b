#pragma once

#include "LoadControl.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace zelvo::svg {

// The elements of an SVG as a tree, in the order of the markup, with what the <use> elements
// among them copy, and the root's size attributes.
struct Outline
{
    struct Node
    {
        int parent;
        // The id a <use> refers to; empty for other elements.
        QString useTarget;
    };
    std::vector<Node> nodes;
    QHash<QString, int> ids;
    QString width;
    QString height;
    QString viewBox;
    // The pixels of the pictures held in the document itself, by their headers.
    qint64 embeddedPixels = 0;
};

// Whether the markup may go to Qt SVG as it is, must be written out again first, or cannot be
// loaded (it nests too deep, holds too many elements, or is to stop).
enum class Scan { AsItIs, WriteAgain, Refused };

// A quick walk over plain markup: markup with a document type, a reference outside the document
// or an entity in a reference is left to be written out again.
[[nodiscard]] Scan scanPlainMarkup(QByteArrayView bytes, Outline& outline, const LoadGuard& guard);

// The elements drawn, every <use> expanded; nothing for a loop or chain of references too long.
[[nodiscard]] std::optional<qint64> drawnElements(const Outline& outline, qint64 most);

// A reference the document may keep: to one of its own elements, or data within it.
[[nodiscard]] bool inDocument(QStringView reference);

// Whether an <image> whose reference is that may be drawn: one whose picture is held in the
// document, whose header the loader reads, and which fits the room left for such pictures
// (half the budget, for all of them), counted in the outline.
[[nodiscard]] bool embeddedPictureFits(QByteArrayView reference, Outline& outline);

} // namespace zelvo::svg
