// The reading engine and the bookshelf scan, each beside a reference measured
// in the same run:
//   page turn (engine, 20 lines read)      vs copying 20 strings
//   layout of every chapter of the book    vs a plain scan of the same text
//   loading every chapter into the engine  vs loading them with the package reader
//     (the engine lays out a page only when it is needed)
//   open plus first page                   vs plain reads of the bytes it needs
//   first scan of 1,000 packages           vs listing their folder
//   restart with all 1,000 known           vs listing their folder
//   ZR_BENCH_BOOK  the book (default: the full Tang poetry sample book in the
//                  preinstalled folder under $ZARVOREADER_ROOT)

#include "bookpacker.h"
#include "commondef.h"
#include "mybookshelf.h"
#include "packagelayout.h"
#include "vbpreader.h"
#include "vebookreader.h"
#include "vorelebookdatabaseengine.h"
#include "vorelebookshelfmgr.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr int ScanPackages = 1000;

struct ReaderBench
{
    QString bookPath;
    QString bookId;
    QStringList chapterIds;
    QStringList chapterTexts;
    int longestChapter = 0;
    qint64 textUnits = 0;
    // What opening the book and showing its first page read from the package.
    QList<PackageLayout::Range> firstPageRanges;
    std::unique_ptr<QTemporaryDir> scratchRoot;
    QString scanFolder;
    QString error;
};

ReaderBench &setup()
{
    static ReaderBench instance;
    return instance;
}

QString utf16le(const QByteArray &bytes, int length)
{
    const int units = qBound(0, length, int(bytes.size())) / 2;
    QString text(units, Qt::Uninitialized);
    const auto *raw = reinterpret_cast<const uchar *>(bytes.constData());
    for (int i = 0; i < units; ++i)
        text[i] = QChar(ushort(raw[2 * i] | (raw[2 * i + 1] << 8)));
    return text;
}

QString chapterText(VRBChaptersRelt *chapters)
{
    QString text;
    if (!chapters)
        return text;
    for (const auto &item : chapters->m_contentList)
        text += utf16le(item->m_text, item->m_len);
    return text;
}

bool loadChapters(ReaderBench &b)
{
    VbpReader reader;
    VRRBookInfo info;
    VRRBookInfo *infoPtr = &info;
    VRBChaptersRelt *chapters = nullptr;
    if (reader.openVBP(b.bookId, b.bookPath, chapters, infoPtr) != 0 || info.m_caplist.isEmpty())
        return false;
    for (const VRRBookInfo::ChapterItem &item : std::as_const(info.m_caplist)) {
        if (reader.openChapterVBP(item.m_id, chapters) != 0)
            return false;
        b.chapterIds.append(item.m_id);
        b.chapterTexts.append(chapterText(chapters));
        b.textUnits += b.chapterTexts.last().size();
        if (b.chapterTexts.last().size() > b.chapterTexts.at(b.longestChapter).size())
            b.longestChapter = int(b.chapterTexts.size()) - 1;
    }
    return true;
}

bool prepareFirstPageRanges(ReaderBench &b)
{
    const int fd = open(QFile::encodeName(b.bookPath).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const QList<PackageLayout::Range> directory = PackageLayout::read(fd, 0);
    const PackageLayout::Range *first =
        PackageLayout::find(directory, (b.chapterIds.first() + QLatin1String(".vbp")).toUtf8());
    const QList<PackageLayout::Range> chapter =
        first ? PackageLayout::chapterRanges(fd, *first) : QList<PackageLayout::Range>();
    close(fd);
    b.firstPageRanges = PackageLayout::bookOpenRanges(directory) + chapter;
    return !chapter.isEmpty();
}

// One small package copied under 1,000 names: the shelf takes the id from
// the file name.
bool makeScanFolder(ReaderBench &b)
{
    b.scanFolder = UserBookFolder;
    QDir().mkpath(b.scanFolder);
    BookSource source;
    source.id = QStringLiteral("scan");
    source.title = QStringLiteral("Scan book");
    source.author = QStringLiteral("Bench");
    source.chapters.append({QStringLiteral("One"), QString(2000, QChar(0x4E00))});
    source.chapters.append({QStringLiteral("Two"), QStringLiteral("two")});
    const QString first = b.scanFolder + QStringLiteral("/scan-0000.vbp");
    if (!BookPacker(source).writeTo(first))
        return false;
    for (int i = 1; i < ScanPackages; ++i) {
        const QString name = QStringLiteral("/scan-%1.vbp").arg(i, 4, 10, QLatin1Char('0'));
        if (!QFile::copy(first, b.scanFolder + name))
            return false;
    }
    return true;
}

bool prepare(ReaderBench &b)
{
    b.bookPath = qEnvironmentVariable("ZR_BENCH_BOOK");
    if (b.bookPath.isEmpty())
        b.bookPath = PreInstallBookFolder + "/zr-quantangshi.vbp";
    b.bookPath = QFileInfo(b.bookPath).absoluteFilePath();
    b.bookId = QFileInfo(b.bookPath).completeBaseName();
    if (!QFileInfo::exists(b.bookPath)) {
        b.error = QStringLiteral("no book at %1 (run tools/samples/build-library.sh or set "
                                 "ZR_BENCH_BOOK)")
                      .arg(b.bookPath);
        return false;
    }
    // Covers, the library database and the scan folder live in a scratch root.
    b.scratchRoot = std::make_unique<QTemporaryDir>();
    qputenv("ZARVOREADER_ROOT", QFile::encodeName(b.scratchRoot->path()));
    QDir().mkpath(QString(BookInfoFolder));
    if (!loadChapters(b) || !prepareFirstPageRanges(b)) {
        b.error = QStringLiteral("%1 is not a book package with chapters").arg(b.bookPath);
        return false;
    }
    if (!makeScanFolder(b)) {
        b.error = QStringLiteral("cannot write the scan packages");
        return false;
    }
    return true;
}

bool openBook(VEBookReader &reader)
{
    QString id = setup().bookId;
    QString path = setup().bookPath;
    return reader.OpenOneBook(id, path) == 0;
}

void BM_PageTurn(benchmark::State &state)
{
    VEBookReader reader;
    const int chapter = setup().longestChapter;
    if (!openBook(reader) || reader.GetInfomationFromChapter(QString(), chapter) != 0 ||
        reader.GetFirstPageContent() != 0 || reader.chapterPageCount() < 2) {
        state.SkipWithError("cannot open the longest chapter");
        return;
    }
    bool forward = true;
    for (auto _ : state) {
        // Back and forth inside the chapter: never crosses into another one.
        if (reader.currentPageNum() + 1 == reader.chapterPageCount())
            forward = false;
        else if (reader.currentPageNum() == 0)
            forward = true;
        benchmark::DoNotOptimize(forward ? reader.GetNextOnePageContent()
                                         : reader.GetPreOnePageContent());
        for (int i = 0; i < VEBookReader::PageLines; ++i) {
            QString line = reader.GetOneLineContent(i);
            benchmark::DoNotOptimize(line);
        }
    }
    state.counters["pages"] = reader.chapterPageCount();
}

void BM_PageTurn_Reference(benchmark::State &state)
{
    const QList<QStringList> pages =
        VEBookReader::LayoutPages(setup().chapterTexts.at(setup().longestChapter));
    const QStringList page = pages.first();
    for (auto _ : state) {
        for (int i = 0; i < VEBookReader::PageLines; ++i) {
            QString line = page.at(i);
            benchmark::DoNotOptimize(line);
        }
    }
}

void BM_LayoutAllChapters(benchmark::State &state)
{
    qint64 pages = 0;
    for (auto _ : state) {
        pages = 0;
        // What the engine does with a chapter it loads: find where its pages
        // start (the lines of a page are cut when it is shown).
        for (const QString &text : std::as_const(setup().chapterTexts)) {
            const QList<qsizetype> starts = VEBookReader::PageStarts(text);
            pages += starts.size();
            benchmark::DoNotOptimize(starts.constData());
        }
    }
    state.SetBytesProcessed(state.iterations() * setup().textUnits * 2);
    state.counters["chapters"] = double(setup().chapterTexts.size());
    state.counters["pages"] = double(pages);
}

void BM_LayoutAllChapters_Reference(benchmark::State &state)
{
    for (auto _ : state) {
        qint64 lines = 0;
        for (const QString &text : std::as_const(setup().chapterTexts)) {
            for (const QChar c : text)
                lines += c == QLatin1Char('\n');
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * setup().textUnits * 2);
}

void BM_LoadAllChapters(benchmark::State &state)
{
    VEBookReader reader;
    if (!openBook(reader)) {
        state.SkipWithError("cannot open the book");
        return;
    }
    const int chapters = int(setup().chapterIds.size());
    for (auto _ : state) {
        for (int i = 0; i < chapters; ++i) {
            if (reader.GetInfomationFromChapter(QString(), i) != 0)
                state.SkipWithError("chapter failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * setup().textUnits * 2);
}

void BM_LoadAllChapters_Reference(benchmark::State &state)
{
    VbpReader reader;
    VRRBookInfo info;
    VRRBookInfo *infoPtr = &info;
    VRBChaptersRelt *chapters = nullptr;
    if (reader.openVBP(setup().bookId, setup().bookPath, chapters, infoPtr) != 0) {
        state.SkipWithError("cannot open the book");
        return;
    }
    for (auto _ : state) {
        for (const QString &id : std::as_const(setup().chapterIds)) {
            if (reader.openChapterVBP(id, chapters) != 0)
                state.SkipWithError("chapter failed");
            QString text = chapterText(chapters);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(state.iterations() * setup().textUnits * 2);
}

void BM_OpenFirstPage(benchmark::State &state)
{
    auto db = std::make_unique<VorelEBookDatabaseEngine>();
    VEBookReader reader;
    VorelEBookDatabaseEngine *dbPtr = db.get();
    reader.SetDBEngine(dbPtr);
    for (auto _ : state) {
        if (!openBook(reader) || reader.GetFirstPageContent() != 0)
            state.SkipWithError("open failed");
        QString line = reader.GetOneLineContent(0);
        benchmark::DoNotOptimize(line);
    }
}

void BM_OpenFirstPage_Reference(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(setup().bookPath);
    for (auto _ : state)
        if (!PackageLayout::readAll(path, setup().firstPageRanges))
            state.SkipWithError("short read");
    state.SetBytesProcessed(state.iterations() *
                            PackageLayout::totalBytes(setup().firstPageRanges));
}

void BM_ScanFirst(benchmark::State &state)
{
    VorelEBookShelfMgr mgr;
    VEBookReader reader;
    for (auto _ : state) {
        // A true first scan: no records and no extracted covers.
        state.PauseTiming();
        mgr.DeleteAllEBookItem();
        QDir(BookInfoFolder).removeRecursively();
        QDir().mkpath(BookInfoFolder);
        state.ResumeTiming();
        MyBookShelf shelf(mgr, reader);
        benchmark::DoNotOptimize(&shelf);
    }
    if (!mgr.GetBookList() || mgr.GetListData()->size() != ScanPackages)
        state.SkipWithError("the scan did not take in every package");
    state.counters["packages"] = ScanPackages;
}

void BM_ScanKnown(benchmark::State &state)
{
    VorelEBookShelfMgr mgr;
    VEBookReader reader;
    mgr.DeleteAllEBookItem();
    {
        MyBookShelf first(mgr, reader);
    }
    for (auto _ : state) {
        MyBookShelf shelf(mgr, reader);
        benchmark::DoNotOptimize(&shelf);
    }
    state.counters["packages"] = ScanPackages;
}

void ListScanFolder(benchmark::State &state)
{
    for (auto _ : state) {
        const QFileInfoList files = QDir(setup().scanFolder).entryInfoList(QDir::Files, QDir::Name);
        if (files.size() != ScanPackages)
            state.SkipWithError("unexpected folder content");
        benchmark::DoNotOptimize(files.constData());
    }
}

void BM_ScanFirst_Reference(benchmark::State &state)
{
    ListScanFolder(state);
}

void BM_ScanKnown_Reference(benchmark::State &state)
{
    ListScanFolder(state);
}

} // namespace

BENCHMARK(BM_PageTurn);
BENCHMARK(BM_PageTurn_Reference);
BENCHMARK(BM_LayoutAllChapters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutAllChapters_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAllChapters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAllChapters_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFirstPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFirstPage_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanFirst)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanFirst_Reference)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanKnown)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ScanKnown_Reference)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!prepare(setup())) {
        std::fprintf(stderr, "bench_reader: %s\n", qPrintable(setup().error));
        return 1;
    }
    std::printf("book: %s, %lld chapters, %lld UTF-16 units; scan: %d packages in %s\n",
                qPrintable(setup().bookPath), (long long)setup().chapterTexts.size(),
                (long long)setup().textUnits, ScanPackages, qPrintable(setup().scanFolder));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
