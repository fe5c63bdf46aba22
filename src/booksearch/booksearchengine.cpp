#include "booksearchengine.h"

#include "booksearcher.h"

BookSearchEngine::BookSearchEngine(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<QList<BookSearchHit>>();
    // One worker: a search waiting behind a stale one starts as soon as the
    // stale one sees it is stale.
    m_pool.setMaxThreadCount(1);
}

BookSearchEngine::~BookSearchEngine()
{
    cancel();
    m_pool.waitForDone();
}

quint64 BookSearchEngine::start(const QString &bookId, const QString &path, const QString &query)
{
    const quint64 generation = ++m_generation;
    m_pool.start([this, generation, bookId, path, query] {
        const auto cancelled = [this, generation] { return m_generation.load() != generation; };
        if (cancelled())
            return;
        BookSearcher searcher(cancelled, [this, generation](const QList<BookSearchHit> &hits) {
            emit hitsFound(generation, hits);
        });
        emit searchFinished(generation, searcher.run(bookId, path, query));
    });
    return generation;
}

void BookSearchEngine::cancel()
{
    ++m_generation;
}

bool BookSearchEngine::waitForIdle(int msecs)
{
    return m_pool.waitForDone(msecs);
}
