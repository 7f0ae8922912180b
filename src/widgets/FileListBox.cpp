#include "FileListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace zelvo {

FileListBox::FileListBox(QWidget* parent) : QListView(parent), m_model(new FileListModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList chosen = selectionModel()->selectedIndexes();
        if (!m_selecting && !chosen.isEmpty())
            choose(names().at(chosen.first().row()));
    });
    follow(*new CurrentFile(this));
}

void FileListBox::follow(CurrentFile& file)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_following))
        disconnect(connection);
    m_file = &file;
    m_following = {connect(m_file, &CurrentFile::listed, this, &FileListBox::showNames),
                   connect(m_file, &CurrentFile::selected, this, &FileListBox::showSelection),
                   connect(m_file, &CurrentFile::folderChanged, this, &FileListBox::pathChanged)};
    showNames();
}

void FileListBox::choose(const QString& name)
{
    m_file->select(name);
    emit clicked();
}

void FileListBox::showNames()
{
    m_selecting = true;
    m_model->setStringList(m_file->names());
    m_selecting = false;
    showSelection();
}

// What the program selects is not notified as a click.
void FileListBox::showSelection()
{
    m_selecting = true;
    const qsizetype row = fileName().isEmpty() ? -1 : names().indexOf(fileName());
    if (row < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = m_model->index(int(row));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    m_selecting = false;
}

// Nothing the user does clears the selection or toggles it away: a press, a drag or a key only
// ever selects a name, which replaces the one selected.
QItemSelectionModel::SelectionFlags FileListBox::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (!index.isValid() || !command.testFlag(QItemSelectionModel::Select) ||
        command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

// Only the left button selects: whatever another button does, the selected file stays the one
// the program last heard of.
void FileListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex pressed = indexAt(event->position().toPoint());
    // A press on the name already selected is a click on it all the same.
    const bool again = pressed.isValid() && selectionModel()->isSelected(pressed);
    QListView::mousePressEvent(event);
    if (again)
        choose(names().at(pressed.row()));
}

// As in the desktop's list boxes, a cursor key selects a name even where the cursor cannot move,
// as on a list of one name that has the focus with nothing selected.
void FileListBox::keyPressEvent(QKeyEvent* event)
{
    QListView::keyPressEvent(event);
    static constexpr int CursorKeys[] = {Qt::Key_Up,     Qt::Key_Down,    Qt::Key_Left,
                                         Qt::Key_Right,  Qt::Key_Home,    Qt::Key_End,
                                         Qt::Key_PageUp, Qt::Key_PageDown};
    if (fileName().isEmpty() && currentIndex().isValid() &&
        std::find(std::begin(CursorKeys), std::end(CursorKeys), event->key()) !=
            std::end(CursorKeys))
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
}

void FileListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        QListView::mouseReleaseEvent(event);
    else
        event->accept();
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        QListView::mouseDoubleClickEvent(event);
    else
        event->accept();
}

} // namespace zelvo
