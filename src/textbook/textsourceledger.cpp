#include "textsourceledger.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

TextSourceLedger::TextSourceLedger(const QSqlDatabase &library) : m_library(library)
{
    if (!m_library.isOpen())
        return;
    QSqlQuery query(m_library);
    m_usable = query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS TextBookSource("
                                         "bookid unique,txtname,txtsize,txtmtime)"));
}

TextSourceLedger::Stamp TextSourceLedger::stampOf(const QFileInfo &txt)
{
    Stamp stamp;
    stamp.txtName = txt.fileName();
    stamp.size = txt.size();
    stamp.modified = txt.lastModified().toMSecsSinceEpoch();
    return stamp;
}

bool TextSourceLedger::find(const QString &bookId, Stamp &stamp) const
{
    if (!m_usable)
        return false;
    QSqlQuery query(m_library);
    query.prepare(
        QStringLiteral("SELECT txtname,txtsize,txtmtime FROM TextBookSource WHERE bookid = ?"));
    query.addBindValue(bookId);
    if (!query.exec() || !query.next())
        return false;
    stamp.txtName = query.value(0).toString();
    stamp.size = query.value(1).toLongLong();
    stamp.modified = query.value(2).toLongLong();
    return true;
}

bool TextSourceLedger::record(const QString &bookId, const Stamp &stamp)
{
    if (!m_usable)
        return false;
    QSqlQuery query(m_library);
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO TextBookSource"
                                 "(bookid,txtname,txtsize,txtmtime) VALUES(?,?,?,?)"));
    query.addBindValue(bookId);
    query.addBindValue(stamp.txtName);
    query.addBindValue(stamp.size);
    query.addBindValue(stamp.modified);
    return query.exec();
}
