// Opening the largest sample book and loading its longest chapter with the
// package reader, each beside the floor of reading the same byte ranges with
// plain open/pread/close.
//   ZR_BENCH_BOOK  the package (default: the full Tang poetry sample book in
//                  the preinstalled folder under $ZARVOREADER_ROOT)

#include "commondef.h"
#include "packagelayout.h"
#include "vbpreader.h"
#include "vrbchaptersrelt.h"
#include "vrrbookinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

struct BenchBook
{
    QString path;
    QString id;
    QByteArray nativePath;
    // Byte ranges the reader touches.
    QList<PackageLayout::Range> openRanges;
    QList<PackageLayout::Range> chapterRanges;
    QString longestChapter;
    int64_t longestChapterBytes = 0;
    std::unique_ptr<QTemporaryDir> scratchRoot;
    QString error;
};

BenchBook &book()
{
    static BenchBook instance;
    return instance;
}

QString defaultBookPath()
{
    return PreInstallBookFolder + "/zr-quantangshi.vbp";
}

bool prepareChapterRanges(BenchBook &b, int fd, const QList<PackageLayout::Range> &directory)
{
    const PackageLayout::Range *longest = nullptr;
    for (const PackageLayout::Range &range : directory)
        if (range.name.endsWith(".vbp") && (!longest || range.length > longest->length))
            longest = &range;
    if (!longest)
        return false;
    b.longestChapter = QString::fromLatin1(longest->name.chopped(4));
    b.longestChapterBytes = longest->length;
    b.chapterRanges = PackageLayout::chapterRanges(fd, *longest);
    return !b.chapterRanges.isEmpty();
}

bool prepare(BenchBook &b)
{
    b.path = qEnvironmentVariable("ZR_BENCH_BOOK", defaultBookPath());
    b.nativePath = QFile::encodeName(b.path);
    b.id = QFileInfo(b.path).completeBaseName();
    const int fd = open(b.nativePath.constData(), O_RDONLY);
    if (fd < 0) {
        b.error = QStringLiteral("cannot open %1 (set ZR_BENCH_BOOK or build the sample library)")
                      .arg(b.path);
        return false;
    }
    const QList<PackageLayout::Range> directory = PackageLayout::read(fd, 0);
    b.openRanges = PackageLayout::bookOpenRanges(directory);
    const bool ok = !directory.isEmpty() && prepareChapterRanges(b, fd, directory);
    close(fd);
    if (!ok) {
        b.error = QStringLiteral("%1 is not a book package with chapters").arg(b.path);
        return false;
    }
    // The reader writes the cover into the data root; keep that away from
    // the real folders.
    b.scratchRoot = std::make_unique<QTemporaryDir>();
    qputenv("ZARVOREADER_ROOT", QFile::encodeName(b.scratchRoot->path()));
    QDir().mkpath(QString(BookInfoFolder));
    return true;
}

void plainReads(benchmark::State &state, const QList<PackageLayout::Range> &ranges)
{
    for (auto _ : state)
        if (!PackageLayout::readAll(book().nativePath, ranges))
            state.SkipWithError("short read");
    state.SetBytesProcessed(state.iterations() * PackageLayout::totalBytes(ranges));
}

void BM_OpenBook(benchmark::State &state)
{
    const BenchBook &b = book();
    VbpReader reader;
    VRRBookInfo info;
    VRRBookInfo *infoPtr = &info;
    VRBChaptersRelt *chapters = nullptr;
    for (auto _ : state) {
        if (reader.openVBP(b.id, b.path, chapters, infoPtr) != 0)
            state.SkipWithError("openVBP failed");
    }
    state.SetBytesProcessed(state.iterations() * PackageLayout::totalBytes(b.openRanges));
    state.counters["chapters"] = double(info.m_caplist.size());
}

void BM_OpenBook_Reference(benchmark::State &state)
{
    plainReads(state, book().openRanges);
}

void BM_LoadLongestChapter(benchmark::State &state)
{
    const BenchBook &b = book();
    VbpReader reader;
    VRRBookInfo info;
    VRRBookInfo *infoPtr = &info;
    VRBChaptersRelt *chapters = nullptr;
    if (reader.openVBP(b.id, b.path, chapters, infoPtr) != 0) {
        state.SkipWithError("openVBP failed");
        return;
    }
    for (auto _ : state) {
        if (reader.openChapterVBP(b.longestChapter, chapters) != 0)
            state.SkipWithError("openChapterVBP failed");
    }
    state.SetBytesProcessed(state.iterations() * PackageLayout::totalBytes(b.chapterRanges));
    state.counters["pieces"] = chapters ? chapters->count() : 0;
    state.counters["package_bytes"] = double(b.longestChapterBytes);
}

void BM_LoadLongestChapter_Reference(benchmark::State &state)
{
    plainReads(state, book().chapterRanges);
}

} // namespace

BENCHMARK(BM_OpenBook)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenBook_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLongestChapter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLongestChapter_Reference)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!prepare(book())) {
        std::fprintf(stderr, "bench_book: %s\n", qPrintable(book().error));
        return 1;
    }
    std::printf("book: %s, longest chapter %s (%lld bytes)\n", qPrintable(book().path),
                qPrintable(book().longestChapter), (long long)book().longestChapterBytes);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
