// The download engine fetching a 100 MB package from nginx on loopback,
// beside curl fetching the same file from the same server in the same run:
//   BM_Download            the engine, from the order to downloadFinishedResponse
//   BM_Download_Reference  curl -o into the same folder
// Counters: MB_per_s of each, cpu_ms_per_MB (the engine's process, curl's
// child), reports (progress reports during one download) and vs_curl: the
// engine's throughput over curl's, with a curl run (not timed) before each
// engine run so that both meet the same load; the goal is 0.95 or more.
//   BM_TaskRecordWrite     one task-record write, what each progress report costs
//   ZR_BENCH_DOWNLOAD_MB   package size in MB (default 100)

#include "commondef.h"
#include "dlfileinfo.h"
#include "downloadcentermodel.h"
#include "downloaddatastore.h"
#include "downloadmng.h"
#include "nginxprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

namespace {

constexpr int Iterations = 8;

struct DownloadBench
{
    QTemporaryDir served;
    QTemporaryDir root;
    NginxProcess nginx;
    qint64 bytes = 0;
    QString error;
};

DownloadBench &setup()
{
    static DownloadBench instance;
    return instance;
}

double megabytes()
{
    return double(setup().bytes) / (1024.0 * 1024.0);
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Made-up package bytes, written in 1 MB blocks.
bool writePackage(const QString &path, int sizeMb)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (int mb = 0; mb < sizeMb; ++mb) {
        for (int i = 0; i < block.size(); ++i)
            block[i] = char((i * 131 + mb * 7 + i / 4093) & 0xff);
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}

bool prepare(DownloadBench &b)
{
    const int sizeMb = qEnvironmentVariableIsSet("ZR_BENCH_DOWNLOAD_MB")
                           ? qEnvironmentVariableIntValue("ZR_BENCH_DOWNLOAD_MB")
                           : 100;
    qputenv("ZARVOREADER_ROOT", QFile::encodeName(b.root.path()));
    if (!writePackage(b.served.filePath(QStringLiteral("bench.vbp")), sizeMb)) {
        b.error = QStringLiteral("cannot write the package");
        return false;
    }
    b.bytes = qint64(sizeMb) << 20;
    b.error = b.nginx.start(b.served.path());
    return b.error.isEmpty();
}

QString link(const QString &cid)
{
    return setup().nginx.baseUrl() + QStringLiteral("bench.vbp?cid=") + cid;
}

// One fetch by curl; the seconds it took (and its CPU seconds in cpu), or a
// negative value when it failed.
double curlOnce(double *cpu)
{
    const QString target = setup().root.filePath(QStringLiteral("curl.vbp"));
    QProcess curl;
    const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    curl.start(QStringLiteral("curl"),
               {QStringLiteral("-s"), QStringLiteral("-o"), target, link(QStringLiteral("curl"))});
    const bool fetched = curl.waitForFinished(120000) && curl.exitCode() == 0 &&
                         QFileInfo(target).size() == setup().bytes;
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    *cpu += cpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    QFile::remove(target);
    return fetched ? seconds : -1;
}

void BM_Download_Reference(benchmark::State &state)
{
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double seconds = curlOnce(&cpu);
        if (seconds < 0) {
            state.SkipWithError("curl did not fetch the package");
            return;
        }
        state.SetIterationTime(seconds);
        wall += seconds;
    }
    state.counters["MB_per_s"] = megabytes() * double(state.iterations()) / wall;
    state.counters["cpu_ms_per_MB"] = 1000.0 * cpu / (megabytes() * double(state.iterations()));
}

// One download by a fresh engine; the seconds it took, or a negative value
// when it did not complete.
double downloadOnce(const QString &cid, int *reports)
{
    DownLoadMng engine;
    QEventLoop loop;
    bool done = false;
    QObject::connect(&engine, &DownLoadMng::downloadFinishedResponse, &loop, [&] {
        done = true;
        loop.quit();
    });
    QObject::connect(engine.centerModel(), &QAbstractItemModel::dataChanged, &loop,
                     [reports](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                         if (roles.contains(DownloadCenterModel::DownloadedSizeRole))
                             ++*reports;
                     });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    if (!engine.NewDownloandTask(link(cid), QStringLiteral("u100"), cid, QStringLiteral("测试书")))
        return -1;
    loop.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    QFile::remove(BookFolder + QLatin1Char('/') + cid + QLatin1String(".vbp"));
    return done ? seconds : -1;
}

void BM_Download(benchmark::State &state)
{
    double wall = 0;
    double cpu = 0;
    double curlWall = 0;
    double curlCpu = 0;
    int reports = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double curlSeconds = curlOnce(&curlCpu);
        state.ResumeTiming();
        if (curlSeconds < 0) {
            state.SkipWithError("curl did not fetch the package");
            return;
        }
        curlWall += curlSeconds;
        const double cpuBefore = cpuSeconds(RUSAGE_SELF);
        const double seconds = downloadOnce(QStringLiteral("bench%1").arg(++n), &reports);
        if (seconds < 0) {
            state.SkipWithError("the engine did not complete the download");
            return;
        }
        state.SetIterationTime(seconds);
        wall += seconds;
        cpu += cpuSeconds(RUSAGE_SELF) - cpuBefore;
    }
    const double iterations = double(state.iterations());
    state.counters["MB_per_s"] = megabytes() * iterations / wall;
    state.counters["cpu_ms_per_MB"] = 1000.0 * cpu / (megabytes() * iterations);
    state.counters["reports"] = double(reports) / iterations;
    state.counters["vs_curl"] = curlWall / wall;
}

void BM_TaskRecordWrite(benchmark::State &state)
{
    DownLoadDataStore store;
    store.createConnection(QStringLiteral("QSQLITE"), QStringLiteral("downLoadStore.db"));
    DLFileInfo task(QStringLiteral("record.vbp"), link(QStringLiteral("record")),
                    QStringLiteral("vbp"), setup().bytes, 0, BookFolder, DLFileInfo::EDownLoading,
                    QStringLiteral("测试书"), QString());
    store.addRecord(task);
    for (auto _ : state) {
        task.m_currentSize += 1 << 20;
        if (!store.upDateRecord(task)) {
            state.SkipWithError("the task record was not written");
            return;
        }
    }
    store.delRecord(task.m_fileName);
}

} // namespace

BENCHMARK(BM_Download)->UseManualTime()->Iterations(Iterations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Download_Reference)
    ->UseManualTime()
    ->Iterations(Iterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TaskRecordWrite)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!prepare(setup())) {
        std::fprintf(stderr, "bench_download: %s\n", qPrintable(setup().error));
        return 1;
    }
    std::printf("package: %.0f MB from %s\n", megabytes(), qPrintable(setup().nginx.baseUrl()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
