#include "CurrentFile.h"

#include "DirectoryListing.h"
#include "PicturePath.h"
#include "Wildcard.h"

namespace zelvo {

bool CurrentFile::setFolder(const QString& folder)
{
    std::optional<QStringList> listing = listFiles(folder);
    if (!listing)
        return false;
    const bool changed = QDir::cleanPath(folder) != QDir::cleanPath(m_folder) || m_folder.isEmpty();
    m_folder = folder;
    if (!changed) {
        list(*listing);
        return true;
    }
    // A name selected in the folder listed before is another file here.
    m_selected.clear();
    list(*listing);
    emit folderChanged();
    emit selected(QString(), Change::Cleared);
    return true;
}

void CurrentFile::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    reread();
}

void CurrentFile::reread()
{
    list(listFiles(m_folder).value_or(QStringList()));
}

// The names are in place before the selection they dropped is notified.
void CurrentFile::list(const QStringList& listing)
{
    m_names = filterAndSort(listing, m_pattern);
    const bool dropped = !m_selected.isEmpty() && !m_names.contains(m_selected);
    if (dropped)
        m_selected.clear();
    emit listed();
    if (dropped)
        emit selected(QString(), Change::Cleared);
}

QString CurrentFile::path() const
{
    return m_selected.isEmpty() ? QString() : joinPicturePath(m_folder, m_selected);
}

void CurrentFile::select(const QString& name, Change how)
{
    setSelected(m_names.contains(name) ? name : QString(), how);
}

void CurrentFile::setSelected(const QString& name, Change how)
{
    if (name.isEmpty() && m_selected.isEmpty())
        return;
    m_selected = name;
    emit selected(path(), name.isEmpty() ? Change::Cleared : how);
}

// The selection moves at once with each key; the loads that follow it keep only the newest, so
// that a held key never leaves steps waiting.
bool CurrentFile::step(Step step)
{
    const int row = steppedRow(step, int(m_names.indexOf(m_selected)), count());
    if (row < 0 || m_names[row] == m_selected)
        return false;
    m_onward = step == Step::Next || step == Step::First ? Step::Next : Step::Previous;
    setSelected(m_names[row], Change::Stepped);
    return true;
}

void CurrentFile::stepFailed(const QString& shownPath)
{
    const int at = int(m_names.indexOf(m_selected));
    const int row = steppedRow(m_onward, at, count());
    if (row >= 0 && row != at) {
        setSelected(m_names[row], Change::Stepped);
        return;
    }
    for (const QString& name : m_names) {
        if (joinPicturePath(m_folder, name) == shownPath) {
            setSelected(name, Change::Returned);
            return;
        }
    }
}

} // namespace zelvo
