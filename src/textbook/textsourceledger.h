#ifndef TEXTSOURCELEDGER_H
#define TEXTSOURCELEDGER_H

#include <QSqlDatabase>
#include <QString>

class QFileInfo;

// Which text file each package of the user's folder was packed from, and
// that file's size and modification time at the time: a table of our own,
// "TextBookSource", in the library file beside the library's tables.
class TextSourceLedger
{
public:
    struct Stamp
    {
        QString txtName;
        qint64 size = -1;
        qint64 modified = -1; // milliseconds since 1970

        bool operator==(const Stamp &other) const
        {
            return txtName == other.txtName && size == other.size && modified == other.modified;
        }
        bool operator!=(const Stamp &other) const { return !(*this == other); }
    };

    // Makes the table when it is missing; unusable without an open database.
    explicit TextSourceLedger(const QSqlDatabase &library);

    bool isUsable() const { return m_usable; }
    static Stamp stampOf(const QFileInfo &txt);
    // False when nothing is recorded for the book.
    bool find(const QString &bookId, Stamp &stamp) const;
    bool record(const QString &bookId, const Stamp &stamp);

private:
    QSqlDatabase m_library;
    bool m_usable = false;
};

#endif // TEXTSOURCELEDGER_H
