#include "CupsTools.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace zelvo::test {

bool runCupsTool(const QString& tool, const QStringList& arguments, const QProcessEnvironment& env,
                 QString* output)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The administration tools live in sbin, which not every PATH holds.
    QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(
            tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    process.start(program.isEmpty() ? tool : program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        if (output)
            *output = tool + QStringLiteral(" did not finish: ") + process.errorString();
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList jobIds(const QString& which, const QProcessEnvironment& env)
{
    QString listing;
    if (!runCupsTool(QStringLiteral("lpstat"), {QStringLiteral("-W"), which, QStringLiteral("-o")},
                     env, &listing))
        return {};
    // One line a job: "queue-7   user   4096   date".
    static const QRegularExpression jobLine(QStringLiteral("^(\\S+-\\d+)\\s"),
                                            QRegularExpression::MultilineOption);
    QStringList ids;
    for (QRegularExpressionMatchIterator it = jobLine.globalMatch(listing); it.hasNext();)
        ids.append(it.next().captured(1));
    std::sort(ids.begin(), ids.end(), [](const QString& a, const QString& b) {
        return a.section(QLatin1Char('-'), -1).toInt() < b.section(QLatin1Char('-'), -1).toInt();
    });
    return ids;
}

} // namespace zelvo::test
