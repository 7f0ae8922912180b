#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace zelvo {

class Platform;

// The folder chooser: a modal dialog starting at a folder; its selected folder is the one the
// user confirmed last and stays unchanged by a cancel.
class FolderChooser : public QObject
{
    Q_OBJECT
public:
    FolderChooser(Platform& platform, QWidget* owner);

    void setStartFolder(const QString& folder) { m_startFolder = folder; }
    // True when the user confirmed a folder, false when the user cancelled.
    bool browse();
    [[nodiscard]] QString selectedFolder() const { return m_selectedFolder; }
    // A folder chosen another way (dropped on the window), as if confirmed in the dialog.
    void choose(const QString& folder) { m_selectedFolder = folder; }

private:
    Platform& m_platform;
    QWidget* m_owner;
    QString m_startFolder;
    QString m_selectedFolder;
};

} // namespace zelvo
