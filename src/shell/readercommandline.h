#ifndef READERCOMMANDLINE_H
#define READERCOMMANDLINE_H

#include <QStringList>

// The reader's command line: --help and --version, and no other arguments.
// Exit codes: 0 after help or version, 2 for a line it cannot use.
class ReaderCommandLine
{
public:
    // process() found nothing to answer: the reader starts.
    static const int Run = -1;
    static const int ExitUsage = 2;

    // True when the line asks for help or the version: those are answered
    // before the window system is needed, so they work without a display.
    static bool asksForText(int argc, char *argv[]);
    // Answers help, version or a bad line for the arguments the application
    // left; Run when the reader should start, else the exit code.
    static int process(const QStringList &arguments);
};

#endif // READERCOMMANDLINE_H
