#include "GuardedDevice.h"

#include <algorithm>
#include <cstring>

namespace zelvo {

GuardedDevice::GuardedDevice(const PictureFile& file, const LoadGuard& guard)
    : m_file(&file), m_guard(guard)
{
}

GuardedDevice::GuardedDevice(QByteArrayView bytes, const LoadGuard& guard)
    : m_bytes(bytes), m_guard(guard)
{
}

qint64 GuardedDevice::size() const
{
    return m_file ? m_file->size() : m_bytes.size();
}

bool GuardedDevice::seek(qint64 offset)
{
    if (!QIODevice::seek(offset))
        return false;
    m_at = offset;
    return true;
}

qint64 GuardedDevice::readData(char* data, qint64 maxSize)
{
    // A stopped load, and a read that fails, read as the end of the file, not as -1: libtiff
    // takes -1 for a length and clears the byte before its buffer.
    if (m_guard.stopped())
        return 0;
    const qint64 wanted = std::min(maxSize, size() - m_at);
    if (wanted <= 0)
        return 0;
    qint64 got = wanted;
    if (m_file)
        got = m_file->readAt(m_at, data, wanted);
    else
        std::memcpy(data, m_bytes.data() + m_at, std::size_t(wanted));
    if (got <= 0)
        return 0;
    m_at += got;
    return got;
}

} // namespace zelvo
