#ifndef TEXTBOOKTEST_H
#define TEXTBOOKTEST_H

// Shared by the text-book tests. Real texts: the chinese-poetry corpus that
// the sample library is built from, read where tools/samples/corpus.sh keeps it.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringEncoder>

struct CorpusPiece
{
    QString title;
    QStringList lines;
};

class PoetryCorpus
{
public:
    // The unpacked corpus folder, empty when it has not been fetched yet.
    static QString distDir()
    {
        QFile script(qEnvironmentVariable("ZR_SOURCE_DIR") + "/tools/samples/corpus.sh");
        if (!script.open(QIODevice::ReadOnly))
            return {};
        const auto version =
            QRegularExpression("^VERSION=(\\S+)$", QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(script.readAll()));
        QStringList caches{qEnvironmentVariable("ZR_SAMPLES_CACHE")};
        if (qEnvironmentVariableIsSet("XDG_CACHE_HOME"))
            caches.append(qEnvironmentVariable("XDG_CACHE_HOME") + "/zarvoreader");
        caches.append(QDir::homePath() + "/.cache/zarvoreader");
        for (const QString &cache : caches) {
            const QString dist = cache + "/chinese-poetry-" + version.captured(1) + "/dist";
            if (!cache.isEmpty() && version.hasMatch() && QFile::exists(dist + "/lunyu"))
                return dist;
        }
        return {};
    }

    // The twenty books of the Analects: chapter name and paragraphs.
    static QList<CorpusPiece> lunyu()
    {
        return pieces("lunyu/lunyu.json", "chapter", "paragraphs");
    }
    // The first Tang poems of the corpus (traditional characters).
    static QList<CorpusPiece> tangPoems(int count)
    {
        return pieces("quantangshi/poet.tang.0.json", "title", "paragraphs").mid(0, count);
    }

    static QString text(const CorpusPiece &piece) { return piece.lines.join('\n') + '\n'; }

    // One chapter a piece: "第N章 title", then its text and the given end.
    static QStringList chapters(const QList<CorpusPiece> &pieces, const QString &end = {})
    {
        static const QStringList numbers =
            QStringLiteral("一 二 三 四 五 六 七 八 九 十 十一 十二 十三 十四 十五 十六 十七 十八 "
                           "十九 二十")
                .split(' ');
        QStringList out;
        for (int i = 0; i < pieces.size(); ++i)
            out.append("第" + numbers.at(i) + "章 " + pieces.at(i).title + "\n" +
                       text(pieces.at(i)) + end);
        return out;
    }

private:
    static QList<CorpusPiece> pieces(const QString &file, const QString &titleKey,
                                     const QString &linesKey)
    {
        QFile json(distDir() + "/" + file);
        if (!json.open(QIODevice::ReadOnly))
            return {};
        QList<CorpusPiece> out;
        for (const QJsonValue &value : QJsonDocument::fromJson(json.readAll()).array()) {
            CorpusPiece piece{value[titleKey].toString(), {}};
            for (const QJsonValue &line : value[linesKey].toArray())
                piece.lines.append(line.toString());
            out.append(piece);
        }
        return out;
    }
};

// The corpus is fetched by the sample-library build, never by a test.
#define SKIP_WITHOUT_CORPUS()                                                                      \
    if (PoetryCorpus::distDir().isEmpty())                                                         \
    QSKIP("the sample texts are not cached yet: tools/samples/build-library.sh fetches them")

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray gb18030(const QString &text)
{
    return QStringEncoder("GB18030").encode(text);
}

#endif // TEXTBOOKTEST_H
