#include "DesktopShells.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <utility>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#endif

namespace zelvo {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("zelvo::DesktopShells", text);
}

// Each desktop has this long in all to take the background, however many screens it has.
constexpr int AnswerTimeoutMs = 10000;
// And this long to put back what it had taken before it failed.
constexpr int PutBackTimeoutMs = 3000;

} // namespace

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

namespace {

// Why the call went unanswered, or nothing when it was answered.
QString callFailure(const QDBusMessage& answer, const QString& absent, const QString& refused)
{
    if (answer.type() == QDBusMessage::ReplyMessage)
        return {};
    const QString error = answer.errorName();
    if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return absent;
    if (error == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
        error == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
        return refused.arg(tr("it did not answer in time"));
    // What a service says is shown, but not all of a service that says too much.
    constexpr int MessageLimit = 300;
    return refused.arg(
        (answer.errorMessage().isEmpty() ? error : answer.errorMessage()).left(MessageLimit));
}

// A script for Plasma's shell: every desktop shows the picture with the image wallpaper, tiled.
// The file's URL is written as a JSON string, which is also a JavaScript string.
QString plasmaScript(const QString& pngPath)
{
    const QString url = QUrl::fromLocalFile(pngPath).toString(QUrl::FullyEncoded);
    const QByteArray quoted = QJsonDocument(QJsonArray{url}).toJson(QJsonDocument::Compact);
    return QStringLiteral("var file = %1;\n"
                          "var all = desktops();\n"
                          "for (var i = 0; i < all.length; ++i) {\n"
                          "    var d = all[i];\n"
                          "    d.wallpaperPlugin = \"org.kde.image\";\n"
                          "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", "
                          "\"General\"];\n"
                          "    d.writeConfig(\"Image\", file);\n"
                          "    d.writeConfig(\"FillMode\", 3);\n"
                          "}\n")
        .arg(QString::fromUtf8(quoted.mid(1, quoted.size() - 2)));
}

const QString XfconfService = QStringLiteral("org.xfce.Xfconf");
const QString XfconfChannel = QStringLiteral("xfce4-desktop");
// Xfce's style for a picture laid side by side.
constexpr int XfceTiled = 2;

QDBusMessage xfconfCall(const QString& method, const QVariantList& arguments,
                        const QDeadlineTimer& deadline)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(
        XfconfService, QStringLiteral("/org/xfce/Xfconf"), XfconfService, method);
    ask.setArguments(arguments);
    const int left = int(std::max<qint64>(1, deadline.remainingTime()));
    return QDBusConnection::sessionBus().call(ask, QDBus::Block, left);
}

// Puts back what the properties held before, newest first, removing those that were not there.
void putBack(const QVariantMap& before, const QStringList& touched)
{
    const QDeadlineTimer deadline(PutBackTimeoutMs);
    for (auto property = touched.crbegin(); property != touched.crend(); ++property) {
        if (before.contains(*property))
            xfconfCall(QStringLiteral("SetProperty"),
                       {XfconfChannel, *property,
                        QVariant::fromValue(QDBusVariant(before.value(*property)))},
                       deadline);
        else
            xfconfCall(QStringLiteral("ResetProperty"), {XfconfChannel, *property, false},
                       deadline);
    }
}

} // namespace

QString askPlasmaShell(const QString& pngPath)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    ask << plasmaScript(pngPath);
    const QDBusMessage answer =
        QDBusConnection::sessionBus().call(ask, QDBus::Block, AnswerTimeoutMs);
    return callFailure(answer, tr("KDE Plasma's shell is not running."),
                       tr("KDE Plasma's shell did not take the background: %1."));
}

QString askXfconf(const QString& pngPath)
{
    const QString absent = tr("Xfce's settings service (xfconf) is not running.");
    const QString refused = tr("Xfce's settings service (xfconf) did not take the background: %1.");
    const QDeadlineTimer deadline(AnswerTimeoutMs);
    const QDBusMessage listed = xfconfCall(QStringLiteral("GetAllProperties"),
                                           {XfconfChannel, QStringLiteral("/backdrop")}, deadline);
    const QString none = tr("Xfce's desktop has no background to set: it keeps none in xfconf.");
    // xfconf answers a channel or folder it has never kept with an error of its own.
    if (listed.errorName().startsWith(QLatin1String("org.xfce.Xfconf.Error.")) &&
        listed.errorName().endsWith(QLatin1String("NotFound")))
        return none;
    if (QString why = callFailure(listed, absent, refused); !why.isEmpty())
        return why;
    const QVariant first = listed.arguments().value(0);
    if (!first.canConvert<QDBusArgument>() ||
        first.value<QDBusArgument>().currentSignature() != QLatin1String("a{sv}"))
        return refused.arg(tr("its answer was not a list of settings"));
    const QVariantMap properties = qdbus_cast<QVariantMap>(first.value<QDBusArgument>());

    static const QRegularExpression lastImage(QStringLiteral("^(/backdrop/.+/)last-image$"));
    QList<std::pair<QString, QVariant>> writes;
    for (auto each = properties.keyBegin(); each != properties.keyEnd(); ++each) {
        const QRegularExpressionMatch backdrop = lastImage.match(*each);
        if (backdrop.hasMatch())
            writes << std::pair{*each, QVariant(pngPath)}
                   << std::pair{backdrop.captured(1) + QStringLiteral("image-style"),
                                QVariant(XfceTiled)};
    }
    if (writes.isEmpty())
        return none;
    QStringList touched;
    for (const auto& [property, value] : writes) {
        touched << property;
        const QDBusMessage answer = xfconfCall(
            QStringLiteral("SetProperty"),
            {XfconfChannel, property, QVariant::fromValue(QDBusVariant(value))}, deadline);
        if (QString why = callFailure(answer, absent, refused); !why.isEmpty()) {
            putBack(properties, touched);
            return why;
        }
    }
    return {};
}

#else

QString askPlasmaShell(const QString&)
{
    return tr("KDE Plasma's shell is asked over D-Bus, which this system does not have.");
}

QString askXfconf(const QString&)
{
    return tr("Xfce's settings service is asked over D-Bus, which this system does not have.");
}

#endif

QString askPcmanfmQt(const QString& pngPath)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pcmanfm-qt"));
    if (program.isEmpty())
        return tr("LXQt's desktop program pcmanfm-qt is not installed.");
    QProcess run;
    run.setStandardOutputFile(QProcess::nullDevice());
    run.setStandardErrorFile(QProcess::nullDevice());
    run.start(program, {QStringLiteral("--set-wallpaper"), pngPath,
                        QStringLiteral("--wallpaper-mode=tile")});
    if (!run.waitForStarted(AnswerTimeoutMs))
        return tr("LXQt's desktop program pcmanfm-qt could not be started: %1.")
            .arg(run.errorString());
    if (!run.waitForFinished(AnswerTimeoutMs)) {
        run.kill();
        run.waitForFinished(1000);
        return tr("LXQt's desktop program pcmanfm-qt did not finish in time.");
    }
    if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
        return tr("LXQt's desktop program pcmanfm-qt failed (exit code %1).").arg(run.exitCode());
    return {};
}

} // namespace zelvo
