#ifndef TEXTBOOKFOLDER_H
#define TEXTBOOKFOLDER_H

#include "textsourceledger.h"

#include <QSqlDatabase>
#include <QStringList>

class QFileInfo;

// The user's own text books in the user's book folder: every ".txt" there is
// packed into "<book id>.vbp" beside it, once, and again whenever the text
// changes (other size or modification time), under the same id so the
// reading position stays. The text file is only ever read. A text that cannot
// be packed is skipped with a warning; so is one whose package name is taken
// by a package not made from it (a downloaded book, another text).
class TextBookFolder
{
public:
    TextBookFolder(const QString &folder, const QSqlDatabase &library);

    // The ids of the packages written by this call.
    QStringList packTexts();

private:
    bool needsPacking(const QString &bookId, const QString &vbpPath,
                      const TextSourceLedger::Stamp &stamp) const;

    QString m_folder;
    TextSourceLedger m_ledger;
};

#endif // TEXTBOOKFOLDER_H
