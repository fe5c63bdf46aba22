#ifndef DOWNLOADDATASTORE_H
#define DOWNLOADDATASTORE_H

#include "dlfileinfo.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QVariantList>

class QSqlQuery;

// The download tasks kept in "downLoadStore.db" under the database folder, so
// the download list, each task's progress and its state outlive the program.
// Every value goes into its statement as a bound parameter: a book name or URL
// with a quote or any Unicode is stored and read back as it is.
class DownLoadDataStore : public QObject
{
    Q_OBJECT
public:
    explicit DownLoadDataStore(QObject *parent = nullptr);
    // Closes the database and drops the connection this store added, so a
    // store made later opens the same file afresh.
    ~DownLoadDataStore() override;

    // Opens (creating when missing) the task file; the result of creating the
    // task table, so false when the file already had it.
    bool createConnection(const QString &driver, const QString &name);
    // Takes the connection "downLoadStore" if one is registered and opens it.
    bool CheckDBExisted();

    bool addRecord(const DLFileInfo &info);
    bool addRecord(const QString &fileName, const QString &url, const QString &stye,
                   qint64 totalSize, qint64 currentSize, const QString &filePath, int state);
    bool upDateRecord(const DLFileInfo &info);
    bool upDateRecord(const QString &fileName, int state);
    bool upDateRecord(const QString &fileName, qint64 currentSize);
    // True when every task's update ran.
    bool upDateRecord(const QList<DLFileInfo *> &list);
    // Also forgets the task's validator.
    bool delRecord(const QString &fileName);
    bool isExist(const QString &fileName) const;
    // The stored state number; -1 when there is no such task.
    int getStateByFileName(const QString &fileName) const;
    // Leaves info as it was when there is no such task.
    bool getRecordByFileName(DLFileInfo &info, const QString &fileName) const;
    // Appends a new task (owned by the caller) for every stored row.
    bool getAllRecords(QList<DLFileInfo *> &list) const;
    bool closeDataBase();

    // The server's validator (ETag) of the bytes in a task's partial file,
    // recorded when the first bytes were written; a resume is only sound
    // against the same validator.
    bool setValidator(const QString &fileName, const QString &validator);
    // Empty when none is recorded.
    QString validator(const QString &fileName) const;

private:
    void releaseConnection();
    bool exec(QSqlQuery &query, const QString &statement, const QVariantList &values = {}) const;
    bool exec(const QString &statement, const QVariantList &values = {}) const;

    QSqlDatabase m_db;
    // Whether m_db is a connection this store registered and so must remove.
    bool m_ownsConnection = false;
};

#endif // DOWNLOADDATASTORE_H
