#ifndef LIBRARYTESTDB_H
#define LIBRARYTESTDB_H

// Looks into the library file through a connection of its own, so checks do
// not go through the code under test.

#include "commondef.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

inline QString libraryFile()
{
    return DbFolder + "/BookDB.db";
}

// Runs one read on the library file and returns the first column of every row.
inline QStringList rawColumn(const QString &statement, const QVariantList &values = {})
{
    QStringList result;
    const QString name = QStringLiteral("raw-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(libraryFile());
        if (db.open()) {
            QSqlQuery query(db);
            query.prepare(statement);
            for (const QVariant &v : values)
                query.addBindValue(v);
            if (query.exec()) {
                while (query.next())
                    result << query.value(0).toString();
            } else {
                result << QStringLiteral("<error>");
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

inline int rowsOf(const QString &table, const QString &bookId)
{
    return rawColumn(QStringLiteral("SELECT count(*) FROM %1 WHERE bookid = ?").arg(table),
                     {bookId})
        .value(0)
        .toInt();
}

#endif // LIBRARYTESTDB_H
