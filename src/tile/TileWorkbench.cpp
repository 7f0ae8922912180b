#include "TileWorkbench.h"

#include "TileWindow.h"
#include "TilingImage.h"
#include "core/ZoomRule.h"
#include "widgets/BusySign.h"

#include <QAction>
#include <QClipboard>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QLabel>
#include <QPropertyAnimation>

#include <cmath>

namespace zelvo {

TileWorkbench::TileWorkbench(TileWindow& window, TilingImage& view, PictureDocuments& documents,
                             PictureWorkers& workers)
    : QObject(&window), m_window(window), m_view(view), m_pictures(documents, workers),
      m_busySign(new BusySign(window, Qt::TopRightCorner)), m_zoomLabel(new QLabel(&window))
{
    m_zoomLabel->setObjectName(QStringLiteral("ZoomLevel"));
    m_zoomLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_zoomLabel->setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(0, 0, 0, 170); color: white; padding: 2px 6px; }"));
    m_zoomLabel->hide();
    auto* opacity = new QGraphicsOpacityEffect(m_zoomLabel);
    m_zoomLabel->setGraphicsEffect(opacity);
    m_fade = new QPropertyAnimation(opacity, "opacity", this);
    m_fade->setDuration(LabelFadeMs);
    m_fade->setStartValue(1.0);
    m_fade->setEndValue(0.0);
    connect(m_fade, &QPropertyAnimation::finished, m_zoomLabel, &QWidget::hide);
    m_labelTimer.setSingleShot(true);
    m_labelTimer.setInterval(LabelShownMs);
    connect(&m_labelTimer, &QTimer::timeout, m_fade, [this] { m_fade->start(); });

    connect(&m_pictures, &TilePictures::shown, this,
            [this](const QString& path, TilePictures::Arrival arrival) {
                updateLook();
                emit pictureShown(path);
                if (arrival == TilePictures::Arrival::NewVersion)
                    emit reloaded();
            });
    connect(&m_pictures, &TilePictures::cannotShow, this,
            [this](const QString& path, TilePictures::Arrival arrival) {
                // The window stays on the file it shows or opens, and shows its new versions.
                if (arrival == TilePictures::Arrival::Step)
                    m_wantedPath = m_pictures.path();
                emit cannotShow(path, arrival);
            });
    connect(&m_pictures, &TilePictures::widened, this, &TileWorkbench::updateLook);
    connect(&m_pictures, &TilePictures::slowChanged, m_busySign, &BusySign::setBusy);
    connect(&view, &TilingImage::zoomWheel, this, [this](int steps) {
        int zoom = m_zoom;
        for (int i = 0; i < std::abs(steps); ++i)
            zoom = steps > 0 ? zoomIn(zoom) : zoomOut(zoom);
        setZoom(zoom);
    });

    const auto onKeys = [this, &window](const char* name, const QList<QKeySequence>& keys,
                                        auto&& act) {
        auto* action = new QAction(&window);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, act);
        window.addAction(action);
    };
    // Shift changes neither a letter nor a move. + is typed with it on many keyboards, and Qt
    // matches that + to the + and = here; Qt takes the keypad's keys for the others as well.
    const auto alsoShifted = [](std::initializer_list<QKeyCombination> keys) {
        QList<QKeySequence> sequences;
        for (const QKeyCombination key : keys)
            sequences << key
                      << QKeyCombination(key.keyboardModifiers() | Qt::ShiftModifier, key.key());
        return sequences;
    };
    onKeys("close", alsoShifted({Qt::Key_Escape}), [this] { emit closeRequested(); });
    onKeys("zoomIn", {Qt::Key_Plus, Qt::Key_Equal}, [this] { setZoom(zoomIn(m_zoom)); });
    onKeys("zoomOut", {Qt::Key_Minus}, [this] { setZoom(zoomOut(m_zoom)); });
    onKeys("zoomNatural", {Qt::Key_0}, [this] { setZoom(NaturalZoom); });
    onKeys("guides", alsoShifted({Qt::Key_G}), &TileWorkbench::toggleGuides);
    onKeys("seamCheck", alsoShifted({Qt::Key_S}), &TileWorkbench::toggleSeamCheck);
    onKeys("repeat", alsoShifted({Qt::Key_R}), &TileWorkbench::stepRepeat);
    onKeys("ground", alsoShifted({Qt::Key_B}), &TileWorkbench::stepGround);
    onKeys("saveRepeat", {Qt::ControlModifier | Qt::Key_S}, [this] { emit saveRepeatRequested(); });
    onKeys("setBackground", alsoShifted({Qt::Key_D}), [this] { emit setBackgroundRequested(); });
    onKeys("next", alsoShifted({Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown}),
           [this] { emit stepRequested(Step::Next); });
    onKeys("previous", alsoShifted({Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp}),
           [this] { emit stepRequested(Step::Previous); });
    onKeys("first", alsoShifted({Qt::Key_Home}), [this] { emit stepRequested(Step::First); });
    onKeys("last", alsoShifted({Qt::Key_End}), [this] { emit stepRequested(Step::Last); });
    onKeys("copy", alsoShifted({Qt::ControlModifier | Qt::Key_C}), &TileWorkbench::copy);
    onKeys("realSize", alsoShifted({Qt::Key_I}), &TileWorkbench::showRealSize);
}

void TileWorkbench::load(const QString& path, TilePictures::Arrival arrival)
{
    m_wantedPath = path;
    m_pictures.load(path, partBox(), arrival);
}

QSize TileWorkbench::partBox() const
{
    return repeatClip(m_repeat, m_window.shownSize());
}

void TileWorkbench::toggleGuides()
{
    m_guides = !m_guides;
    updateLook();
}

void TileWorkbench::toggleSeamCheck()
{
    m_seamCheck = !m_seamCheck;
    updateLook();
}

void TileWorkbench::stepRepeat()
{
    m_repeat = nextRepeat(m_repeat);
    showLabel(QLatin1String(repeatSystem(m_repeat).name));
    m_pictures.widenTo(partBox());
    updateLook();
}

void TileWorkbench::stepGround()
{
    m_ground = nextGround(m_ground);
    showLabel(QLatin1String(groundChoice(m_ground).name));
    m_view.setGround(m_ground);
    describeView();
    emit groundChanged(m_ground);
}

void TileWorkbench::setZoom(int zoom)
{
    const int before = m_zoom;
    m_zoom = zoom;
    showZoomLabel();
    if (zoom != before)
        updateLook();
}

void TileWorkbench::showZoomLabel()
{
    showLabel(QStringLiteral("%1%").arg(m_zoom));
}

void TileWorkbench::showRealSize()
{
    m_realSizeHeard = true;
    if (const QString text = m_pictures.realSize(QLocale().measurementSystem()); !text.isEmpty())
        showLabel(text);
    describeView();
}

void TileWorkbench::showSkipped(const QString& name)
{
    showLabel(QStringLiteral("Skipped ") + name);
}

void TileWorkbench::showLabel(const QString& text)
{
    m_fade->stop();
    if (auto* opacity = qobject_cast<QGraphicsOpacityEffect*>(m_zoomLabel->graphicsEffect()))
        opacity->setOpacity(1.0);
    m_zoomLabel->setText(text);
    m_zoomLabel->adjustSize();
    m_zoomLabel->move(0, 0);
    m_zoomLabel->show();
    m_zoomLabel->raise();
    m_labelTimer.start();
}

// A picture cut to the window is judged on the whole of it, once that is in memory.
SeamVerdict TileWorkbench::judgeSeams() const
{
    return checkSeams(m_pictures.forSeams(), m_laid);
}

void TileWorkbench::updateLook()
{
    m_pictures.setWholeWanted(m_zoom < NaturalZoom || m_seamCheck);
    if (const QImage& picture = m_pictures.forZoom(m_zoom);
        picture.cacheKey() != m_view.picture().cacheKey())
        m_view.setPicture(picture);
    // A picture cut short of what the repeat system shows stays laid as it was until more of it
    // is in memory.
    if (m_pictures.holds(partBox()))
        m_laid = m_repeat;
    TileLook look{.zoom = m_zoom, .guides = m_guides, .repeat = m_laid};
    m_seamsHeard.clear();
    if (m_seamCheck) {
        const SeamVerdict verdict = judgeSeams();
        look.markLeftRight = verdict.leftRight;
        look.markTopBottom = verdict.topBottom;
        m_seamsHeard = seamDescription(verdict);
    }
    describeView();
    m_view.setLook(look);
    // A picture drawn from a description is drawn again at the zoom level, never enlarged.
    m_pictures.drawAt(m_zoom, m_view.drawnSizeWanted());
    m_view.setDrawn(m_pictures.drawnAt(m_zoom));
}

// Screen readers hear how the copies are laid and on what, where the window no longer shows
// them as it opened, the seams while they are checked, and the real size once I has shown it.
void TileWorkbench::describeView()
{
    QStringList heard;
    if (m_laid != RepeatSystems.front().repeat)
        heard << QLatin1String(repeatSystem(m_laid).name);
    if (m_ground != Grounds.front().ground)
        heard << QLatin1String(groundChoice(m_ground).name);
    if (!m_seamsHeard.isEmpty())
        heard << m_seamsHeard;
    if (const QString size = m_pictures.realSize(QLocale().measurementSystem());
        m_realSizeHeard && !size.isEmpty())
        heard << size;
    m_view.setAccessibleDescription(heard.join(QStringLiteral("; ")));
}

// As when the file on show changed: only a complete version is shown; one that cannot be loaded
// (half written, damaged) leaves the last good one on show, in every window. A file left for
// another one that is on its way is not loaded again.
void TileWorkbench::reload(const QString& path)
{
    if (path == m_wantedPath)
        m_pictures.load(path, partBox(), TilePictures::Arrival::NewVersion);
}

void TileWorkbench::copy()
{
    const QPixmap shown = m_view.grab(QRect(QPoint(), m_window.size()));
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(shown.toImage());
}

} // namespace zelvo
