// The program started where there is no display to show it on: one clear line, status 1.

#include "support/DataTable.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#ifndef ZELVO_BINARY
#error "ZELVO_BINARY must name the built program"
#endif

class NoDisplayTest : public QObject
{
    Q_OBJECT

private slots:
    void endsWithOneLine_data();
    void endsWithOneLine();
};

void NoDisplayTest::endsWithOneLine_data()
{
    // Extra variables set for the run, "NAME=value" each; every display variable is unset first.
    zelvo::test::addColumns<QStringList, QByteArray>("variables", "said");
    const auto row = [](const char* name, const QString& variable, const char* said) {
        QTest::newRow(name) << (variable.isEmpty() ? QStringList() : QStringList{variable})
                            << QByteArray(said);
    };
    row("no display variables", {}, "display");
    row("X display that does not exist", QStringLiteral("DISPLAY=:987"), "display");
    row("X display on a host that does not exist", QStringLiteral("DISPLAY=nohost.invalid:0"),
        "display");
    row("empty DISPLAY", QStringLiteral("DISPLAY="), "display");
    row("X plugin asked for, no DISPLAY", QStringLiteral("QT_QPA_PLATFORM=xcb"), "display");
    row("plugin that is not installed", QStringLiteral("QT_QPA_PLATFORM=nosuchplugin"),
        "platform plugin \"nosuchplugin\" is not installed");
}

void NoDisplayTest::endsWithOneLine()
{
    QFETCH(QStringList, variables);
    QFETCH(QByteArray, said);
    QTemporaryDir home;
    QVERIFY(home.isValid());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    for (const QString& variable : variables) {
        const qsizetype equals = variable.indexOf(QLatin1Char('='));
        environment.insert(variable.left(equals), variable.mid(equals + 1));
    }

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home.path());
    program.start(QStringLiteral(ZELVO_BINARY), {});
    QVERIFY(program.waitForStarted(30000));
    if (!program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished(10000);
        QFAIL("the program did not end without a display");
    }

    const QByteArray errors = program.readAllStandardError();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QVERIFY2(errors.endsWith('\n'), errors.constData());
    QCOMPARE(errors.count('\n'), 1);
    QVERIFY2(errors.startsWith("zelvo: "), errors.constData());
    QVERIFY2(errors.contains(said), errors.constData());
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "tst_nodisplay.moc"
