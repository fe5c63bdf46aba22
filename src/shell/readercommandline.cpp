#include "readercommandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace {

const char *const Description =
    "ZarvoReader: an e-book reader with an online book store.\n"
    "\n"
    "Environment:\n"
    "  ZARVOREADER_ROOT         folder under which the library, covers and books\n"
    "                           live (default /; the zarvoreader launcher sets\n"
    "                           ~/.local/share/zarvoreader)\n"
    "  ZARVOREADER_STORE        the store's HOST:PORT (default 127.0.0.1:8080)\n"
    "  ZARVOREADER_SMS_GATEWAY  URL that sends payment SMS when no modem can";

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

} // namespace

bool ReaderCommandLine::asksForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

int ReaderCommandLine::process(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(Description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(arguments)) {
        print(stderr, QStringLiteral("zarvoreader: %1\n").arg(parser.errorText()));
        return ExitUsage;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("zarvoreader: unexpected argument: %1\n")
                          .arg(parser.positionalArguments().constFirst()));
        return ExitUsage;
    }
    return Run;
}
