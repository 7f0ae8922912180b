#include "PictureFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zelvo {

namespace {

// Platform-specific: POSIX descriptors, with the Windows CRT's equivalents. On Windows a pipe
// has no name in a folder, so only the regular-file check matters there.
#ifdef Q_OS_WIN
using FileStat = struct _stat64;
int openForReading(const QString& path)
{
    return ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()), _O_RDONLY | _O_BINARY);
}
int statOf(int descriptor, FileStat* stat)
{
    return ::_fstat64(descriptor, stat);
}
bool isRegular(const FileStat& stat)
{
    return (stat.st_mode & _S_IFMT) == _S_IFREG;
}
qint64 modifiedOf(const FileStat& stat)
{
    return qint64(stat.st_mtime) * 1000000000;
}
qint64 readFrom(int descriptor, qint64 offset, char* into, qint64 maxBytes)
{
    if (::_lseeki64(descriptor, offset, SEEK_SET) != offset)
        return -1;
    return ::_read(descriptor, into, unsigned(std::min<qint64>(maxBytes, 1 << 30)));
}
void closeDescriptor(int descriptor)
{
    ::_close(descriptor);
}
#else
using FileStat = struct stat;
int openForReading(const QString& path)
{
    // O_NONBLOCK: opening a pipe with no writer, or a device, returns at once instead of
    // waiting; the check on the open descriptor then refuses it.
    const QByteArray name = QFile::encodeName(path);
    int descriptor = -1;
    do
        descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}
int statOf(int descriptor, FileStat* stat)
{
    return ::fstat(descriptor, stat);
}
bool isRegular(const FileStat& stat)
{
    return S_ISREG(stat.st_mode);
}
qint64 modifiedOf(const FileStat& stat)
{
    return qint64(stat.st_mtim.tv_sec) * 1000000000 + stat.st_mtim.tv_nsec;
}
qint64 readFrom(int descriptor, qint64 offset, char* into, qint64 maxBytes)
{
    qint64 got = -1;
    do
        got = ::pread(descriptor, into, std::size_t(std::min<qint64>(maxBytes, 1 << 30)),
                      off_t(offset));
    while (got < 0 && errno == EINTR);
    return got;
}
void closeDescriptor(int descriptor)
{
    ::close(descriptor);
}
#endif

} // namespace

std::optional<PictureFile> PictureFile::open(const QString& path)
{
    const int descriptor = openForReading(path);
    if (descriptor < 0)
        return std::nullopt;
    FileStat stat{};
    if (statOf(descriptor, &stat) != 0 || !isRegular(stat) || stat.st_size < 0) {
        closeDescriptor(descriptor);
        return std::nullopt;
    }
    return PictureFile(descriptor, qint64(stat.st_size), modifiedOf(stat));
}

PictureFile::PictureFile(PictureFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)), m_size(other.m_size),
      m_modified(other.m_modified)
{
}

PictureFile::~PictureFile()
{
    if (m_descriptor >= 0)
        closeDescriptor(m_descriptor);
}

qint64 PictureFile::readAt(qint64 offset, char* into, qint64 maxBytes) const
{
    if (maxBytes <= 0 || offset < 0)
        return 0;
    return readFrom(m_descriptor, offset, into, maxBytes);
}

bool PictureFile::unchangedSinceOpen() const
{
    FileStat stat{};
    return statOf(m_descriptor, &stat) == 0 && qint64(stat.st_size) == m_size &&
           modifiedOf(stat) == m_modified;
}

bool PictureFile::readMore(QByteArray& bytes, qint64 maxBytes) const
{
    const qsizetype start = bytes.size();
    // The file may have grown since it was opened; never more than asked.
    const qint64 wanted = std::min(maxBytes, std::max<qint64>(m_size - start, 0));
    if (wanted <= 0)
        return true;
    bytes.resize(start + qsizetype(wanted));
    qint64 filled = 0;
    while (filled < wanted) {
        const qint64 got = readAt(start + filled, bytes.data() + start + filled, wanted - filled);
        if (got < 0) {
            bytes.resize(start);
            return false;
        }
        if (got == 0)
            break;
        filled += got;
    }
    bytes.resize(start + qsizetype(filled));
    return true;
}

} // namespace zelvo
