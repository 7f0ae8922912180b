#include "TilePictures.h"

#include "core/RealSize.h"
#include "core/ZoomRule.h"
#include "pictures/PictureDocument.h"
#include "pictures/PictureDocuments.h"
#include "pictures/SvgPicture.h"

namespace zelvo {

namespace {

const QImage NoPicture;

} // namespace

TilePictures::TilePictures(PictureDocuments& documents, PictureWorkers& workers, QObject* parent)
    : QObject(parent), m_documents(documents), m_drawLoader(workers)
{
    m_restTimer.setSingleShot(true);
    m_restTimer.setInterval(RestMs);
    connect(&m_restTimer, &QTimer::timeout, this, [this] {
        if (m_shown)
            m_shown->loadBeyond(true);
    });
}

TilePictures::~TilePictures()
{
    letGo(m_stepping);
    letGo(m_opening);
    letGo(m_shown);
}

void TilePictures::load(const QString& path, QSize part, Arrival arrival)
{
    m_box = part;
    if (arrival == Arrival::NewVersion) {
        if (m_shown && m_shown->path() == path)
            m_shown->reload();
        return;
    }
    m_restTimer.stop();
    Document document = m_documents.open(path);
    PictureDocument* asked = document.get();
    if (arrival == Arrival::Step) {
        // The picture on show keeps what is in memory; what was on its way of it waits, so that
        // the step has the threads to itself.
        if (m_shown && m_shown != document)
            m_shown->pause();
        hold(m_stepping, std::move(document));
    } else {
        letGo(m_stepping);
        hold(m_opening, std::move(document));
    }
    if (asked->loadPart(part, m_pool))
        arrived(asked, false);
    updateSlow();
}

void TilePictures::widenTo(QSize part)
{
    m_box = part;
    for (const Document& document : {m_stepping, m_opening}) {
        if (document && document->loadPart(part, m_pool))
            arrived(document.get(), false);
    }
    if (m_shown && m_shown->loadPart(part, m_pool))
        emit widened();
}

bool TilePictures::holds(QSize part) const
{
    return !m_shown || m_shown->holds(part);
}

void TilePictures::cancel()
{
    m_restTimer.stop();
    letGo(m_stepping);
    letGo(m_opening);
    m_drawLoader.cancel();
    m_drawingZoom = 0;
    updateSlow();
}

void TilePictures::setWholeWanted(bool wanted)
{
    m_wholeWanted = wanted;
    if (wanted && m_restTimer.isActive()) {
        m_restTimer.stop();
        if (m_shown)
            m_shown->loadBeyond(false);
    }
}

const QImage& TilePictures::forZoom(int zoom) const
{
    if (!m_shown)
        return NoPicture;
    return zoom < NaturalZoom ? m_shown->wider() : m_shown->part();
}

const QImage& TilePictures::forSeams() const
{
    return m_shown ? m_shown->forSeams() : NoPicture;
}

bool TilePictures::drawn() const
{
    return isDrawnPicture(forZoom(NaturalZoom));
}

void TilePictures::drawAt(int zoom, QSize part)
{
    const auto covers = [part](QSize size) {
        return size.width() >= part.width() && size.height() >= part.height();
    };
    if (!drawn() || zoom == NaturalZoom || part.isEmpty() ||
        (zoom == m_drawnZoom && covers(m_drawn.size())) ||
        (zoom == m_drawingZoom && covers(m_drawingPart)))
        return;
    m_drawingZoom = zoom;
    m_drawingPart = part;
    const QString path = m_shown->path();
    m_drawLoader.load({.path = path, .request = {.scaledTo = {}, .clippedTo = part, .zoom = zoom}},
                      [this, path, zoom](const PictureAnswer& answer) {
                          if (answer.picture.isNull()) {
                              m_drawingZoom = 0;
                              return;
                          }
                          if (path != shownPath())
                              return;
                          m_drawn = answer.picture;
                          m_drawnZoom = zoom;
                          m_drawingZoom = 0;
                          emit widened();
                      });
}

QImage TilePictures::drawnAt(int zoom) const
{
    return zoom == m_drawnZoom ? m_drawn : QImage();
}

QSize TilePictures::wholeSize() const
{
    return m_shown ? m_shown->wholeSize() : QSize();
}

std::optional<StoredResolution> TilePictures::resolution() const
{
    return m_shown ? m_shown->measure().resolution : std::nullopt;
}

QString TilePictures::realSize(QLocale::MeasurementSystem system) const
{
    const QSize whole = wholeSize();
    if (whole.isEmpty())
        return QString();
    return realSizeText(whole, paperInches(whole, resolution()), measureFor(system));
}

bool TilePictures::busy() const
{
    if (m_restTimer.isActive())
        return true;
    for (const Document& document : {m_shown, m_opening, m_stepping}) {
        if (document && document->busy())
            return true;
    }
    return false;
}

QString TilePictures::path() const
{
    if (m_shown)
        return m_shown->path();
    return m_opening ? m_opening->path() : QString();
}

QString TilePictures::shownPath() const
{
    return m_shown ? m_shown->path() : QString();
}

void TilePictures::hold(Document& slot, Document document)
{
    if (slot == document)
        return;
    PictureDocument* followed = document.get();
    const bool wasHeld = held(followed);
    letGo(slot);
    slot = std::move(document);
    if (wasHeld)
        return;
    connect(followed, &PictureDocument::loaded, this,
            [this, followed](bool newVersion) { arrived(followed, newVersion); });
    connect(followed, &PictureDocument::cannotLoad, this, [this, followed] { failed(followed); });
    connect(followed, &PictureDocument::widened, this, [this, followed] {
        if (followed != m_shown.get())
            return;
        wantBeyond();
        emit widened();
    });
    connect(followed, &PictureDocument::slowChanged, this, &TilePictures::updateSlow);
}

void TilePictures::letGo(Document& slot)
{
    const Document document = std::exchange(slot, nullptr);
    if (!document || held(document.get()))
        return;
    disconnect(document.get(), nullptr, this, nullptr);
    document->releasePart();
}

void TilePictures::showNow(Document& slot)
{
    Document previous = std::exchange(m_shown, std::exchange(slot, nullptr));
    letGo(previous);
}

bool TilePictures::held(const PictureDocument* document) const
{
    return document == m_shown.get() || document == m_opening.get() || document == m_stepping.get();
}

void TilePictures::arrived(PictureDocument* document, bool newVersion)
{
    Arrival arrival = newVersion ? Arrival::NewVersion : Arrival::Rearranged;
    if (document == m_stepping.get()) {
        arrival = Arrival::Step;
        letGo(m_opening);
        showNow(m_stepping);
    } else if (document == m_opening.get()) {
        arrival = Arrival::Opening;
        showNow(m_opening);
    } else if (document != m_shown.get()) {
        return;
    }
    m_drawLoader.cancel();
    m_drawn = QImage();
    m_drawnZoom = 0;
    m_drawingZoom = 0;
    m_restTimer.stop();
    wantBeyond();
    updateSlow();
    emit shown(document->path(), arrival);
}

void TilePictures::failed(PictureDocument* document)
{
    // More of the file on show that cannot be loaded leaves what is in memory.
    Document* slot = document == m_stepping.get()  ? &m_stepping
                     : document == m_opening.get() ? &m_opening
                                                   : nullptr;
    if (!slot)
        return;
    const QString path = document->path();
    const Arrival arrival = slot == &m_stepping ? Arrival::Step : Arrival::Opening;
    letGo(*slot);
    // A step that cannot be shown asks again for what it stopped of the picture on show.
    if (arrival == Arrival::Step && m_shown) {
        m_shown->resume();
        wantBeyond();
    }
    updateSlow();
    emit cannotShow(path, arrival);
}

void TilePictures::wantBeyond()
{
    if (!m_shown || !m_shown->cut())
        return;
    if (m_wholeWanted)
        m_shown->loadBeyond(false);
    else if (!m_restTimer.isActive())
        m_restTimer.start();
}

void TilePictures::updateSlow()
{
    bool slow = false;
    for (const Document& document : {m_shown, m_opening, m_stepping})
        slow = slow || (document && document->slow());
    if (slow == m_slow)
        return;
    m_slow = slow;
    emit slowChanged(slow);
}

} // namespace zelvo
