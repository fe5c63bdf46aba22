// zarvostore: the book store the reader talks to, over a folder of packages.

#include "coverexport.h"
#include "serveroptions.h"
#include "storecatalogue.h"
#include "storeledger.h"
#include "storeserver.h"

#include <QCoreApplication>
#include <QDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <sys/resource.h>
#include <thread>

namespace {
void printLine(FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

// Termination waitedSignals are taken by sigwait on the main thread, so stopping
// the server never happens inside a signal handler.
sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    return set;
}

// Every open connection is a descriptor; the usual soft limit of 1024 would
// cap the store well below what it can hold.
void raiseFileLimit()
{
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    ServerOptions options;
    QString error;
    if (!options.parse(QCoreApplication::arguments(), &error)) {
        printLine(stderr, QStringLiteral("zarvostore: ") + error);
        return 2;
    }
    if (options.helpAsked()) {
        printLine(stdout, options.helpText());
        return 0;
    }

    StoreCatalogue catalogue;
    catalogue.setCharges(options.charges());
    QStringList problems;
    const int count = catalogue.load(options.booksFolder(), &problems);
    for (const QString &problem : problems)
        printLine(stderr, QStringLiteral("zarvostore: left out ") + problem);
    const QHash<QString, StoreBook::Charge> charges = options.charges();
    for (auto it = charges.constBegin(); it != charges.constEnd(); ++it) {
        if (!catalogue.book(it.key()))
            printLine(stderr, QStringLiteral("zarvostore: --price names no book: ") + it.key());
    }
    printLine(
        stderr,
        QStringLiteral("zarvostore: %1 books from \"%2\"").arg(count).arg(options.booksFolder()));

    // Blocked before any worker thread starts, so every thread inherits it.
    const sigset_t waitedSignals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &waitedSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    StoreLedger ledger;
    if (!ledger.open(options.ledger(), options.dataFolder(), options.ledgerLimits(), &error)) {
        printLine(stderr, QStringLiteral("zarvostore: ") + error);
        return 1;
    }
    printLine(stderr, QStringLiteral("zarvostore: ledger in ") + ledger.place());
    if (options.accelRedirect() &&
        !CoverExport::write(
            catalogue, QDir(options.dataFolder()).filePath(QStringLiteral("covers")), &error)) {
        printLine(stderr, QStringLiteral("zarvostore: ") + error);
        return 1;
    }
    raiseFileLimit();
    StoreServer::Settings settings;
    settings.publicUrl = options.publicUrl();
    settings.accelRedirect = options.accelRedirect();
    settings.limits.readTimeoutMs = options.readTimeoutMs();
    settings.limits.idleTimeoutMs = options.idleTimeoutMs();
    StoreServer server(catalogue, ledger, settings);
    const int port = server.bind(options.host(), options.port());
    if (port < 0) {
        printLine(stderr, QStringLiteral("zarvostore: cannot listen on %1:%2")
                              .arg(options.host())
                              .arg(options.port()));
        return 1;
    }
    printLine(stdout, QStringLiteral("listening on %1:%2").arg(options.host()).arg(port));

    std::atomic<bool> served{true};
    std::atomic<bool> finished{false};
    std::thread listener([&server, &served, &finished] {
        served = server.listen();
        finished = true;
        // Wakes the main thread when serving ends on its own.
        kill(getpid(), SIGUSR1);
    });
    // A stop before the loop runs would be lost.
    while (!server.isRunning() && !finished)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    int signal = 0;
    sigwait(&waitedSignals, &signal);
    server.stop();
    listener.join();
    printLine(stderr, QStringLiteral("zarvostore: stopped"));
    return served || signal != SIGUSR1 ? 0 : 1;
}
