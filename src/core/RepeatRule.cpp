#include "RepeatRule.h"

#include <QRect>

namespace zelvo {

namespace {

// Rounded towards minus infinity, so that points left of and above the first copy find theirs.
[[nodiscard]] int floorDivided(int value, int by)
{
    const int quotient = value / by;
    return quotient * by > value ? quotient - 1 : quotient;
}

} // namespace

QPoint pictureAt(Repeat repeat, QSize copy, QPoint point)
{
    if (copy.isEmpty())
        return {};
    // Copies are shifted right or down by less than a copy: the one that covers the point lies
    // in the column and row the point falls in without shifts, or the one before.
    const int column = floorDivided(point.x(), copy.width());
    const int row = floorDivided(point.y(), copy.height());
    for (const int c : {column, column - 1}) {
        for (const int r : {row, row - 1}) {
            const CopyPlace place = copyPlace(repeat, copy, c, r);
            if (!QRect(place.topLeft, copy).contains(point))
                continue;
            const QPoint inside = point - place.topLeft;
            return {place.mirroredAcross ? copy.width() - 1 - inside.x() : inside.x(),
                    place.mirroredDown ? copy.height() - 1 - inside.y() : inside.y()};
        }
    }
    return {};
}

} // namespace zelvo
