#include "RepeatTile.h"

#include <QFileInfo>
#include <QPainter>
#include <QStringList>

namespace zelvo {

namespace {

template <class Words> auto forWord(const Words& words, const QString& word)
{
    for (const auto& entry : words) {
        if (word == QLatin1String(entry.word))
            return std::optional(entry);
    }
    return std::optional<typename Words::value_type>();
}

template <class Words> QString wordList(const Words& words)
{
    QStringList list;
    for (const auto& entry : words)
        list.append(QLatin1String(entry.word));
    return list.join(QLatin1Char('|'));
}

} // namespace

std::optional<Repeat> repeatForWord(const QString& word)
{
    if (const auto entry = forWord(RepeatWords, word))
        return entry->repeat;
    return std::nullopt;
}

std::optional<Ground> groundForWord(const QString& word)
{
    if (const auto entry = forWord(GroundWords, word))
        return entry->ground;
    return std::nullopt;
}

QString repeatWordList()
{
    return wordList(RepeatWords);
}

QString groundWordList()
{
    return wordList(GroundWords);
}

QImage repeatTile(const QImage& picture, const RepeatOrder& order)
{
    if (picture.isNull())
        return {};
    const QSize copy = picture.size();
    const bool transparent = picture.hasAlphaChannel();
    const bool keepTransparent =
        transparent && order.ground == Ground::Face && order.use == GroundUse::KeepTransparency;
    QImage tile(repeatTileSize(order.repeat, copy),
                keepTransparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (tile.isNull())
        return {};
    QPainter painter(&tile);
    if (transparent && !keepTransparent) {
        painter.fillRect(tile.rect(), groundBrush(order.ground, order.face));
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        tile.fill(Qt::transparent);
    }
    // Copies of the rows and columns before the first reach into the period where the repeat
    // system shifts its copies by half of one.
    const QSize period = repeatPeriod(order.repeat);
    for (int column = -1; column <= period.width(); ++column) {
        for (int row = -1; row <= period.height(); ++row) {
            const CopyPlace place = copyPlace(order.repeat, copy, column, row);
            if (!QRect(place.topLeft, copy).intersects(tile.rect()))
                continue;
            const bool turned = place.mirroredAcross || place.mirroredDown;
            painter.drawImage(place.topLeft,
                              turned ? picture.mirrored(place.mirroredAcross, place.mirroredDown)
                                     : picture);
        }
    }
    painter.end();
    return keepTransparent ? tile.convertToFormat(QImage::Format_ARGB32) : tile;
}

QString repeatFileName(const QString& picturePath, Repeat repeat)
{
    const QString system =
        QString::fromLatin1(repeatSystem(repeat).name).toLower().replace(QLatin1Char(' '), '-');
    return QFileInfo(picturePath).completeBaseName() + QLatin1Char(' ') + system +
           QStringLiteral(".png");
}

} // namespace zelvo
