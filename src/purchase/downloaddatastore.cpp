#include "downloaddatastore.h"

#include "commondef.h"

#include <QDir>
#include <QSqlQuery>

namespace {

const char *const CreateTable =
    "create table DownLoadFiles( FileName varchar primary key,FileUrl varchar,FileStye "
    "varchar,FileTolSize long,FileCurSize long,FilePath varchar,FileState int,bookName "
    "varchar,picLink varchar)";
const char *const CreateValidatorTable = "create table if not exists DownLoadValidators(FileName "
                                         "varchar primary key,Validator varchar)";
const char *const InsertAll =
    "insert into DownLoadFiles(FileName, FileUrl, FileStye, FileTolSize,FileCurSize,FilePath, "
    "FileState,bookName,picLink)values(?,?,?,?,?,?,?,?,?)";
const char *const InsertSeven =
    "insert into DownLoadFiles(FileName, FileUrl, FileStye, FileTolSize,FileCurSize,FilePath, "
    "FileState)values(?,?,?,?,?,?,?)";
// Qt rewrites each '?' into a named placeholder and would join it to a word
// right after it, so a space stands between a '?' and "where".
const char *const UpdateAll =
    "update DownLoadFiles set FileUrl = ?,FileStye = ?,FileTolSize = ?,FileCurSize =?,FilePath "
    "= ?,FileState = ?,bookName = ?,picLink = ? where FileName = ?";
const char *const UpdateState = "update DownLoadFiles set FileState = ? where FileName =?";
const char *const UpdateCurrent = "update DownLoadFiles set FileCurSize = ? where FileName =?";
const char *const Delete = "delete from DownLoadFiles where FileName = ?";
const char *const SelectByName = "select * from DownLoadFiles where FileName = ?";
const char *const SetValidator =
    "insert or replace into DownLoadValidators(FileName,Validator)values(?,?)";
const char *const SelectValidator = "select Validator from DownLoadValidators where FileName = ?";
const char *const DeleteValidator = "delete from DownLoadValidators where FileName = ?";

// The listing statement has always been written with this padding.
QString selectAll()
{
    return QString(49, QLatin1Char(' ')) + QLatin1String("select *") +
           QString(42, QLatin1Char(' ')) + QLatin1String("from DownLoadFiles") +
           QString(32, QLatin1Char(' '));
}

// Values are bound as the text a quoted literal would have carried, so the
// columns' affinities store exactly what such a literal stores (numbers in the
// "long" and "int" columns become integers). A null string would be bound as
// SQL NULL; a literal holds the empty text.
QVariant text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QVariant decimal(qint64 value)
{
    return QString::number(value);
}

// A stored number that is no state (a damaged or foreign row) reads as ENone.
DLFileInfo::State stateFrom(int value)
{
    if (value < DLFileInfo::ENone || value > DLFileInfo::EFailed)
        return DLFileInfo::ENone;
    return static_cast<DLFileInfo::State>(value);
}

DLFileInfo taskFromRow(const QSqlQuery &query)
{
    return DLFileInfo(
        query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
        query.value(3).toLongLong(), query.value(4).toLongLong(), query.value(5).toString(),
        stateFrom(query.value(6).toInt()), query.value(7).toString(), query.value(8).toString());
}

QVariantList firstSevenValues(const QString &fileName, const QString &url, const QString &stye,
                              qint64 totalSize, qint64 currentSize, const QString &filePath,
                              int state)
{
    return {text(fileName),       text(url),      text(stye),    decimal(totalSize),
            decimal(currentSize), text(filePath), decimal(state)};
}

// Connection names are unique in a process: a second store open at the same
// time gets a name of its own on the same file.
QString freeConnectionName(const QString &name)
{
    QString candidate = name;
    for (int n = 2; QSqlDatabase::contains(candidate); ++n)
        candidate = name + QLatin1Char('#') + QString::number(n);
    return candidate;
}

} // namespace

DownLoadDataStore::DownLoadDataStore(QObject *parent) : QObject(parent) {}

DownLoadDataStore::~DownLoadDataStore()
{
    releaseConnection();
}

void DownLoadDataStore::releaseConnection()
{
    const QString name = m_db.connectionName();
    m_db.close();
    // The registry refuses to drop a connection while a handle to it lives.
    m_db = QSqlDatabase();
    if (m_ownsConnection)
        QSqlDatabase::removeDatabase(name);
    m_ownsConnection = false;
}

bool DownLoadDataStore::createConnection(const QString &driver, const QString &name)
{
    releaseConnection();
    if (CheckDBExisted())
        return true;

    const QString folder = DbFolder;
    QDir().mkpath(folder);
    m_db = QSqlDatabase::addDatabase(driver, freeConnectionName(name));
    m_ownsConnection = true;
    m_db.setDatabaseName(folder + QLatin1Char('/') + name);
    if (!m_db.open())
        return false; // every later statement fails and reports false
    // Progress is written many times a download. A write-ahead log without a
    // sync at each commit still survives the program being killed, and a
    // resume goes on from the partial file's size, not from the record.
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    exec(QStringLiteral("PRAGMA synchronous=NORMAL"));

    // On an existing file the first statement fails: its table is there.
    const bool created = exec(QLatin1String(CreateTable));
    exec(QLatin1String(CreateValidatorTable));
    return created;
}

bool DownLoadDataStore::CheckDBExisted()
{
    // Looks up a connection that createConnection never registers, so this
    // normally fails and the store opens its own.
    const QString name = QStringLiteral("downLoadStore");
    if (!QSqlDatabase::contains(name))
        return false;
    m_db = QSqlDatabase::database(name, false);
    return m_db.open();
}

bool DownLoadDataStore::exec(QSqlQuery &query, const QString &statement,
                             const QVariantList &values) const
{
    if (!m_db.isOpen() || !query.prepare(statement))
        return false;
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    return query.exec();
}

bool DownLoadDataStore::exec(const QString &statement, const QVariantList &values) const
{
    QSqlQuery query(m_db);
    return exec(query, statement, values);
}

bool DownLoadDataStore::addRecord(const DLFileInfo &info)
{
    QVariantList values =
        firstSevenValues(info.m_fileName, info.m_url, info.m_stye, info.m_totalSize,
                         info.m_currentSize, info.m_filePath, info.m_state);
    values << text(info.m_bookName) << text(info.m_picPath);
    return exec(QLatin1String(InsertAll), values);
}

bool DownLoadDataStore::addRecord(const QString &fileName, const QString &url, const QString &stye,
                                  qint64 totalSize, qint64 currentSize, const QString &filePath,
                                  int state)
{
    return exec(QLatin1String(InsertSeven),
                firstSevenValues(fileName, url, stye, totalSize, currentSize, filePath, state));
}

bool DownLoadDataStore::upDateRecord(const DLFileInfo &info)
{
    return exec(QLatin1String(UpdateAll),
                {text(info.m_url), text(info.m_stye), decimal(info.m_totalSize),
                 decimal(info.m_currentSize), text(info.m_filePath), decimal(info.m_state),
                 text(info.m_bookName), text(info.m_picPath), text(info.m_fileName)});
}

bool DownLoadDataStore::upDateRecord(const QString &fileName, int state)
{
    return exec(QLatin1String(UpdateState), {decimal(state), text(fileName)});
}

bool DownLoadDataStore::upDateRecord(const QString &fileName, qint64 currentSize)
{
    return exec(QLatin1String(UpdateCurrent), {decimal(currentSize), text(fileName)});
}

bool DownLoadDataStore::upDateRecord(const QList<DLFileInfo *> &list)
{
    bool allDone = true;
    for (const DLFileInfo *info : list) {
        if (!info || !upDateRecord(*info))
            allDone = false;
    }
    return allDone;
}

bool DownLoadDataStore::delRecord(const QString &fileName)
{
    const bool deleted = exec(QLatin1String(Delete), {text(fileName)});
    exec(QLatin1String(DeleteValidator), {text(fileName)});
    return deleted;
}

bool DownLoadDataStore::isExist(const QString &fileName) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    return exec(query, QLatin1String(SelectByName), {text(fileName)}) && query.next();
}

int DownLoadDataStore::getStateByFileName(const QString &fileName) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QLatin1String(SelectByName), {text(fileName)}) || !query.next())
        return -1;
    return query.value(6).toInt();
}

bool DownLoadDataStore::getRecordByFileName(DLFileInfo &info, const QString &fileName) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QLatin1String(SelectByName), {text(fileName)}))
        return false;
    while (query.next())
        info = taskFromRow(query);
    return true;
}

bool DownLoadDataStore::getAllRecords(QList<DLFileInfo *> &list) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, selectAll()))
        return false;
    while (query.next())
        list.append(new DLFileInfo(taskFromRow(query)));
    return true;
}

bool DownLoadDataStore::closeDataBase()
{
    if (m_db.isOpen())
        m_db.close();
    return true;
}

bool DownLoadDataStore::setValidator(const QString &fileName, const QString &validator)
{
    return exec(QLatin1String(SetValidator), {text(fileName), text(validator)});
}

QString DownLoadDataStore::validator(const QString &fileName) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!exec(query, QLatin1String(SelectValidator), {text(fileName)}) || !query.next())
        return QString();
    return query.value(0).toString();
}
