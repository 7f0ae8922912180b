#include "FileListBox.h"

#include "core/DirectoryListing.h"
#include "core/Wildcard.h"

#include <QDir>
#include <QMouseEvent>

namespace zelvo {

FileListBox::FileListBox(QWidget* parent) : QListView(parent), m_model(new FileListModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { currentMoved(current); });
    connect(this, &QAbstractItemView::clicked, this, [this] { m_clickedOnRelease = true; });
}

bool FileListBox::setPath(const QString& path)
{
    std::optional<QStringList> listing = listFiles(path);
    if (!listing)
        return false;
    const bool changed = QDir::cleanPath(path) != QDir::cleanPath(m_path) || m_path.isEmpty();
    m_path = path;
    // A name selected in the folder shown before is another file here.
    if (changed)
        setFileName(QString());
    show(*listing);
    if (changed)
        emit pathChanged();
    return true;
}

void FileListBox::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    refresh();
}

void FileListBox::refresh()
{
    show(listFiles(m_path).value_or(QStringList()));
}

QString FileListBox::fileName() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : names().at(selected.first().row());
}

void FileListBox::setFileName(const QString& name)
{
    m_selecting = true;
    const qsizetype row = name.isEmpty() ? -1 : names().indexOf(name);
    if (row < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = m_model->index(int(row));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    m_selecting = false;
}

void FileListBox::show(const QStringList& listing)
{
    const QString selected = fileName();
    m_selecting = true;
    m_model->setStringList(filterAndSort(listing, m_pattern));
    m_selecting = false;
    if (!selected.isEmpty())
        setFileName(selected);
}

void FileListBox::currentMoved(const QModelIndex& current)
{
    // A mouse click notifies on release; a keyboard move notifies at once.
    if (m_selecting || m_mouseHeld || !current.isValid())
        return;
    emit clicked();
}

// Only the left button selects: whatever another button does, the selected file stays the one
// the program last heard of.
bool FileListBox::leftButtonDown(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton) {
        event.accept();
        return false;
    }
    m_mouseHeld = true;
    m_clickedOnRelease = false;
    m_nameAtPress = fileName();
    return true;
}

void FileListBox::mousePressEvent(QMouseEvent* event)
{
    if (leftButtonDown(*event))
        QListView::mousePressEvent(event);
}

void FileListBox::mouseMoveEvent(QMouseEvent* event)
{
    // The left button held down since a press that was not taken selects nothing either.
    if ((event->buttons() & Qt::LeftButton) && !m_mouseHeld) {
        event->accept();
        return;
    }
    QListView::mouseMoveEvent(event);
}

void FileListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_mouseHeld) {
        event->accept();
        return;
    }
    QListView::mouseReleaseEvent(event);
    m_mouseHeld = false;
    // Released on another name than the one pressed, the view reports no click though the
    // selection moved with the pointer: that is a click on the name now selected.
    if (m_clickedOnRelease || fileName() != m_nameAtPress)
        emit clicked();
    m_clickedOnRelease = false;
}

// The second press of a double click; the view takes its release for no click.
void FileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (leftButtonDown(*event))
        QListView::mouseDoubleClickEvent(event);
}

} // namespace zelvo
