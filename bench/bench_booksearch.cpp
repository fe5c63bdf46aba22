// Searching the whole of the largest sample book for a phrase near its end,
// beside a reference measured in the same run:
//   search (simplified query, traditional text: read chapter by chapter from
//   the package, folded while searched)  vs  QString::indexOf of the phrase as
//   the book writes it, over the book's whole text already in memory
//   ZR_BENCH_BOOK  the book (default: the full Tang poetry sample book in the
//                  preinstalled folder under $ZARVOREADER_ROOT)

#include "bookchaptersource.h"
#include "booksearcher.h"
#include "chinesefolder.h"
#include "commondef.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

// From a poem in the last chapter; the book writes it in traditional
// characters.
const QString Query = QStringLiteral("顾愍埃尘");
const QString AsWritten = QStringLiteral("顧愍埃塵");

struct SearchBench
{
    QString bookPath;
    QString bookId;
    // The whole text, for the reference only.
    QString wholeText;
    qsizetype phraseAt = -1;
    double tableMs = 0;
    std::unique_ptr<QTemporaryDir> scratchRoot;
    QString error;
};

SearchBench &setup()
{
    static SearchBench instance;
    return instance;
}

bool prepare(SearchBench &b)
{
    const QFileInfo file(
        qEnvironmentVariable("ZR_BENCH_BOOK", PreInstallBookFolder + "/zr-quantangshi.vbp"));
    b.bookPath = file.absoluteFilePath();
    b.bookId = file.completeBaseName();
    // The cover the reader extracts lands in a scratch root.
    b.scratchRoot = std::make_unique<QTemporaryDir>();
    qputenv("ZARVOREADER_ROOT", QFile::encodeName(b.scratchRoot->path()));
    BookChapterSource book;
    if (book.open(b.bookId, b.bookPath) != EerrorNot || book.chapterCount() == 0) {
        b.error = QStringLiteral("no book at %1 (run tools/samples/build-library.sh or set "
                                 "ZR_BENCH_BOOK)")
                      .arg(b.bookPath);
        return false;
    }
    QString chapter;
    for (int i = 1; i <= book.chapterCount(); ++i) {
        if (book.readChapter(i, chapter) == EerrorNot)
            b.wholeText += chapter;
    }
    b.phraseAt = b.wholeText.indexOf(AsWritten);
    QElapsedTimer timer;
    timer.start();
    ChineseFolder::instance();
    b.tableMs = double(timer.nsecsElapsed()) / 1e6;
    return true;
}

void BM_SearchBook(benchmark::State &state)
{
    SearchBench &b = setup();
    int hits = 0;
    int result = 0;
    BookSearcher searcher([] { return false; },
                          [&hits](const QList<BookSearchHit> &found) { hits += found.size(); });
    for (auto _ : state) {
        hits = 0;
        result = searcher.run(b.bookId, b.bookPath, Query);
        benchmark::DoNotOptimize(hits);
    }
    if (result != BookSearcher::Done || hits < 1)
        state.SkipWithError("the phrase was not found");
    state.counters["hits"] = hits;
    state.counters["tableMs"] = b.tableMs;
}

void BM_SearchBook_Reference(benchmark::State &state)
{
    const SearchBench &b = setup();
    qsizetype at = -1;
    for (auto _ : state) {
        at = b.wholeText.indexOf(AsWritten);
        benchmark::DoNotOptimize(at);
    }
    if (at < 0)
        state.SkipWithError("the phrase was not found");
    // How far into the book the phrase is (1: at the very end).
    state.counters["at"] = double(at) / double(qMax<qsizetype>(1, b.wholeText.size()));
}

} // namespace

BENCHMARK(BM_SearchBook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchBook_Reference)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!prepare(setup())) {
        std::fprintf(stderr, "bench_booksearch: %s\n", qPrintable(setup().error));
        return 1;
    }
    std::printf("book: %s, %lld UTF-16 units; phrase at %lld; folding table built in %.1f ms\n",
                qPrintable(setup().bookPath), (long long)setup().wholeText.size(),
                (long long)setup().phraseAt, setup().tableMs);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
