#pragma once

#include "CommandButton.h"
#include "core/Ground.h"
#include "layouts/Artwork.h"

#include <QPixmap>
#include <QString>

namespace zelvo {

// A picture that runs a command: shown at natural size or stretched to fill its box exactly
// (the picture's proportions not kept), with an optional single-line border.
class PictureBox : public CommandButton
{
    Q_OBJECT
public:
    using CommandButton::CommandButton;

    void setStretch(bool stretch);
    void setBorder(bool border);
    // Assistive technologies read the name followed by the subject of the picture shown.
    void setAccessibleBaseName(const QString& name);
    void setPicture(const QPixmap& picture, const QString& subject = {});
    // One of the program's own pictures, decoded when it is first shown or asked for.
    void setArtwork(const QString& path);
    void clearPicture() { setPicture(QPixmap()); }
    // What shows behind transparent parts of the picture; the window's own ground by default.
    void setGround(Ground ground);
    [[nodiscard]] const QPixmap& picture() const { return m_picture.get(); }
    // The area a stretched picture fills, inside the border.
    [[nodiscard]] QRect pictureArea() const
    {
        return m_border ? rect().adjusted(1, 1, -1, -1) : rect();
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable artwork::LazyPixmap m_picture;
    QString m_baseName;
    QString m_subject;
    bool m_stretch = false;
    bool m_border = false;
    Ground m_ground = Ground::Face;
};

} // namespace zelvo
