#include "storebookloader.h"

#include "coverart.h"
#include "packagedirectory.h"
#include "vrrbookinfo.h"
#include "xmlreader.h"

#include <QFileInfo>

bool StoreBookLoader::load(const QString &path, StoreBook &book, QString *problem)
{
    const QFileInfo info(path);
    book.id = info.completeBaseName();
    book.packagePath = info.absoluteFilePath();
    book.packageSize = info.size();
    book.modified = info.lastModified();

    PackageDirectory package;
    if (!package.open(path)) {
        *problem = QStringLiteral("not a package");
        return false;
    }
    // A top-level chapter package opens too, but it describes no book.
    if (!package.hasRecord("index.xml")) {
        *problem = QStringLiteral("no book description");
        return false;
    }
    if (!readDescription(package, book, problem))
        return false;
    book.largeCover = CoverArt::cover(package, CoverArt::LargeSize, book.id);
    book.smallCover = CoverArt::cover(package, CoverArt::SmallSize, book.id);
    return true;
}

bool StoreBookLoader::readDescription(const PackageDirectory &package, StoreBook &book,
                                      QString *problem)
{
    // Only the description record is read: opening the package the way the
    // reader does would also copy its cover into the reader's folders.
    QByteArray index = package.record("index.xml");
    if (index.isEmpty()) {
        *problem = QStringLiteral("unreadable book description");
        return false;
    }
    VRRBookInfo description;
    VRRBookInfo *descriptionPtr = &description;
    char *text = index.data();
    XmlReader reader;
    if (!reader.ParserBookIndexInfo(text, descriptionPtr)) {
        *problem = QStringLiteral("malformed book description");
        return false;
    }
    book.title = description.m_title.trimmed();
    if (book.title.isEmpty())
        book.title = book.id;
    book.author = description.m_keys.m_author.trimmed();
    book.publisher = description.m_keys.m_publisher.trimmed();
    book.description = description.m_description.trimmed();
    book.chapterCount = int(description.m_caplist.size());
    if (book.chapterCount == 0)
        book.chapterCount = description.m_total;
    return true;
}
