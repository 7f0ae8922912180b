#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

namespace zelvo {

class PictureDocument;
class PictureWorkers;

// The documents of the files the windows show: a window asking for a file another one shows gets
// the same document, whose pixels are then loaded once for both. A document ends when no window
// holds it any more; its loads stop then.
class PictureDocuments
{
public:
    explicit PictureDocuments(PictureWorkers& workers);
    ~PictureDocuments();
    PictureDocuments(const PictureDocuments&) = delete;
    PictureDocuments& operator=(const PictureDocuments&) = delete;

    [[nodiscard]] std::shared_ptr<PictureDocument> open(const QString& path);

private:
    PictureWorkers& m_workers;
    QHash<QString, std::weak_ptr<PictureDocument>> m_open;
    // Every document is its child, so that one let go after the program's events have ended
    // still ends with it.
    QObject m_owner;
};

} // namespace zelvo
