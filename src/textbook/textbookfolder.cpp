#include "textbookfolder.h"

#include "textbookimporter.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcTextBook, "zr.textbook")
} // namespace

TextBookFolder::TextBookFolder(const QString &folder, const QSqlDatabase &library)
    : m_folder(folder), m_ledger(library)
{}

QStringList TextBookFolder::packTexts()
{
    QStringList packed;
    // Only names ending in ".txt" (in any case) are looked at more closely:
    // the folder mostly holds packages.
    const QFileInfoList files = QDir(m_folder).entryInfoList(
        {QStringLiteral("*.txt")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &txt : files) {
        if (!TextBookImporter::isTextFile(txt.fileName()))
            continue;
        const QString id = TextBookImporter::bookIdFor(txt.fileName());
        const QString vbpPath = QDir(m_folder).filePath(id + QStringLiteral(".vbp"));
        const TextSourceLedger::Stamp stamp = TextSourceLedger::stampOf(txt);
        if (!needsPacking(id, vbpPath, stamp))
            continue;
        QString error;
        if (!TextBookImporter::pack(txt.filePath(), vbpPath, &error)) {
            qCWarning(lcTextBook, "%s skipped: %s", qPrintable(txt.fileName()), qPrintable(error));
            continue;
        }
        m_ledger.record(id, stamp);
        packed.append(id);
    }
    return packed;
}

bool TextBookFolder::needsPacking(const QString &bookId, const QString &vbpPath,
                                  const TextSourceLedger::Stamp &stamp) const
{
    if (!QFileInfo::exists(vbpPath))
        return true;
    TextSourceLedger::Stamp recorded;
    if (!m_ledger.find(bookId, recorded)) {
        // Without a record the package is not ours to replace.
        if (m_ledger.isUsable())
            qCWarning(lcTextBook, "%s skipped: %s is not made from it", qPrintable(stamp.txtName),
                      qPrintable(QFileInfo(vbpPath).fileName()));
        return false;
    }
    if (recorded.txtName != stamp.txtName) {
        qCWarning(lcTextBook, "%s skipped: %s is made from %s", qPrintable(stamp.txtName),
                  qPrintable(QFileInfo(vbpPath).fileName()), qPrintable(recorded.txtName));
        return false;
    }
    return recorded != stamp;
}
