#ifndef MYBOOKSHELF_H
#define MYBOOKSHELF_H

#include <QObject>
#include <QPointer>
#include <QString>

class QQuickView;
class MyBookShelfAbstractModel;
class VEBookReader;
class VorelEBookShelfMgr;

// The shelf controller the screens call: finds packages on disk and takes
// them into the library, takes in downloaded packages, opens and deletes
// books, switches the order and checks free space. Stored data goes through
// the shelf manager, package files through the reading engine.
class MyBookShelf : public QObject
{
    Q_OBJECT

public:
    // Asked for by the screens before a download: 5 MiB.
    static constexpr qint64 DefaultNeededSpace = 5242880;

    MyBookShelf(VorelEBookShelfMgr &aBookShelfMgr, VEBookReader &aBookReaderModel,
                QObject *parent = nullptr);
    ~MyBookShelf() override;

    void setDeclarativeView(QQuickView &view);
    MyBookShelfAbstractModel *shelfModel() const { return m_shelfModel; }

    Q_INVOKABLE bool updateBookShelfByType(int type);
    Q_INVOKABLE bool addUserIdForBookShelfMgr(QString aID);
    Q_INVOKABLE void checkDiskSpace(qint64 aSize = DefaultNeededSpace);
    Q_INVOKABLE void clearBookShelfList();

    // Free bytes of the volume the program's data lives on.
    static qint64 availableDiskSpace();

signals:
    void diskSpaceNotEnough();

public slots:
    void searchLocalBook(QString path);
    void refreshBookshelfModel(QString cid, QString path);
    int openBook(QString bookid, QString bookpath);
    bool deleteBook(QString bookid, QString bookpath, QString iconpath);
    void handleOrderPopup(int aIndex);
    int getOrderBookIndex();
    void updateBookList();

private:
    // Reads the package and hands its entry to the library; the read's code.
    int addPackage(const QString &bookid, const QString &path, bool downloaded);
    // Packs new and changed .txt books of the user's book folder.
    void packUserTexts(const QString &path);

    MyBookShelfAbstractModel *m_shelfModel = nullptr;
    VorelEBookShelfMgr &m_bookshelfMgr;
    VEBookReader &m_bookReaderModel;
    QPointer<QQuickView> m_view;
};

#endif // MYBOOKSHELF_H
