#include "desktop/SessionBackgrounds.h"
#include "support/Files.h"

#include <QtDBus>
#include <QtTest>

using namespace zelvo;
using namespace zelvo::test;

// A Plasma shell or an xfconf of the test's own: it keeps every call and answers it, xfconf's
// list of properties with its own, and refusing one property. Both answer on a thread of their own
// while the program waits.
class Recorder : public QDBusVirtualObject
{
public:
    QList<QDBusMessage> calls;
    QVariantMap properties;
    QString refused;
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override
    {
        if (call.arguments().value(1) == refused)
            return bus.send(call.createErrorReply("org.xfce.Xfconf.Error.PermissionDenied", ""));
        calls << call;
        return bus.send(call.createReply(QVariant::fromValue(properties)));
    }
    QString introspect(const QString&) const override { return {}; }
};

class TestSessionBackgrounds : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QProcess m_bus;
    QDBusConnection m_fakes{QString()};
    QThread m_thread;
    Recorder m_shell, m_xfconf;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // What xfconf holds once it has done what it was asked.
    QVariantMap xfconfHolds() const
    {
        QVariantMap held = m_xfconf.properties;
        for (const QDBusMessage& call : m_xfconf.calls) {
            const QString key = call.arguments().value(1).toString();
            if (call.arguments().value(0) != "xfce4-desktop")
                continue;
            if (call.member() == "SetProperty")
                held[key] = call.arguments().value(2).value<QDBusVariant>().variant();
            else if (call.member() == "ResetProperty")
                held.remove(key);
        }
        return held;
    }
    static QString gsettings(const QString& schema, const QString& key)
    {
        QProcess run;
        run.start("gsettings", {"get", schema, key});
        run.waitForFinished(20000);
        return QString::fromUtf8(run.readAllStandardOutput()).trimmed();
    }

private slots:
    void initTestCase()
    {
        // Settings in a key file of the test's own. Schemas, and the services the bus may start,
        // only from here: GNOME's as installed, Cinnamon's with its keys, MATE's none.
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("data")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(path("share")));
        const QString schemas = path("share/glib-2.0/schemas/");
        QDir().mkpath(schemas);
        for (const QString gnome :
             {"org.gnome.desktop.background.gschema.xml", "org.gnome.desktop.enums.xml"})
            QVERIFY(QFile::copy("/usr/share/glib-2.0/schemas/" + gnome, schemas + gnome));
        QVERIFY(writeBytes(schemas + "c.gschema.xml", R"(<schemalist><enum id="o">
            <value nick="wallpaper" value="1"/><value nick="zoom" value="5"/></enum>
            <schema id="org.cinnamon.desktop.background" path="/c/">
            <key name="picture-uri" type="s"><default>''</default></key>
            <key name="picture-options" enum="o"><default>'zoom'</default></key>
            </schema></schemalist>)"));
        QCOMPARE(QProcess::execute("glib-compile-schemas", {schemas}), 0);

        m_bus.start("dbus-daemon", {"--session", "--print-address", "--nofork"});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        m_fakes = QDBusConnection::connectToBus(QString::fromUtf8(address), "fakes");
        QVERIFY(m_fakes.registerVirtualObject("/PlasmaShell", &m_shell));
        QVERIFY(m_fakes.registerVirtualObject("/org/xfce/Xfconf", &m_xfconf));
        m_shell.moveToThread(&m_thread);
        m_xfconf.moveToThread(&m_thread);
        m_thread.start();
    }
    void cleanupTestCase()
    {
        m_thread.quit();
        m_thread.wait();
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void gsettingsDesktops()
    {
        const QString gnome = "org.gnome.desktop.background";
        for (const auto& [desktop, name, schema] :
             {std::tuple{"ubuntu:GNOME", "GNOME", gnome},
              {"Budgie:GNOME", "Budgie", gnome},
              {"X-Cinnamon", "Cinnamon", QString("org.cinnamon.desktop.background")}}) {
            const QString file = path(QString("tile %1.png").arg(desktop));
            const BackgroundSetting setting = setSessionBackground(file, desktop);
            QCOMPARE(setting.outcome, BackgroundOutcome::Set);
            QCOMPARE(setting.desktopName, name);
            QCOMPARE(gsettings(schema, "picture-options"), "'wallpaper'");
            for (const QString key : {"picture-uri", "picture-uri-dark"})
                if (key == "picture-uri" || schema == gnome)
                    QCOMPARE(QUrl(gsettings(schema, key).mid(1).chopped(1)).toLocalFile(), file);
        }
    }

    // A schema not installed, a service not running: the reason is given.
    void failures()
    {
        for (const auto& [desktop, name] :
             {std::pair{"MATE", "MATE"}, {"KDE", "KDE Plasma"}, {"XFCE", "Xfce"}}) {
            const BackgroundSetting setting = setSessionBackground(path("x.png"), desktop);
            QCOMPARE(setting.outcome, BackgroundOutcome::Failed);
            QCOMPARE(setting.desktopName, name);
            QVERIFY(!setting.why.isEmpty());
        }
        for (const char* desktop : {"", "openbox", "i3", "KDEish:XFCE4"})
            QCOMPARE(setSessionBackground(path("x.png"), desktop).outcome,
                     BackgroundOutcome::NotThisDesktop);
    }

    void plasma()
    {
        QVERIFY(m_fakes.registerService("org.kde.plasmashell"));
        const QString file = path(R"(it's "a" tile\.png)");
        QCOMPARE(setSessionBackground(file, "KDE").outcome, BackgroundOutcome::Set);
        QCOMPARE(m_shell.calls.size(), 1);
        QCOMPARE(m_shell.calls[0].interface() + '.' + m_shell.calls[0].member(),
                 "org.kde.PlasmaShell.evaluateScript");
        // The file's name stays a string of the script, whatever its characters.
        const QString script = m_shell.calls[0].arguments().value(0).toString();
        const QString quoted = script.section("var file = ", 1).section(";\n", 0, 0);
        const QJsonDocument url = QJsonDocument::fromJson("[" + quoted.toUtf8() + "]");
        QCOMPARE(QUrl(url[0].toString()).toLocalFile(), file);
        QVERIFY(script.contains(R"(d.wallpaperPlugin = "org.kde.image";)"));
        QVERIFY(script.contains(R"(d.writeConfig("FillMode", 3);)"));
    }

    // Every backdrop xfconf keeps is set, or none when one is refused or there is none.
    void xfconf()
    {
        QVERIFY(m_fakes.registerService("org.xfce.Xfconf"));
        m_xfconf.properties = {{"/backdrop/single-workspace-mode", true}};
        QCOMPARE(setSessionBackground(path("x.png"), "XFCE").outcome, BackgroundOutcome::Failed);
        QVariantMap expected = m_xfconf.properties;
        for (const QString screen : {"/backdrop/screen0/monitorHDMI-1/workspace0/",
                                     "/backdrop/screen0/monitoreDP-1/workspace3/"}) {
            m_xfconf.properties.insert(
                {{screen + "last-image", "old.png"}, {screen + "color1", 0}});
            expected.insert({{screen + "last-image", path("x.png")},
                             {screen + "image-style", 2},
                             {screen + "color1", 0}});
        }
        QCOMPARE(setSessionBackground(path("x.png"), "XFCE").outcome, BackgroundOutcome::Set);
        QCOMPARE(xfconfHolds(), expected);
        m_xfconf.calls.clear();
        m_xfconf.refused = "/backdrop/screen0/monitoreDP-1/workspace3/image-style";
        QCOMPARE(setSessionBackground(path("x.png"), "XFCE").outcome, BackgroundOutcome::Failed);
        QCOMPARE(xfconfHolds(), m_xfconf.properties);
    }

    void lxqt()
    {
        // A stand-in that keeps its arguments; then none at all.
        QVERIFY(writeBytes(path("pcmanfm-qt"), "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\""));
        QFile(path("pcmanfm-qt")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray searched = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()));
        const BackgroundSetting setting = setSessionBackground(path("a b.png"), "LXQt");
        QFile::remove(path("pcmanfm-qt"));
        QCOMPARE(setSessionBackground(path("a b.png"), "LXQt").outcome, BackgroundOutcome::Failed);
        qputenv("PATH", searched);
        QCOMPARE(setting.outcome, BackgroundOutcome::Set);
        QCOMPARE(setting.desktopName, "LXQt");
        QCOMPARE(readBytes(path("pcmanfm-qt.args")),
                 "--set-wallpaper\n" + path("a b.png").toUtf8() + "\n--wallpaper-mode=tile\n");
    }
};

QTEST_GUILESS_MAIN(TestSessionBackgrounds)
#include "tst_sessionbackgrounds.moc"
