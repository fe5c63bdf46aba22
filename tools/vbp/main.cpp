// vbp: packs books into .vbp packages and inspects them with the reader the
// program itself uses.

#include "exitcodes.h"
#include "packcommand.h"
#include "vbpviewer.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>

namespace {

void printUsage(FILE *stream)
{
    std::fprintf(stream, "usage:\n"
                         "  vbp pack [--id ID] [--title T] [--author A] [--publisher P]\n"
                         "           [--description D] -o OUT.vbp INPUT\n"
                         "  vbp pack [options] [-o OUT.vbp] BOOK.txt\n"
                         "  vbp info FILE\n"
                         "  vbp cat FILE CHAPTER_ID\n");
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray command = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    // Covers are drawn with fonts, which need a GUI application but no
    // screen; inspecting needs neither.
    std::unique_ptr<QCoreApplication> app;
    if (command == "pack") {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    const QStringList arguments = QCoreApplication::arguments().mid(2);
    if (command == "pack")
        return PackCommand::run(QStringList{QStringLiteral("vbp pack")} + arguments);
    if (command == "info")
        return VbpViewer::info(arguments);
    if (command == "cat")
        return VbpViewer::cat(arguments);
    // Asked for, the usage is no error and goes to standard output.
    if (command == "--help" || command == "-h" || command == "help") {
        printUsage(stdout);
        return ExitSuccess;
    }
    printUsage(stderr);
    return ExitUsage;
}
