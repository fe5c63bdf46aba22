#include "storebookloader.h"

#include "coverart.h"
#include "packagedirectory.h"
#include "vbpreader.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

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
    if (!readDescription(path, book, problem))
        return false;
    book.largeCover = CoverArt::cover(package, CoverArt::LargeSize, book.id);
    book.smallCover = CoverArt::cover(package, CoverArt::SmallSize, book.id);
    return true;
}

bool StoreBookLoader::readDescription(const QString &path, StoreBook &book, QString *problem)
{
    VbpReader reader;
    VRRBookInfo description;
    VRRBookInfo *descriptionPtr = &description;
    VRBChaptersRelt *chapters = nullptr;
    const int code = reader.openVBP(book.id, path, chapters, descriptionPtr);
    if (code != 0) {
        *problem = QStringLiteral("package error %1").arg(code);
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
