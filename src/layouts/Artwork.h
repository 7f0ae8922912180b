#pragma once

#include <QPixmap>
#include <QString>

class QCursor;
class QIcon;

// The program's pictures, embedded with the program; each is decoded once. Beside each picture
// lies the same design drawn at twice its size, named as Qt names such drawings ("title@2x.bmp"
// beside "title.bmp"): on screens with more than one device pixel to a pixel that drawing is
// used, elsewhere exactly the declared picture.
namespace zelvo::artwork {

inline constexpr char ProgramIcon[] = ":/zelvo/zelvo.ico";
inline constexpr char Title[] = ":/zelvo/title.bmp";
inline constexpr char BrowseArrows[] = ":/zelvo/browse.jpg";
inline constexpr char Options[] = ":/zelvo/options.bmp";
inline constexpr char Help[] = ":/zelvo/help.bmp";
inline constexpr char TrayIcon[] = ":/zelvo/tray.ico";
inline constexpr char TrayFlashIcon[] = ":/zelvo/trayflash.ico";
inline constexpr char Apply[] = ":/zelvo/apply.gif";
inline constexpr char MailIcon[] = ":/zelvo/mail.ico";
inline constexpr char PointingHand[] = ":/zelvo/hand.cur";
inline constexpr char About[] = ":/zelvo/about.bmp";

// The screens' device pixel ratio: the highest of them, as Qt chooses its own pictures.
[[nodiscard]] qreal screenRatio();

// For a device pixel ratio, by default the screens'.
[[nodiscard]] QPixmap pixmap(const QString& path, qreal ratio = screenRatio());
[[nodiscard]] QIcon icon(const QString& path, qreal ratio = screenRatio());
// The icon as a shown window carries it: the program icon also at every size installed for the
// desktop's icon theme, for task bars and window switchers.
[[nodiscard]] QIcon windowIcon(const QString& path, qreal ratio = screenRatio());

// For the screens' ratio, the hot spot in the picture's pixels as declared.
[[nodiscard]] QCursor cursor(const QString& path, int hotX, int hotY);

// A control's picture, given as it is or as one of the program's pictures; that one is decoded
// when it is first asked for.
class LazyPixmap
{
public:
    void set(const QPixmap& picture)
    {
        m_path.clear();
        m_picture = picture;
    }
    void setPath(const QString& path)
    {
        m_picture = QPixmap();
        m_path = path;
    }
    const QPixmap& get()
    {
        if (!m_path.isEmpty()) {
            m_picture = pixmap(m_path);
            m_path.clear();
        }
        return m_picture;
    }

private:
    QPixmap m_picture;
    QString m_path;
};

} // namespace zelvo::artwork
