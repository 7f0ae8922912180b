#pragma once

#include <QString>

class QIcon;
class QPixmap;

// The program's pictures, embedded with the program; each is decoded once.
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

[[nodiscard]] QPixmap pixmap(const QString& path);
[[nodiscard]] QIcon icon(const QString& path);

} // namespace zelvo::artwork
