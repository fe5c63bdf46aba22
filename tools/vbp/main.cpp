// vbp: packs books into .vbp packages and inspects them with the reader the
// program itself uses.

#include "exitcodes.h"
#include "packcommand.h"
#ifdef ZR_VBP_HAS_READER
#include "vbpinspector.h"
#endif

#include <QGuiApplication>
#include <cstdio>

namespace {

void printUsage()
{
    std::fprintf(stderr, "usage:\n"
                         "  vbp pack [--id ID] [--title T] [--author A] [--publisher P]\n"
                         "           [--description D] -o OUT.vbp INPUT\n"
                         "  vbp info FILE\n"
                         "  vbp cat FILE CHAPTER_ID\n");
}

} // namespace

int main(int argc, char *argv[])
{
    // Covers are drawn with fonts, which need a GUI application but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        printUsage();
        return ExitUsage;
    }
    const QString command = arguments.takeAt(1);
    if (command == QLatin1String("pack"))
        return PackCommand::run(arguments);
#ifdef ZR_VBP_HAS_READER
    if (command == QLatin1String("info"))
        return VbpInspector::info(arguments.mid(1));
    if (command == QLatin1String("cat"))
        return VbpInspector::cat(arguments.mid(1));
#endif
    printUsage();
    return ExitUsage;
}
