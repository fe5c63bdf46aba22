#include "vebookreader.h"

#include "commondef.h"
#include "indexandmarkviewlistmodel.h"
#include "vorelebookchapteritemdata.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookitemdata.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QQmlContext>
#include <QQuickView>
#include <QtAlgorithms>
#include <algorithm>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// An empty chapter still shows one page.
const QString EmptyChapterText = QStringLiteral("  ");
// Fills a short page up to 20 lines.
const QString PaddingLine = QStringLiteral("   ");
// Answer for a line outside the prepared page.
const QString NoLine = QStringLiteral("  ");
// Separates the date from the description in a bookmark row.
const QString BookmarkGap = QStringLiteral("   ");
// Chapter numbers outside the book: there is nothing to read.
constexpr int NoSuchChapter = EFileNumError;
} // namespace

VEBookReader::VEBookReader(QObject *parent)
    : QObject(parent), bookinfo(std::make_unique<VRRBookInfo>()),
      ChapterNameListModel(new indexAndMarkViewListModel(this))
{}

VEBookReader::~VEBookReader()
{
    if (m_view) {
        m_view->rootContext()->setContextProperty(QStringLiteral("listItemModel"), nullptr);
        m_view->rootContext()->setContextProperty(QStringLiteral("bookreader"), nullptr);
    }
    delete ChapterNameListModel;
}

void VEBookReader::SetDBEngine(VorelEBookDatabaseEngine *&dbEngine)
{
    m_dbEngine = dbEngine;
}

void VEBookReader::setDeclarativeView(QQuickView &view)
{
    m_view = &view;
    view.rootContext()->setContextProperty(QStringLiteral("listItemModel"), ChapterNameListModel);
    view.rootContext()->setContextProperty(QStringLiteral("bookreader"), this);
}

// ---- layout ---------------------------------------------------------------

namespace {
// A character that only counts: neither a control character that may break
// the line nor half of a surrogate pair.
bool IsPlainUnit(char16_t c)
{
    return c > u'\r' && (c < 0xD800 || c > 0xDFFF);
}

// How many units from i on are plain, looking at 16 at most (0 where fewer
// than 16 are left: the caller then goes one unit at a time).
int PlainRun(const char16_t *chars, qsizetype i, qsizetype size)
{
#if defined(__SSE2__)
    if (size - i < 16)
        return 0;
    const __m128i breaks = _mm_set1_epi16(short(u'\r'));
    const __m128i pairMask = _mm_set1_epi16(short(0xF800));
    const __m128i pairBits = _mm_set1_epi16(short(0xD800));
    quint32 special = 0;
    for (int half = 0; half < 2; ++half) {
        const __m128i units =
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(chars + i + 8 * half));
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(units, breaks), _mm_setzero_si128());
        const __m128i pair = _mm_cmpeq_epi16(_mm_and_si128(units, pairMask), pairBits);
        special |= quint32(_mm_movemask_epi8(_mm_or_si128(low, pair))) << (16 * half);
    }
    // Two mask bits per unit.
    return special ? int(qCountTrailingZeroBits(special) / 2) : 16;
#else
    Q_UNUSED(chars);
    Q_UNUSED(i);
    Q_UNUSED(size);
    return 0;
#endif
}

// Where the line starting at start ends: the line is text[start, end) less its
// carriage returns, and the next one starts at the answer. -1 when no
// character is left to show.
qsizetype NextLine(const QString &text, qsizetype start, qsizetype &end, bool &sawReturn)
{
    const char16_t *chars = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    sawReturn = false;
    int count = 0;
    for (qsizetype i = start; i < size; ++i) {
        // Runs of characters that only count are taken in bulk.
        const int run = PlainRun(chars, i, size);
        if (count + run >= VEBookReader::LineChars) {
            end = i + (VEBookReader::LineChars - count);
            return end;
        }
        count += run;
        i += run;
        if (i >= size)
            break;
        const char16_t c = chars[i];
        if (c == u'\n') {
            end = i;
            return i + 1;
        }
        if (c == u'\r') {
            // A carriage return takes no room: "\r\n" ends a line like "\n".
            sawReturn = true;
            continue;
        }
        // A surrogate pair is one character on screen and is never split.
        if (!IsPlainUnit(c) && QChar::isHighSurrogate(c) && i + 1 < size &&
            QChar::isLowSurrogate(chars[i + 1]))
            ++i;
        if (++count < VEBookReader::LineChars)
            continue;
        end = i + 1;
        return end;
    }
    end = size;
    return count > 0 ? size : -1;
}

// Goes on laying text out at from, after lines lines, until starts holds
// wanted pages or the text ends; answers where to go on (-1: at the end).
qsizetype LayOutPages(const QString &text, qsizetype from, int &lines, QList<qsizetype> &starts,
                      qsizetype wanted)
{
    qsizetype end = 0;
    bool sawReturn = false;
    while (from >= 0 && starts.size() < wanted) {
        const qsizetype next = NextLine(text, from, end, sawReturn);
        if (next < 0)
            return -1;
        if (lines++ % VEBookReader::PageLines == 0)
            starts.append(from);
        from = next;
    }
    return from;
}

constexpr qsizetype AllPages = std::numeric_limits<qsizetype>::max();
} // namespace

QList<qsizetype> VEBookReader::PageStarts(const QString &text)
{
    // Only where every page starts is kept; the lines of the page shown are
    // cut again when it is shown, so laying out a chapter allocates nothing
    // per line.
    QList<qsizetype> starts;
    int lines = 0;
    LayOutPages(text, 0, lines, starts, AllPages);
    return starts;
}

QStringList VEBookReader::PageFrom(const QString &text, qsizetype start)
{
    QStringList page;
    page.reserve(PageLines);
    qsizetype end = 0;
    bool sawReturn = false;
    for (qsizetype next = start; page.size() < PageLines; start = next) {
        next = NextLine(text, start, end, sawReturn);
        if (next < 0)
            break;
        QString line = text.mid(start, end - start);
        if (sawReturn)
            line.remove(QLatin1Char('\r'));
        page.append(line);
    }
    return page;
}

QList<QStringList> VEBookReader::LayoutPages(const QString &source)
{
    const QString &text = source.isEmpty() ? EmptyChapterText : source;
    QList<QStringList> pages;
    for (const qsizetype start : PageStarts(text))
        pages.append(PageFrom(text, start));
    return pages;
}

int VEBookReader::GetOneChapterPageNum()
{
    if (OneChapterInfo.isEmpty())
        OneChapterInfo = EmptyChapterText;
    m_pageStarts.clear();
    m_layoutFrom = 0;
    m_layoutLines = 0;
    // Only the first page is laid out now, the others when they are needed:
    // the first page shows without waiting for a long chapter.
    HasPage(0);
    return OneChapterContentNum;
}

void VEBookReader::LayOutUpTo(qsizetype pages)
{
    if (m_layoutFrom >= 0 && m_pageStarts.size() < pages)
        m_layoutFrom =
            LayOutPages(OneChapterInfo, m_layoutFrom, m_layoutLines, m_pageStarts, pages);
    OneChapterContentNum = int(m_pageStarts.size());
}

bool VEBookReader::HasPage(int page)
{
    if (page < 0)
        return false;
    LayOutUpTo(qsizetype(page) + 1);
    return page < m_pageStarts.size();
}

int VEBookReader::chapterPageCount()
{
    LayOutUpTo(AllPages);
    return OneChapterContentNum;
}

void VEBookReader::SetOneLineContent()
{
    PageLineContent.clear();
    if (!HasPage(CurrentPageNum))
        return;
    PageLineContent = PageFrom(OneChapterInfo, m_pageStarts.at(CurrentPageNum));
    while (PageLineContent.size() < PageLines)
        PageLineContent.append(PaddingLine);
}

QString VEBookReader::GetOneLineContent(int index)
{
    if (index < 0 || index >= PageLineContent.size())
        return NoLine;
    return PageLineContent.at(index);
}

// ---- chapters -------------------------------------------------------------

bool VEBookReader::ChapterInBook(int chapterNum) const
{
    return chapterNum >= 1 && chapterNum <= bookinfo->m_caplist.size();
}

QString VEBookReader::CurrentChapterId() const
{
    if (!ChapterInBook(CurrentChapterNum))
        return QString();
    return bookinfo->m_caplist.at(CurrentChapterNum - 1).m_id;
}

int VEBookReader::GetOneChapterContentInfo(const QString &chapterId, bool firstAfterOpen)
{
    // The relation belongs to the package reader, which frees the previous
    // one itself when it builds the next.
    chapter = nullptr;
    // The text is read straight into the spare string, whose room is used
    // again; the chapter shown stays as it is unless the new one loads.
    const int result = firstAfterOpen
                           ? m_vbpReader.openFirstChapterVBP(chapterId, chapter, m_nextChapterText)
                           : m_vbpReader.openChapterVBP(chapterId, chapter, m_nextChapterText);
    if (result != EerrorNot) {
        chapter = nullptr;
        return result;
    }
    OneChapterInfo.swap(m_nextChapterText);
    return EerrorNot;
}

int VEBookReader::GetOneChapterContent(bool firstAfterOpen)
{
    if (!ChapterInBook(CurrentChapterNum))
        return NoSuchChapter;
    const int result = GetOneChapterContentInfo(bookinfo->m_caplist.at(CurrentChapterNum - 1).m_id,
                                                firstAfterOpen);
    if (result != EerrorNot)
        return result;
    GetOneChapterPageNum();
    m_loadedChapterNum = CurrentChapterNum;
    return EerrorNot;
}

int VEBookReader::GetChapterContent(const QString &bookid, const QString &path, bool &packageRead)
{
    chapter = nullptr;
    bookinfo = std::make_unique<VRRBookInfo>();
    VRRBookInfo *info = bookinfo.get();
    packageRead = false;
    const int result = m_vbpReader.openVBP(bookid, path, chapter, info);
    if (result != EerrorNot)
        return result;
    // A book that lists no chapter is malformed as a whole.
    if (bookinfo->m_caplist.isEmpty())
        return NoSuchChapter;
    packageRead = true;
    const int loaded = GetOneChapterContent(true);
    if (loaded != EerrorNot)
        return loaded;
    AllChapterNum = int(bookinfo->m_caplist.size());
    return EerrorNot;
}

bool VEBookReader::IsDamagedPackage(int result)
{
    // A missing or unreadable file (storage unmounted, no permission), one
    // shorter than its own directory says (still being copied over) and a
    // shortage of memory may all pass; only a package whose content was read
    // and is not a book is beyond repair.
    switch (result) {
    case EerrorNot:
    case EFileNotExist:
    case EopenVbpFileError:
    case EFileSizeError:
    case EMemoryNotEnough:
        return false;
    default:
        return true;
    }
}

void VEBookReader::RemoveBrokenBook()
{
    if (!m_dbEngine)
        return;
    m_dbEngine->DeleteEBookInfo(BookId);
    m_dbEngine->deleteOneBookMarkRelation(BookId);
    m_dbEngine->DeleteBookmark(BookId);
}

// ---- reading --------------------------------------------------------------

int VEBookReader::OpenOneBook(const QString &bookid, const QString &path)
{
    IsFromListView = false;
    CurrentChapterNum = 1;
    CurrentPageNum = 0;
    AllChapterNum = 0;
    BookId = bookid;
    m_loadedChapterNum = 0;
    // Emptied, not freed: the next chapter's text is read into this room.
    OneChapterInfo.resize(0);
    m_pageStarts.clear();
    m_layoutFrom = -1;
    m_layoutLines = 0;
    OneChapterContentNum = 0;
    PageLineContent.clear();
    bookmark.clear();

    bool packageRead = false;
    const int result = GetChapterContent(bookid, path, packageRead);
    if (result != EerrorNot) {
        // Only a malformed package leaves the library. A file that is away
        // for the moment, or a bad first chapter, keeps the book's row, its
        // position and its bookmarks: the shelf goes on showing the book as
        // it was, and it opens where it was left once it can be read again.
        if (!packageRead && IsDamagedPackage(result))
            RemoveBrokenBook();
        // No book is open now, so closing must not store a position over the
        // one kept for this book.
        BookId.clear();
        return result;
    }
    ChapterNameListModel->setBookName(bookinfo->m_title);
    return EerrorNot;
}

int VEBookReader::GetFirstPageContent()
{
    if (!IsFromListView) {
        VorelEBookChapterItemData stored;
        if (!m_dbEngine || !m_dbEngine->GetBookChapterMark(BookId, stored))
            return 1;
        if (!stored.m_bookChapterId.isEmpty()) {
            CurrentPageNum = stored.m_bookReadingPageNum;
            for (int i = 0; i < bookinfo->m_caplist.size(); ++i) {
                if (bookinfo->m_caplist.at(i).m_id == stored.m_bookChapterId) {
                    CurrentChapterNum = i + 1;
                    break;
                }
            }
        }
    }
    // Opening the book has laid out its first chapter already.
    if (m_loadedChapterNum != CurrentChapterNum) {
        const int result = GetOneChapterContent();
        if (result != EerrorNot)
            return result;
    }
    // A stored page may lie beyond a chapter that has since become shorter.
    if (!HasPage(CurrentPageNum))
        CurrentPageNum = qBound(0, CurrentPageNum, chapterPageCount() - 1);
    IsFromListView = false;
    SetOneLineContent();
    return EerrorNot;
}

int VEBookReader::GetNextOnePageContent()
{
    if (m_loadedChapterNum != CurrentChapterNum) {
        const int result = GetOneChapterContent();
        if (result != EerrorNot)
            return result;
    }
    if (HasPage(CurrentPageNum + 1)) {
        ++CurrentPageNum;
        SetOneLineContent();
        return EerrorNot;
    }
    // Past the last page of the book the reader stays where it is.
    if (!ChapterInBook(CurrentChapterNum + 1)) {
        SetOneLineContent();
        return NoSuchChapter;
    }
    const int oldChapter = CurrentChapterNum;
    const int oldPage = CurrentPageNum;
    ++CurrentChapterNum;
    CurrentPageNum = 0;
    const int result = GetOneChapterContent();
    if (result != EerrorNot) {
        // One bad chapter does not make the book worthless: the reader stays
        // on the page shown and the library keeps everything of the book.
        CurrentChapterNum = oldChapter;
        CurrentPageNum = oldPage;
        return result;
    }
    SetOneLineContent();
    return EerrorNot;
}

int VEBookReader::GetPreOnePageContent()
{
    if (m_loadedChapterNum != CurrentChapterNum) {
        const int result = GetOneChapterContent();
        if (result != EerrorNot)
            return result;
    }
    if (CurrentPageNum > 0) {
        CurrentPageNum = HasPage(CurrentPageNum - 1) ? CurrentPageNum - 1 : chapterPageCount() - 1;
        SetOneLineContent();
        return EerrorNot;
    }
    // Before the first page of the book the reader stays where it is.
    if (!ChapterInBook(CurrentChapterNum - 1)) {
        SetOneLineContent();
        return NoSuchChapter;
    }
    const int oldChapter = CurrentChapterNum;
    --CurrentChapterNum;
    const int result = GetOneChapterContent();
    if (result != EerrorNot) {
        CurrentChapterNum = oldChapter;
        return result;
    }
    CurrentPageNum = chapterPageCount() - 1;
    SetOneLineContent();
    return EerrorNot;
}

bool VEBookReader::IsTheFistPage()
{
    return CurrentChapterNum == 1 && CurrentPageNum == 0;
}

bool VEBookReader::IsTheLastPage()
{
    if (CurrentChapterNum != AllChapterNum)
        return false;
    // Laying out one page further tells whether this one is the last.
    if (CurrentPageNum < 0)
        return CurrentPageNum + 1 == chapterPageCount();
    return HasPage(CurrentPageNum) && !HasPage(CurrentPageNum + 1);
}

// ---- position and lists ---------------------------------------------------

bool VEBookReader::StorePosition(const QString &bookid, const VorelEBookChapterItemData &record)
{
    // A position without its book would outlive it unseen.
    if (!m_dbEngine->isBookIdExisted(bookid))
        return false;
    int count = 0;
    if (!m_dbEngine->GetBookChapterMarkCount(bookid, count))
        return false;
    if (count < 1)
        return m_dbEngine->AddEBookChapterInfo(bookid, record);
    return m_dbEngine->UpdateBookChapterMark(bookid, record);
}

bool VEBookReader::StartUpListView()
{
    // With no book open there is no position to keep.
    if (!m_dbEngine || BookId.isEmpty())
        return false;
    if (!m_dbEngine->UpdateReadingDateByBookId(BookId, QDateTime::currentDateTime()))
        return false;
    VorelEBookChapterItemData record(QString(), CurrentPageNum, QString());
    if (ChapterInBook(CurrentChapterNum)) {
        const VRRBookInfo::ChapterItem &entry = bookinfo->m_caplist.at(CurrentChapterNum - 1);
        record.m_bookChapterId = entry.m_id;
        record.m_bookChapterName = entry.m_title;
    }
    if (!StorePosition(BookId, record))
        return false;
    GetChapterList();
    return true;
}

bool VEBookReader::GetChapterList()
{
    preChapterNum = CurrentChapterNum;
    prePageNum = CurrentPageNum;
    ChapterNameListModel->clearAll();
    for (const VRRBookInfo::ChapterItem &entry : std::as_const(bookinfo->m_caplist)) {
        if (!ChapterNameListModel->insertItem(entry.m_title))
            return false;
    }
    ChapterNameListModel->setCurrentIndex(unsigned(qMax(0, CurrentChapterNum - 1)));
    return true;
}

int VEBookReader::GetInfomationFromChapter(QString Chaptername, int ChapterID)
{
    Q_UNUSED(Chaptername);
    if (!ChapterInBook(ChapterID + 1))
        return NoSuchChapter;
    IsFromListView = true;
    CurrentChapterNum = ChapterID + 1;
    CurrentPageNum = 0;
    return GetOneChapterContent();
}

void VEBookReader::SetPreChapterNum()
{
    CurrentChapterNum = preChapterNum;
    CurrentPageNum = prePageNum;
    // A chapter chosen from the list may have been loaded meanwhile.
    if (m_loadedChapterNum != CurrentChapterNum && GetOneChapterContent() != EerrorNot)
        return;
    SetOneLineContent();
}

// ---- bookmarks ------------------------------------------------------------

bool VEBookReader::GetBookmarkList()
{
    ChapterNameListModel->clearAll();
    bookmark.clear();
    if (!m_dbEngine)
        return false;
    const bool ok = m_dbEngine->GetMarkRelationInfo(BookId, bookmark);
    for (const VorelEBookMarkRelationItem &mark : std::as_const(bookmark)) {
        QString date = mark.m_bookMarkDate.toString(QStringLiteral("yyyy-MM-dd"));
        // The screen cuts the row after ten characters, so keep the width.
        if (date.size() != 10)
            date = QString(10, QLatin1Char(' '));
        ChapterNameListModel->insertItem(date + BookmarkGap + mark.m_bookMarkDes);
    }
    return ok;
}

bool VEBookReader::GetInfomationFromBookMark(int index)
{
    if (index < 0 || index >= bookmark.size())
        return false;
    const VorelEBookMarkRelationItem &mark = bookmark.at(index);
    // A mark of a chapter the book no longer has leads nowhere.
    if (!ChapterInBook(mark.m_chapterpageNum))
        return false;
    CurrentPageNum = mark.m_bookReadingPageNum;
    CurrentChapterNum = mark.m_chapterpageNum;
    IsFromListView = true;
    return true;
}

bool VEBookReader::IsBookMark()
{
    if (!m_dbEngine || !ChapterInBook(CurrentChapterNum))
        return false;
    int count = 0;
    m_dbEngine->GetMarkRelationCount(BookId, CurrentChapterId(), CurrentPageNum, count);
    return count >= 1;
}

QString VEBookReader::FirstTextLineOfPage()
{
    if (!HasPage(CurrentPageNum))
        return QString();
    for (QString line : PageFrom(OneChapterInfo, m_pageStarts.at(CurrentPageNum))) {
        if (line.trimmed().isEmpty())
            continue;
        return line.remove(QLatin1Char('\n')).trimmed();
    }
    return QString();
}

bool VEBookReader::SaveBookMrak()
{
    if (!m_dbEngine || !ChapterInBook(CurrentChapterNum))
        return false;
    const VRRBookInfo::ChapterItem &entry = bookinfo->m_caplist.at(CurrentChapterNum - 1);
    int count = 0;
    m_dbEngine->GetMarkRelationCount(BookId, entry.m_id, CurrentPageNum, count);
    if (count >= 1) {
        m_dbEngine->DeleteMarkRelation(BookId, entry.m_id, CurrentPageNum);
        return false;
    }
    VorelEBookMarkRelationItem mark;
    mark.m_bookId = BookId;
    mark.m_bookName = bookinfo->m_title;
    mark.m_bookChapterId = entry.m_id;
    mark.m_bookChapterName = entry.m_title;
    mark.m_bookReadingPageNum = CurrentPageNum;
    mark.m_chapterpageNum = CurrentChapterNum;
    mark.m_bookMarkDate = QDateTime::currentDateTime();
    mark.m_bookMarkDes = FirstTextLineOfPage();
    return m_dbEngine->AddMarkRelation(mark);
}

bool VEBookReader::DeleteOneBookMark(int bookmarkindex)
{
    if (bookmarkindex < 0 || bookmarkindex >= bookmark.size() || !m_dbEngine)
        return false;
    const VorelEBookMarkRelationItem mark = bookmark.at(bookmarkindex);
    const bool ok =
        m_dbEngine->DeleteMarkRelation(BookId, mark.m_bookChapterId, mark.m_bookReadingPageNum);
    bookmark.removeAt(bookmarkindex);
    ChapterNameListModel->deleteItem(bookmarkindex);
    return ok;
}

int VEBookReader::ResetBookInfo(QString bookid)
{
    if (!m_dbEngine)
        return EFileNotExist;
    VorelEBookItemData row;
    m_dbEngine->GetBookProperty(bookid, row);
    m_dbEngine->UpdateReadingDateByBookId(bookid, QDateTime::currentDateTime());
    // A reader of its own: the open book and its position stay untouched.
    VbpReader reader;
    auto info = std::make_unique<VRRBookInfo>();
    VRRBookInfo *infoPtr = info.get();
    VRBChaptersRelt *relation = nullptr;
    const int result = reader.openVBP(bookid, row.m_bookStorePath, relation, infoPtr);
    if (result != EerrorNot)
        return result;
    VorelEBookChapterItemData record(QString(), 0, QString());
    if (!info->m_caplist.isEmpty()) {
        record.m_bookChapterId = info->m_caplist.first().m_id;
        record.m_bookChapterName = info->m_caplist.first().m_title;
    }
    StorePosition(bookid, record);
    return EerrorNot;
}

// ---- bookshelf services ---------------------------------------------------

bool VEBookReader::IsSafeBookId(const QString &bookid)
{
    if (bookid.isEmpty() || bookid == QLatin1String(".") || bookid.contains(QLatin1String("..")))
        return false;
    return !bookid.contains(QLatin1Char('/')) && !bookid.contains(QLatin1Char('\\')) &&
           !bookid.contains(QChar(0));
}

bool VEBookReader::SearchVbpFile(QString folder, QList<QString> &filepath, QList<QString> &bookid)
{
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return false;
    filepath.clear();
    bookid.clear();
    // Names only, sorted here: a shelf of known books is scanned at every
    // start, and a listing of file infos sorted by QDir cost several times
    // the rest of that scan. The file type comes with the directory entry.
    QStringList names;
    QDirIterator entries(dir.absolutePath(), {QStringLiteral("*.vbp")}, QDir::Files);
    while (entries.hasNext()) {
        entries.next();
        names.append(entries.fileName());
    }
    std::sort(names.begin(), names.end());
    for (const QString &name : std::as_const(names)) {
        // The name filter ignores case; the suffix must be ".vbp" itself.
        if (!name.endsWith(QLatin1String(".vbp")))
            continue;
        const QString id = name.chopped(4);
        if (!IsSafeBookId(id))
            continue;
        filepath.append(dir.absoluteFilePath(name));
        bookid.append(id);
    }
    return true;
}

int VEBookReader::GetDownLoadBookInfo(const QString &bookid, const QString &BookPath,
                                      QString &bookname, QString &IconPath, QString &BookAuthor,
                                      uint &BookSize)
{
    // The id names the cover file: it must not lead out of the cover folder.
    if (!IsSafeBookId(bookid))
        return EFileNotExist;
    // A reader of its own, so that a package taken in while a book is open
    // does not replace the open book.
    VbpReader reader;
    auto info = std::make_unique<VRRBookInfo>();
    VRRBookInfo *infoPtr = info.get();
    VRBChaptersRelt *relation = nullptr;
    const int result = reader.openVBP(bookid, BookPath, relation, infoPtr);
    if (result != EerrorNot)
        return result;
    // A package without chapters (a lone chapter package, say) is no book.
    if (info->m_caplist.isEmpty())
        return EFileTypeError;
    bookname = info->m_Title_BookName;
    BookAuthor = info->m_keys.m_author;
    IconPath = BookInfoFolder + "/" + bookid + QLatin1String(".png");
    BookSize = uint(QFileInfo(BookPath).size() / 1024);
    return EerrorNot;
}

bool VEBookReader::DeleteFileFromDisk(const QString &bookPath, const QString &iconPath)
{
    // A package that is already gone counts as removed, so that its shelf
    // entry can still be deleted; one that cannot be removed stops here.
    if (QFileInfo::exists(bookPath) && !QFile::remove(bookPath))
        return false;
    if (iconPath.trimmed().isEmpty() || !QFileInfo::exists(iconPath))
        return true;
    return QFile::remove(iconPath);
}
