#include "PrivateCups.h"

#include "CupsTools.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace zelvo::test {

namespace {

// An A4 PDF printer at 300 dpi: cups-filters' pdftopdf prepares the job, the file device
// stores the result unchanged.
constexpr char PdfPrinterPpd[] = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "ZELVOPDF.PPD"
*Manufacturer: "Zelvo"
*Product: "(Zelvo PDF file)"
*ModelName: "Zelvo PDF file"
*ShortNickName: "Zelvo PDF file"
*NickName: "Zelvo PDF file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Page Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Page Region: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 36 577 806"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*OpenUI *Resolution/Resolution: PickOne
*OrderDependency: 10 AnySetup *Resolution
*DefaultResolution: 300dpi
*Resolution 300dpi/300 DPI: "<</HWResolution[300 300]>>setpagedevice"
*CloseUI: *Resolution
)ppd";

bool writeText(const QString& path, const QString& text)
{
    return zelvo::test::writeBytes(path, text.toUtf8());
}

// The account cupsd hands its filters to when it runs as root, and the group allowed to
// administer it.
QString accountLines()
{
    if (geteuid() != 0) {
        const group* own = getgrgid(getegid());
        return own ? QStringLiteral("SystemGroup %1\n").arg(QString::fromLocal8Bit(own->gr_name))
                   : QString();
    }
    QString lines = QStringLiteral("SystemGroup root\n");
    if (getgrnam("lp"))
        lines += QStringLiteral("User lp\nGroup lp\n");
    return lines;
}

} // namespace

PrivateCups::PrivateCups() : m_dir(QDir::tempPath() + QStringLiteral("/zelvo-cups-XXXXXX")) {}

PrivateCups::~PrivateCups()
{
    stop();
}

QString PrivateCups::socketPath() const
{
    return m_dir.filePath(QStringLiteral("cups.sock"));
}

QString PrivateCups::errorLog() const
{
    QFile log(m_dir.filePath(QStringLiteral("log/error_log")));
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(log.readAll().right(4000));
}

bool PrivateCups::writeConfiguration()
{
    const QDir root(m_dir.path());
    for (const char* sub :
         {"conf", "cache", "state", "spool", "spool/tmp", "log", "out", "client", "home"}) {
        if (!root.mkpath(QLatin1String(sub)))
            return false;
    }
    // Filters run as the lp account and have to reach the spool below this folder.
    if (!QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadGroup |
                                                 QFile::ExeGroup | QFile::ReadOther |
                                                 QFile::ExeOther))
        return false;
    const QString cupsd = QStringLiteral("Listen %1\n"
                                         "Browsing No\n"
                                         "BrowseLocalProtocols none\n"
                                         "DefaultAuthType None\n"
                                         "WebInterface No\n"
                                         "LogLevel info\n"
                                         "<Location />\n"
                                         "  Order allow,deny\n"
                                         "  Allow all\n"
                                         "</Location>\n"
                                         "<Policy default>\n"
                                         "  <Limit All>\n"
                                         "    Order deny,allow\n"
                                         "  </Limit>\n"
                                         "</Policy>\n")
                              .arg(socketPath());
    const QString files = QStringLiteral("ServerRoot %1/conf\n"
                                         "CacheDir %1/cache\n"
                                         "StateDir %1/state\n"
                                         "RequestRoot %1/spool\n"
                                         "TempDir %1/spool/tmp\n"
                                         "AccessLog %1/log/access_log\n"
                                         "ErrorLog %1/log/error_log\n"
                                         "PageLog %1/log/page_log\n"
                                         "Printcap %1/state/printcap\n"
                                         "FileDevice Yes\n")
                              .arg(m_dir.path()) +
                          accountLines();
    return writeText(root.filePath(QStringLiteral("conf/cupsd.conf")), cupsd) &&
           writeText(root.filePath(QStringLiteral("conf/cups-files.conf")), files) &&
           writeText(root.filePath(QStringLiteral("pdf.ppd")), QLatin1String(PdfPrinterPpd));
}

bool PrivateCups::start()
{
    if (!m_dir.isValid()) {
        m_failure = QStringLiteral("no temporary folder: ") + m_dir.errorString();
        return false;
    }
    if (!writeConfiguration()) {
        m_failure = QStringLiteral("cannot write the configuration in ") + m_dir.path();
        return false;
    }
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    // Should the test itself be killed, cupsd goes with it.
    m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"),
                   m_dir.filePath(QStringLiteral("conf/cupsd.conf")), QStringLiteral("-s"),
                   m_dir.filePath(QStringLiteral("conf/cups-files.conf"))});
    if (!m_cupsd.waitForStarted(10000)) {
        m_failure = QStringLiteral("cupsd does not start: ") + m_cupsd.errorString();
        return false;
    }
    const QProcessEnvironment env = clientEnvironment();
    const bool answers = QTest::qWaitFor(
        [&] {
            QString said;
            return m_cupsd.state() != QProcess::Running ||
                   (runCupsTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, env, &said) &&
                    said.contains(QLatin1String("scheduler is running")));
        },
        20000);
    if (!answers || m_cupsd.state() != QProcess::Running) {
        // cupsd -f says nothing about a configuration it refuses; its test mode does.
        QString check;
        runCupsTool(QStringLiteral("/usr/sbin/cupsd"),
                    {QStringLiteral("-t"), QStringLiteral("-c"),
                     m_dir.filePath(QStringLiteral("conf/cupsd.conf")), QStringLiteral("-s"),
                     m_dir.filePath(QStringLiteral("conf/cups-files.conf"))},
                    clientEnvironment(), &check);
        m_failure = QStringLiteral("cupsd does not answer: ") +
                    QString::fromLocal8Bit(m_cupsd.readAll()) + check + errorLog();
        stop();
        return false;
    }
    return true;
}

void PrivateCups::stop()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000)) {
        m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }
}

QProcessEnvironment PrivateCups::clientEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"PRINTER", "LPDEST", "CUPS_USER", "CUPS_ENCRYPTION"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("CUPS_SERVER"), socketPath());
    // An empty client configuration folder and home: no client.conf, no lpoptions defaults.
    env.insert(QStringLiteral("CUPS_SERVERROOT"), m_dir.filePath(QStringLiteral("client")));
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    return env;
}

QProcessEnvironment PrivateCups::absentServiceEnvironment() const
{
    QProcessEnvironment env = clientEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), m_dir.filePath(QStringLiteral("nobody.sock")));
    return env;
}

bool PrivateCups::run(const QString& tool, const QStringList& arguments, QString* output)
{
    return runCupsTool(tool, arguments, clientEnvironment(), output);
}

bool PrivateCups::addPdfQueue(const QString& name, const QString& outputFile, QString* output)
{
    return run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("file://") + QFileInfo(outputFile).absoluteFilePath(),
                QStringLiteral("-P"), m_dir.filePath(QStringLiteral("pdf.ppd"))},
               output) &&
           run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}, output);
}

} // namespace zelvo::test
