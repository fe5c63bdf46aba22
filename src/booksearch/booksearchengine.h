#ifndef BOOKSEARCHENGINE_H
#define BOOKSEARCHENGINE_H

#include "booksearchhit.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>

// Runs one search at a time off the GUI thread. Every search has a number;
// starting another or cancelling makes the running one stop at its next look
// (between chapters and inside long ones), and its late signals carry the old
// number so the receiver can drop them.
class BookSearchEngine : public QObject
{
    Q_OBJECT
public:
    explicit BookSearchEngine(QObject *parent = nullptr);
    // Stops the running search and waits for it.
    ~BookSearchEngine() override;

    // The new search's number.
    quint64 start(const QString &bookId, const QString &path, const QString &query);
    void cancel();
    quint64 generation() const { return m_generation.load(); }
    // Blocks until no search runs (for tests and shutdown).
    bool waitForIdle(int msecs = -1);

signals:
    // Queued to the engine's thread: the hits of one chapter, in book order.
    void hitsFound(quint64 generation, const QList<BookSearchHit> &hits);
    // The BookSearcher result: 0 done, a negative code or a package error.
    void searchFinished(quint64 generation, int result);

private:
    std::atomic<quint64> m_generation{0};
    QThreadPool m_pool;
};

#endif // BOOKSEARCHENGINE_H
