#include "PictureTypes.h"

#include <QList>

namespace zelvo {

const PictureType* pictureTypeForSuffix(QStringView suffix)
{
    for (const PictureType& type : PictureTypes) {
        const QString pattern = QLatin1String(type.pattern);
        for (const QStringView part : QStringView(pattern).split(u';')) {
            if (part.startsWith(u"*.") && part.mid(2).compare(suffix, Qt::CaseInsensitive) == 0)
                return &type;
        }
    }
    return nullptr;
}

} // namespace zelvo
