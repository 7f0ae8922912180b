#include "PictureDocuments.h"

#include "PictureDocument.h"

namespace zelvo {

PictureDocuments::PictureDocuments(PictureWorkers& workers) : m_workers(workers) {}

PictureDocuments::~PictureDocuments() = default;

std::shared_ptr<PictureDocument> PictureDocuments::open(const QString& path)
{
    if (std::shared_ptr<PictureDocument> held = m_open.value(path).lock())
        return held;
    m_open.removeIf([](const auto& entry) { return entry.value().expired(); });
    auto* document = new PictureDocument(path, m_workers);
    document->setParent(&m_owner);
    // Let go from within one of its own signals, perhaps: it ends once that has returned.
    std::shared_ptr<PictureDocument> held(document, [](PictureDocument* ended) {
        ended->abandon();
        ended->deleteLater();
    });
    m_open.insert(path, held);
    return held;
}

} // namespace zelvo
