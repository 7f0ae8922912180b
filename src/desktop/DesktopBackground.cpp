#include "DesktopBackground.h"

#include "RootWindowBackground.h"
#include "SessionBackgrounds.h"
#include "pictures/RepeatFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvo {

namespace {

// How the picture was set on the X display's root window, and on which desktop.
BackgroundReport setOnRootWindow(const QString& file, const QImage& tile, const QString& what)
{
    if (const QString why = setRootWindowBackground(tile); !why.isEmpty()) {
        QFile::remove(file);
        return {false, why};
    }
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    const QString where =
        desktop.isEmpty()
            ? QStringLiteral("the X display %1").arg(qEnvironmentVariable("DISPLAY"))
            : QStringLiteral("%1 (X display %2)").arg(desktop, qEnvironmentVariable("DISPLAY"));
    return {true, QStringLiteral("%1 is now the tiled background of %2.\nThe picture is kept in "
                                 "\"%3\".")
                      .arg(what, where, file)};
}

[[nodiscard]] bool waylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

QString backgroundsFolder()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is not taken, as freedesktop.org's base directories have it.
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::home().filePath(QStringLiteral(".local/share"));
    return QDir(data).filePath(QStringLiteral("backgrounds"));
}

BackgroundReport setAsDesktopBackground(const QString& picturePath, RepeatOrder order,
                                        const LoadControl& control)
{
    order.use = GroundUse::Flatten;
    const RepeatMade made = makeRepeat(picturePath, order, control);
    if (made.tile.isNull())
        return {false, made.why};
    const QString base = repeatFileName(picturePath, order.repeat).chopped(4);
    const WrittenFile written = writeNewPng(made.tile, backgroundsFolder(), base);
    if (!written.why.isEmpty())
        return {false, written.why};
    const QString what = QStringLiteral("The %1 repeat of \"%2\"")
                             .arg(QString::fromLatin1(repeatSystem(order.repeat).name).toLower(),
                                  QFileInfo(picturePath).fileName());

    const QString current = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    const BackgroundSetting setting = setSessionBackground(written.path, current);
    switch (setting.outcome) {
    case BackgroundOutcome::Set:
        return {true, QStringLiteral("%1 is now the tiled background of %2.\nThe picture is kept "
                                     "in \"%3\".")
                          .arg(what, setting.desktopName, written.path)};
    case BackgroundOutcome::Failed:
        QFile::remove(written.path);
        return {false, QStringLiteral("The background of %1 can't be set: %2")
                           .arg(setting.desktopName.isEmpty() ? current : setting.desktopName,
                                setting.why)};
    case BackgroundOutcome::NotThisDesktop:
        break;
    }
    if (waylandSession()) {
        const QString desktop = current.isEmpty() ? QStringLiteral("This Wayland desktop")
                                                  : current + QStringLiteral(" on Wayland");
        return {false, QStringLiteral("%1 lets no program set its background. The picture is "
                                      "saved as \"%2\": choose it, tiled, in the desktop's own "
                                      "settings.")
                           .arg(desktop, written.path)};
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        QFile::remove(written.path);
        return {false, QStringLiteral("No desktop is running here to set a background on: no "
                                      "desktop service answers, and DISPLAY is not set.")};
    }
    return setOnRootWindow(written.path, made.tile, what);
}

} // namespace zelvo
