#include "packcommand.h"

#include "bookpacker.h"
#include "booksource.h"
#include "exitcodes.h"
#include "textbookimporter.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

void printError(const QString &message)
{
    std::fprintf(stderr, "vbp pack: %s\n", qPrintable(message));
}

bool loadSource(const QString &input, BookSource &source, QString *error)
{
    const QFileInfo info(input);
    if (info.isDir())
        return BookSource::fromFolder(input, source, error);
    if (TextBookImporter::isTextFile(input))
        return TextBookImporter::load(input, source, error);
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(input, file.errorString());
        return false;
    }
    return BookSource::fromJson(file.readAll(), source, error);
}

void applyOverrides(const QCommandLineParser &parser, BookSource &source)
{
    const char *const fields[] = {"id", "title", "author", "publisher", "description"};
    QString *targets[] = {&source.id, &source.title, &source.author, &source.publisher,
                          &source.description};
    for (int i = 0; i < 5; ++i) {
        const QString name = QString::fromLatin1(fields[i]);
        if (parser.isSet(name))
            *targets[i] = parser.value(name);
    }
}

// A text book lands beside its text, named after its id, unless told otherwise.
QString outputPath(const QCommandLineParser &parser, const QString &input, const QString &id)
{
    if (parser.isSet(QStringLiteral("o")))
        return parser.value(QStringLiteral("o"));
    return QFileInfo(input).dir().filePath(id + QStringLiteral(".vbp"));
}

} // namespace

int PackCommand::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Packs a JSON book, a folder of UTF-8 text files or a .txt book (UTF-8, "
                       "UTF-16 with BOM or GB18030) into a .vbp book."));
    parser.addOptions({
        {QStringLiteral("id"), QStringLiteral("Book id."), QStringLiteral("ID")},
        {QStringLiteral("title"), QStringLiteral("Book title."), QStringLiteral("T")},
        {QStringLiteral("author"), QStringLiteral("Author."), QStringLiteral("A")},
        {QStringLiteral("publisher"), QStringLiteral("Publisher."), QStringLiteral("P")},
        {QStringLiteral("description"), QStringLiteral("Description."), QStringLiteral("D")},
        {QStringLiteral("o"), QStringLiteral("Output package."), QStringLiteral("OUT.vbp")},
    });
    parser.addPositionalArgument(
        QStringLiteral("INPUT"),
        QStringLiteral("A JSON book, a folder of text files or a .txt file."));
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return ExitUsage;
    }
    const QStringList inputs = parser.positionalArguments();
    // Only a text book has a place of its own for the package.
    if (inputs.size() != 1 ||
        (!parser.isSet(QStringLiteral("o")) && !TextBookImporter::isTextFile(inputs.first()))) {
        printError(QStringLiteral("usage: vbp pack [--id ID] [--title T] [--author A] "
                                  "[--publisher P] [--description D] -o OUT.vbp INPUT\n"
                                  "       vbp pack [options] [-o OUT.vbp] BOOK.txt"));
        return ExitUsage;
    }

    BookSource source;
    QString error;
    if (!loadSource(inputs.first(), source, &error)) {
        printError(error);
        return ExitFailure;
    }
    applyOverrides(parser, source);

    const BookPacker packer(source);
    const QString output = outputPath(parser, inputs.first(), packer.bookId());
    if (!packer.writeTo(output, &error)) {
        printError(error);
        return ExitFailure;
    }
    std::printf("%s: book %s, %d chapters, %lld bytes\n", qPrintable(output),
                qPrintable(packer.bookId()), int(source.chapters.size()), QFileInfo(output).size());
    return ExitSuccess;
}
