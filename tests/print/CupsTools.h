#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace zelvo::test {

// Runs a CUPS command-line tool (lpadmin, lpstat, lp ...) under env, whose CUPS_SERVER names
// the service; false when it cannot start, fails or takes longer than half a minute.
bool runCupsTool(const QString& tool, const QStringList& arguments, const QProcessEnvironment& env,
                 QString* output = nullptr);

// The ids ("queue-7") of the service's jobs in one state group: "completed", "not-completed"
// or "all". Empty also when the service cannot be asked.
[[nodiscard]] QStringList jobIds(const QString& which, const QProcessEnvironment& env);

} // namespace zelvo::test
