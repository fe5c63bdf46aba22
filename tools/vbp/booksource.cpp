#include "booksource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <algorithm>

namespace {

// A first line longer than this is prose, not a heading.
constexpr int MaxHeadingLength = 60;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool readString(const QJsonObject &object, const QString &key, QString &out, QString *error)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isString())
        return fail(error, QStringLiteral("\"%1\" must be a string").arg(key));
    out = value.toString();
    return true;
}

bool readChapters(const QJsonValue &value, QList<BookSource::Chapter> &out, QString *error)
{
    if (!value.isArray())
        return fail(error, QStringLiteral("\"chapters\" must be an array"));
    const QJsonArray chapters = value.toArray();
    for (qsizetype i = 0; i < chapters.size(); ++i) {
        if (!chapters.at(i).isObject())
            return fail(error, QStringLiteral("chapter %1 is not an object").arg(i + 1));
        const QJsonObject object = chapters.at(i).toObject();
        BookSource::Chapter chapter;
        if (!readString(object, QStringLiteral("title"), chapter.title, error) ||
            !readString(object, QStringLiteral("text"), chapter.text, error))
            return false;
        out.append(chapter);
    }
    return true;
}

bool decodeUtf8(const QByteArray &bytes, QString &out)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    out = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    if (out.startsWith(QChar(0xFEFF)))
        out.remove(0, 1);
    return true;
}

QString headingOf(const QString &text, const QString &fallback)
{
    const QString firstLine = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (firstLine.isEmpty() || firstLine.size() > MaxHeadingLength)
        return fallback;
    return firstLine;
}

} // namespace

bool BookSource::fromJson(const QByteArray &json, BookSource &out, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(error, QStringLiteral("not valid JSON: %1 at byte %2")
                               .arg(parseError.errorString())
                               .arg(parseError.offset));
    if (!document.isObject())
        return fail(error, QStringLiteral("the book must be a JSON object"));
    const QJsonObject object = document.object();
    BookSource book;
    if (!readString(object, QStringLiteral("id"), book.id, error) ||
        !readString(object, QStringLiteral("title"), book.title, error) ||
        !readString(object, QStringLiteral("author"), book.author, error) ||
        !readString(object, QStringLiteral("publisher"), book.publisher, error) ||
        !readString(object, QStringLiteral("description"), book.description, error) ||
        !readChapters(object.value(QStringLiteral("chapters")), book.chapters, error))
        return false;
    out = book;
    return true;
}

bool BookSource::fromFolder(const QString &folder, BookSource &out, QString *error)
{
    const QDir dir(folder);
    if (!dir.exists())
        return fail(error, QStringLiteral("no such folder: %1").arg(folder));
    QStringList names = dir.entryList(QDir::Files | QDir::Readable, QDir::NoSort);
    // Plain code-unit order: the same on every machine, whatever the locale.
    std::sort(names.begin(), names.end());

    BookSource book;
    book.title = QFileInfo(dir.absolutePath()).fileName();
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return fail(error, QStringLiteral("cannot read %1").arg(file.fileName()));
        Chapter chapter;
        if (!decodeUtf8(file.readAll(), chapter.text))
            return fail(error, QStringLiteral("%1 is not UTF-8 text").arg(file.fileName()));
        chapter.title = headingOf(chapter.text, QFileInfo(name).completeBaseName());
        book.chapters.append(chapter);
    }
    out = book;
    return true;
}
