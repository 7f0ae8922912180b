#include "desktop/SessionBackgrounds.h"

#include <QDBusConnection>
#include <QDBusVariant>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

using namespace zelvo;

// A Plasma shell and an xfconf of the test's own, which keep what they are asked. They answer on
// a thread of their own while the program waits for them.
class FakeShell : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    QString script;
public slots:
    void evaluateScript(const QString& text) { script = text; }
};

class FakeXfconf : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.xfce.Xfconf")
public:
    QVariantMap properties;
public slots:
    QVariantMap GetAllProperties(const QString&, const QString&) { return properties; }
    void SetProperty(const QString&, const QString& key, const QDBusVariant& value)
    {
        properties[key] = value.variant();
    }
};

class TestSessionBackgrounds : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QProcess m_bus;
    QThread m_thread;
    QDBusConnection m_fakes{QString()};
    FakeShell* m_shell = new FakeShell;
    FakeXfconf* m_xfconf = new FakeXfconf;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    static QString gsettings(const QString& schema, const QString& key, const QString& set = {})
    {
        QProcess run;
        run.start("gsettings", set.isEmpty() ? QStringList{"get", schema, key}
                                             : QStringList{"set", schema, key, set});
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
        for (const char* gnome :
             {"org.gnome.desktop.background.gschema.xml", "org.gnome.desktop.enums.xml"})
            QVERIFY(QFile::copy(QString("/usr/share/glib-2.0/schemas/") + gnome, schemas + gnome));
        QFile test(schemas + "test.gschema.xml");
        QVERIFY(test.open(QIODevice::WriteOnly));
        const QString keys("<schema id='%1' path='/%2/'><key name='%3' type='s'><default>''"
                           "</default></key><key name='picture-options' enum='o'><default>'zoom'"
                           "</default></key></schema>");
        test.write(("<schemalist><enum id='o'><value nick='wallpaper' value='1'/><value "
                    "nick='zoom' value='5'/></enum>" +
                    keys.arg("org.cinnamon.desktop.background", "c", "picture-uri") +
                    "</schemalist>")
                       .toUtf8());
        test.close();
        QCOMPARE(QProcess::execute("glib-compile-schemas", {schemas}), 0);

        m_bus.start("dbus-daemon", {"--session", "--print-address", "--nofork"});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        m_fakes = QDBusConnection::connectToBus(QString::fromUtf8(address), "fakes");
        m_shell->moveToThread(&m_thread);
        m_xfconf->moveToThread(&m_thread);
        QVERIFY(m_fakes.registerObject("/PlasmaShell", m_shell, QDBusConnection::ExportAllSlots));
        QVERIFY(
            m_fakes.registerObject("/org/xfce/Xfconf", m_xfconf, QDBusConnection::ExportAllSlots));
        m_thread.start();
    }
    void cleanupTestCase()
    {
        m_thread.quit();
        m_thread.wait();
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void gsettingsDesktops_data()
    {
        QTest::addColumn<QString>("schema");
        QTest::addColumn<QString>("name");
        QTest::newRow("ubuntu:GNOME") << "org.gnome.desktop.background"
                                      << "GNOME";
        QTest::newRow("Budgie:GNOME") << "org.gnome.desktop.background"
                                      << "Budgie";
        QTest::newRow("X-Cinnamon") << "org.cinnamon.desktop.background"
                                    << "Cinnamon";
    }
    void gsettingsDesktops()
    {
        QFETCH(QString, schema);
        QFETCH(QString, name);
        gsettings(schema, "picture-options", "'zoom'");
        const QString file = path(QString("tile %1.png").arg(QTest::currentDataTag()));
        const BackgroundSetting setting = setSessionBackground(file, QTest::currentDataTag());
        QCOMPARE(setting.outcome, BackgroundOutcome::Set);
        QCOMPARE(setting.desktopName, name);
        QCOMPARE(gsettings(schema, "picture-options"), "'wallpaper'");
        QStringList keys{"picture-uri"};
        if (schema.contains("gnome"))
            keys << "picture-uri-dark";
        for (const QString& key : keys)
            QCOMPARE(QUrl(gsettings(schema, key).mid(1).chopped(1)).toLocalFile(), file);
    }

    // A schema not installed, a service not running, a desktop with nothing to set: the reason
    // is given and nothing is written.
    void failures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("MATE") << "MATE";
        QTest::newRow("KDE") << "KDE Plasma";
        QTest::newRow("XFCE") << "Xfce";
    }
    void failures()
    {
        QFETCH(QString, name);
        m_xfconf->properties = {{"/backdrop/single-workspace-mode", true}};
        const QVariantMap before = m_xfconf->properties;
        if (name == "Xfce")
            QVERIFY(m_fakes.registerService("org.xfce.Xfconf"));
        const BackgroundSetting setting =
            setSessionBackground(path("x.png"), QTest::currentDataTag());
        m_fakes.unregisterService("org.xfce.Xfconf");
        QCOMPARE(setting.outcome, BackgroundOutcome::Failed);
        QCOMPARE(setting.desktopName, name);
        QVERIFY(!setting.why.isEmpty());
        QCOMPARE(m_xfconf->properties, before);
        QVERIFY(m_shell->script.isEmpty());
    }

    void plasma()
    {
        QVERIFY(m_fakes.registerService("org.kde.plasmashell"));
        const QString file = path(R"(it's "a" tile\.png)");
        QCOMPARE(setSessionBackground(file, "KDE").outcome, BackgroundOutcome::Set);
        // The file's name stays a string of the script, whatever its characters.
        const QString script = m_shell->script;
        const auto quoted =
            QRegularExpression("^var file = (.*);$", QRegularExpression::MultilineOption)
                .match(script);
        const QJsonDocument url = QJsonDocument::fromJson("[" + quoted.captured(1).toUtf8() + "]");
        QCOMPARE(QUrl(url[0].toString()).toLocalFile(), file);
        QVERIFY(script.contains(R"(d.writeConfig("FillMode", 3);)"));
        QVERIFY(script.contains(R"(d.wallpaperPlugin = "org.kde.image";)"));
    }

    void xfconf()
    {
        QVERIFY(m_fakes.registerService("org.xfce.Xfconf"));
        const QString screens[] = {"/backdrop/screen0/monitorHDMI-1/workspace0/",
                                   "/backdrop/screen0/monitoreDP-1/workspace3/"};
        for (const QString& screen : screens)
            m_xfconf->properties.insert(
                {{screen + "last-image", "old.png"}, {screen + "image-style", 5}});
        const BackgroundSetting setting = setSessionBackground(path("x.png"), "XFCE");
        QCOMPARE(setting.outcome, BackgroundOutcome::Set);
        for (const QString& screen : screens) {
            QCOMPARE(m_xfconf->properties[screen + "last-image"], path("x.png"));
            QCOMPARE(m_xfconf->properties[screen + "image-style"], 2);
        }
        QCOMPARE(m_xfconf->properties.size(), 5);
    }

    void lxqt_data()
    {
        QTest::addColumn<QString>("exit");
        QTest::addColumn<BackgroundOutcome>("outcome");
        QTest::newRow("set") << "0" << BackgroundOutcome::Set;
        QTest::newRow("failed") << "3" << BackgroundOutcome::Failed;
        QTest::newRow("missing") << "" << BackgroundOutcome::Failed;
    }
    void lxqt()
    {
        QFETCH(QString, exit);
        QFETCH(BackgroundOutcome, outcome);
        // A stand-in that keeps its arguments.
        const QString bin = path(QString("bin-") + QTest::currentDataTag());
        QDir().mkpath(bin);
        QFile program(bin + "/pcmanfm-qt");
        if (!exit.isEmpty()) {
            QVERIFY(program.open(QIODevice::WriteOnly));
            program.write(
                ("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\nexit " + exit).toUtf8());
            program.close();
            program.setPermissions(QFile::ExeOwner | QFile::ReadOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));
        const BackgroundSetting setting = setSessionBackground(m_dir.filePath("a b.png"), "LXQt");
        qputenv("PATH", path);
        QCOMPARE(setting.outcome, outcome);
        QCOMPARE(setting.desktopName, "LXQt");
        QFile args(program.fileName() + ".args");
        QCOMPARE(args.open(QIODevice::ReadOnly) ? args.readAll() : QByteArray(),
                 exit.isEmpty() ? QByteArray()
                                : ("--set-wallpaper\n" + m_dir.filePath("a b.png") +
                                   "\n--wallpaper-mode=tile\n")
                                      .toUtf8());
    }

    void otherDesktops()
    {
        for (const char* desktop : {"", "openbox", "i3", "GNOME-Classic-ish", "KDEish:XFCE4"})
            QCOMPARE(setSessionBackground(path("x.png"), desktop).outcome,
                     BackgroundOutcome::NotThisDesktop);
    }
};

QTEST_GUILESS_MAIN(TestSessionBackgrounds)
#include "tst_sessionbackgrounds.moc"
