#pragma once

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

// A list of the files of one folder that match a pattern of wildcards, with one selection.
// A click on a name, a drag of the selection with the left button, or moving the selection with
// the keyboard, notifies clicked(); only the left button selects.
class FileListBox : public QListView
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    [[nodiscard]] QString path() const { return m_path; }
    // False, with nothing changed, when the folder cannot be read. Another folder's list starts
    // with nothing selected.
    bool setPath(const QString& path);
    [[nodiscard]] QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    // The selected file name, "" when none is selected.
    [[nodiscard]] QString fileName() const;
    void setFileName(const QString& name);
    [[nodiscard]] int listCount() const { return m_model->rowCount(); }
    // The listed names, in the order shown.
    [[nodiscard]] QStringList names() const { return m_model->stringList(); }
    // Re-reads the folder, keeping the selection while the selected name is still listed.
    void refresh();

signals:
    void clicked();
    void pathChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void show(const QStringList& listing);
    void currentMoved(const QModelIndex& current);
    // Notes a press of the left button; false, with the press taken, for another button.
    bool leftButtonDown(QMouseEvent& event);

    FileListModel* m_model;
    QString m_path;
    QString m_pattern;
    bool m_mouseHeld = false;
    bool m_selecting = false;
    // The selection when the left button went down, and whether the release was a click.
    QString m_nameAtPress;
    bool m_clickedOnRelease = false;
};

} // namespace zelvo
