#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace zelvo {

class BusySign;
class PictureBox;
class PictureDocument;
class PictureDocuments;

// The main window's preview: the selected file's picture at the size the preview shows it, from
// the file's document, which the tile window shares, a busy sign while that takes a while, and a
// new version of the file saved by another program shown as the document loads it.
class PicturePreview : public QObject
{
    Q_OBJECT
public:
    // Why the preview loads a picture, which decides what one that cannot be loaded does.
    enum class For { Click, TileWindow };

    PicturePreview(PictureBox& box, PictureDocuments& documents, QObject* parent = nullptr);

    // Until the picture arrives the preview keeps what it shows, and the file is not watched.
    void show(const QString& path, For purpose);
    // An emptied preview waits for nothing any more, and watches nothing.
    void clear();
    // A picture is on its way.
    [[nodiscard]] bool loading() const { return m_waiting; }

signals:
    // The file could not be loaded, and the preview is empty; a new version that cannot be
    // loaded yet leaves the last good picture, and is not reported.
    void cannotShow(zelvo::PicturePreview::For purpose);

private:
    void loaded();
    void failed();
    // Lets the document go, and what it reports with it.
    void letGo();

    PictureBox& m_box;
    PictureDocuments& m_documents;
    BusySign* m_busy;
    std::shared_ptr<PictureDocument> m_document;
    For m_purpose = For::Click;
    bool m_waiting = false;
};

} // namespace zelvo
