#pragma once

#include <QIODevice>
#include <QtGlobal>

namespace zelvo {

// Whether a chunk of a PNG is handed to the reader: every critical chunk (the header, the
// palette, the picture's data, the end, and any the reader must refuse), and of the ancillary
// ones only those that change the pixels shown: transparency, gamma, chromaticities, the
// colour space, a colour profile and the significant bits. Texts, suggested palettes, Exif data,
// times and the like only describe the picture, and the reader would unpack and keep them all.
[[nodiscard]] bool pngChunkShown(quint32 type);

// A PNG as the reader needs it to show the picture: the PNG read from the source device, with
// only the chunks pngChunkShown keeps, and one colour profile at most. Dropping whole chunks
// keeps the checksums of the others valid. Read once, from the start, as a stream.
class PngDisplayDevice : public QIODevice
{
public:
    // The source is open, at the start of the PNG, and outlives the device.
    explicit PngDisplayDevice(QIODevice& source) : m_source(source) {}

    [[nodiscard]] bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Passes over the chunks that are not handed on, to the next one that is; false once
    // nothing more is to be read.
    bool nextChunk();

    QIODevice& m_source;
    // What is still to be handed on of the chunk at hand: the signature first.
    qint64 m_left = 8;
    bool m_ended = false;
    bool m_profileSeen = false;
};

} // namespace zelvo
