#pragma once

#include "StepRule.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace zelvo {

// The file on show: the folder listed, the names in it that match the type pattern, in the
// order shown, and the one selected. The list, the file label, the preview, its watch and the
// tile window all follow it, so none of them can disagree with another; a name that is no
// longer listed is no longer selected.
class CurrentFile : public QObject
{
    Q_OBJECT
public:
    // How the selection came to change, which decides what follows it.
    enum class Change {
        Chosen,   // a click, a key in the list, a drop or the command line
        Stepped,  // a key of the tile window, which is to show the file stepped to
        Returned, // back to the file the tile window shows, after a step it could not show
        Cleared,  // nothing selected any more: another folder, or the name is gone
    };
    Q_ENUM(Change)

    using QObject::QObject;

    [[nodiscard]] QString folder() const { return m_folder; }
    // False, with nothing changed, when the folder cannot be read. Another folder starts with
    // nothing selected; the same one is read afresh.
    bool setFolder(const QString& folder);
    [[nodiscard]] QString pattern() const { return m_pattern; }
    // Lists the folder afresh by the pattern.
    void setPattern(const QString& pattern);
    // Reads the folder again, keeping the selection while its name is still listed.
    void reread();
    [[nodiscard]] const QStringList& names() const { return m_names; }
    [[nodiscard]] int count() const { return int(m_names.size()); }

    // The selected name, "" when none is.
    [[nodiscard]] QString selectedName() const { return m_selected; }
    // The folder joined to the selected name, "" when none is selected.
    [[nodiscard]] QString path() const;
    // Selects a listed name; "", or a name not listed, clears the selection. Choosing the
    // selected name again notifies it all the same, as it loads the file afresh.
    void select(const QString& name, Change how = Change::Chosen);

    // Moves the selection a step for the tile window; false when it stays where it is.
    bool step(Step step);
    // The tile window could not show the file stepped to: the step goes on past it, or, at the
    // end of the list, back to the file on show there.
    void stepFailed(const QString& shownPath);

signals:
    // The names listed changed, or were read again.
    void listed();
    // Another folder is listed.
    void folderChanged();
    // The selected name changed; path is "" when none is selected.
    void selected(const QString& path, zelvo::CurrentFile::Change how);

private:
    void list(const QStringList& listing);
    void setSelected(const QString& name, Change how);

    QString m_folder;
    QString m_pattern;
    QStringList m_names;
    QString m_selected;
    // The way the tile window's keys step, which a file that cannot be shown is stepped over.
    Step m_onward = Step::Next;
};

} // namespace zelvo
