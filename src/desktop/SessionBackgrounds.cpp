#include "SessionBackgrounds.h"

#include "BackgroundSchemas.h"
#include "DesktopShells.h"

#include <QStringList>

namespace zelvo {

namespace {

struct KnownDesktop
{
    // A name the desktop puts in XDG_CURRENT_DESKTOP, as lower case.
    const char* token;
    const char* name;
    // Sets the file as the background; why it could not, or nothing.
    QString (*set)(const QString& pngPath);
};

template <BackgroundSchema Schema> QString inSchema(const QString& pngPath)
{
    return writeBackgroundSchema(Schema, pngPath);
}
constexpr auto gnome = inSchema<BackgroundSchema::Gnome>;
constexpr auto cinnamon = inSchema<BackgroundSchema::Cinnamon>;

const KnownDesktop Desktops[] = {
    {"gnome", "GNOME", gnome},
    {"ubuntu", "GNOME", gnome},
    {"budgie", "Budgie", gnome},
    {"pantheon", "Pantheon", gnome},
    {"x-cinnamon", "Cinnamon", cinnamon},
    {"cinnamon", "Cinnamon", cinnamon},
    {"mate", "MATE", inSchema<BackgroundSchema::Mate>},
    {"kde", "KDE Plasma", askPlasmaShell},
    {"xfce", "Xfce", askXfconf},
    {"lxqt", "LXQt", askPcmanfmQt},
};

} // namespace

BackgroundSetting setSessionBackground(const QString& pngPath, const QString& currentDesktop)
{
    // The list names the desktop first and what it derives from after ("Budgie:GNOME").
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& each : names) {
        for (const KnownDesktop& desktop : Desktops) {
            if (each.compare(QLatin1String(desktop.token), Qt::CaseInsensitive) != 0)
                continue;
            BackgroundSetting setting;
            setting.desktopName = QString::fromLatin1(desktop.name);
            setting.why = desktop.set(pngPath);
            setting.outcome =
                setting.why.isEmpty() ? BackgroundOutcome::Set : BackgroundOutcome::Failed;
            return setting;
        }
    }
    return {};
}

} // namespace zelvo
