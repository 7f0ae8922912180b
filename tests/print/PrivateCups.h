#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zelvo::test {

// The PDF queue's printable area starts this many points (1/72 inch) from the page's left and
// top edges.
inline constexpr double PdfQueuePrintableLeft = 18;
inline constexpr double PdfQueuePrintableTop = 36;

// A print service of the test's own: cupsd with its configuration, spool, logs and output in a
// temporary folder, listening on a private socket only. It never reads the machine's /etc/cups
// and leaves any running system cupsd alone. Stopped when destroyed.
class PrivateCups
{
public:
    PrivateCups();
    ~PrivateCups();
    Q_DISABLE_COPY(PrivateCups)

    // Starts cupsd and waits until it answers; false, with failure() saying why, when it cannot.
    bool start();
    void stop();
    [[nodiscard]] QString failure() const { return m_failure; }

    // The environment under which CUPS clients (lpadmin, lpstat, the program) talk to this
    // service alone, with no user or system default printer of their own.
    [[nodiscard]] QProcessEnvironment clientEnvironment() const;
    // The same for a service that is not there: a socket where nothing listens.
    [[nodiscard]] QProcessEnvironment absentServiceEnvironment() const;

    // Adds a queue that writes each job, as PDF, to outputFile, and makes it the default; output
    // gets what lpadmin said.
    bool addPdfQueue(const QString& name, const QString& outputFile, QString* output = nullptr);

    // Runs a CUPS command-line tool against this service; false when it fails or times out.
    bool run(const QString& tool, const QStringList& arguments, QString* output = nullptr);

    [[nodiscard]] QString folder() const { return m_dir.path(); }
    [[nodiscard]] QString socketPath() const;
    [[nodiscard]] QString errorLog() const;

private:
    bool writeConfiguration();

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_failure;
};

} // namespace zelvo::test
