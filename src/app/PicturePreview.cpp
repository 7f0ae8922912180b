#include "PicturePreview.h"

#include "pictures/PictureDocument.h"
#include "pictures/PictureDocuments.h"
#include "widgets/BusySign.h"
#include "widgets/PictureBox.h"

#include <QFileInfo>

namespace zelvo {

PicturePreview::PicturePreview(PictureBox& box, PictureDocuments& documents, QObject* parent)
    : QObject(parent), m_box(box), m_documents(documents),
      m_busy(new BusySign(box, Qt::BottomLeftCorner))
{
}

void PicturePreview::show(const QString& path, For purpose)
{
    std::shared_ptr<PictureDocument> document = m_documents.open(path);
    if (document != m_document) {
        letGo();
        m_document = std::move(document);
        PictureDocument* shown = m_document.get();
        connect(shown, &PictureDocument::previewLoaded, this, &PicturePreview::loaded);
        connect(shown, &PictureDocument::previewFailed, this, &PicturePreview::failed);
        connect(shown, &PictureDocument::previewSlowChanged, m_busy, &BusySign::setBusy);
    }
    m_purpose = purpose;
    m_waiting = true;
    const QSize size = m_box.pictureArea().size() * m_box.devicePixelRatioF();
    if (m_document->loadPreview(size))
        loaded();
}

void PicturePreview::clear()
{
    letGo();
    m_box.clearPicture();
}

// A new version that cannot be loaded leaves the last good picture, and is not reported.
void PicturePreview::loaded()
{
    m_waiting = false;
    QPixmap shown = QPixmap::fromImage(m_document->preview());
    shown.setDevicePixelRatio(m_box.devicePixelRatioF());
    m_box.setPicture(shown, QFileInfo(m_document->path()).fileName());
}

void PicturePreview::failed()
{
    const For purpose = m_purpose;
    clear();
    emit cannotShow(purpose);
}

void PicturePreview::letGo()
{
    m_waiting = false;
    m_busy->setBusy(false);
    if (!m_document)
        return;
    disconnect(m_document.get(), nullptr, this, nullptr);
    disconnect(m_document.get(), nullptr, m_busy, nullptr);
    m_document.reset();
}

} // namespace zelvo
