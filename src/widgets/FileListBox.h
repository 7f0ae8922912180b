#pragma once

#include "core/CurrentFile.h"

#include <QListView>
#include <QStringListModel>

namespace zelvo {

// The names listed by a file list box, sorted as it shows them; they cannot be edited or
// dragged.
class FileListModel : public QStringListModel
{
    Q_OBJECT
public:
    using QStringListModel::QStringListModel;

    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractListModel::flags(index);
    }
};

// A list of the files of one folder that match a pattern of wildcards, with one selection: the
// view of a current file, its own or one it follows. Every change of the selected name by the user
// (a press on a name, a drag over the names, a key), and every press on the name already selected,
// notifies clicked() once; nothing the user does leaves the list without a selection once a name is
// selected. Only the left button selects.
class FileListBox : public QListView
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Shows that current file from now on, and the user's choices go to it.
    void follow(CurrentFile& file);

    [[nodiscard]] QString path() const { return m_file->folder(); }
    // False, with nothing changed, when the folder cannot be read. Another folder's list starts
    // with nothing selected.
    bool setPath(const QString& path) { return m_file->setFolder(path); }
    [[nodiscard]] QString pattern() const { return m_file->pattern(); }
    void setPattern(const QString& pattern) { m_file->setPattern(pattern); }
    // The selected file name, "" when none is selected.
    [[nodiscard]] QString fileName() const { return m_file->selectedName(); }
    void setFileName(const QString& name) { m_file->select(name); }
    [[nodiscard]] int listCount() const { return m_file->count(); }
    // The listed names, in the order shown.
    [[nodiscard]] QStringList names() const { return m_file->names(); }
    // Re-reads the folder, keeping the selection while the selected name is still listed.
    void refresh() { m_file->reread(); }

signals:
    void clicked();
    void pathChanged();

protected:
    [[nodiscard]] QItemSelectionModel::SelectionFlags
    selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showNames();
    void showSelection();
    // The user chose the name under the cursor.
    void choose(const QString& name);

    FileListModel* m_model;
    CurrentFile* m_file = nullptr;
    QList<QMetaObject::Connection> m_following;
    // While the program itself changes the selection, which it does not notify.
    bool m_selecting = false;
};

} // namespace zelvo
