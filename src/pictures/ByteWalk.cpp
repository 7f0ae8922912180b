#include "ByteWalk.h"

namespace zelvo {

namespace {

constexpr qint64 WindowBytes = 64 * 1024;

} // namespace

std::optional<uchar> ByteWalk::at(qint64 offset)
{
    if (offset < 0 || offset >= m_end)
        return std::nullopt;
    const qint64 inWindow = offset - m_windowStart;
    if (inWindow >= 0 && inWindow < m_window.size())
        return uchar(m_window[inWindow]);
    if (!m_file || m_guard->stopped())
        return std::nullopt;
    m_read.resize(WindowBytes);
    const qint64 got = m_file->readAt(offset, m_read.data(), WindowBytes);
    if (got <= 0) {
        m_end = offset;
        return std::nullopt;
    }
    m_windowStart = offset;
    m_window = QByteArrayView(m_read.constData(), got);
    return uchar(m_window[0]);
}

std::optional<quint16> ByteWalk::le16At(qint64 offset)
{
    const std::optional<uchar> low = at(offset);
    const std::optional<uchar> high = at(offset + 1);
    if (!low || !high)
        return std::nullopt;
    return quint16(*low | (*high << 8));
}

} // namespace zelvo
