#pragma once

#include <QLabel>

namespace zelvo {

// A small sign in a corner of a view while it waits for a picture that takes a while; the view
// stays usable under it.
class BusySign : public QLabel
{
    Q_OBJECT
public:
    BusySign(QWidget& view, Qt::Corner corner);

    void setBusy(bool busy);

private:
    Qt::Corner m_corner;
};

} // namespace zelvo
