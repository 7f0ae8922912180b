#pragma once

#include <QByteArrayView>
#include <QtEndian>

namespace zelvo {

// A field of a picture file's header, at an offset the caller has checked lies inside it.
[[nodiscard]] inline quint16 le16At(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}
[[nodiscard]] inline quint32 le32At(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}
[[nodiscard]] inline quint32 be32At(QByteArrayView bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.data() + at);
}

} // namespace zelvo
