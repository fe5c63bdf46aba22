// A small program around the download engine for the crash test: it runs
// DownLoadMng in the data root ZARVOREADER_ROOT names. The first run orders
// the package of the link; later runs go on with the task the last run left.
// Exit codes: 0 the package is in place, 2 the order was refused, 3 the
// task failed, 4 nothing happened for too long.
//   zr_dldriver LINK BOOKID

#include "commondef.h"
#include "dlfileinfo.h"
#include "downloadcentermodel.h"
#include "downloadmng.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    const QString link = args.at(1);
    const QString bookId = args.at(2);
    const QString fileName = bookId + QLatin1String(".vbp");

    DownLoadMng engine;
    QObject::connect(&engine, &DownLoadMng::downloadFinishedResponse, &app,
                     [&app, &fileName](const QString &cid) {
                         if (cid == fileName)
                             app.exit(0);
                     });
    DownloadCenterModel *model = engine.centerModel();
    QObject::connect(model, &QAbstractItemModel::dataChanged, &app, [&app, model, &fileName] {
        if (model->getStateByIndex(model->rowOfCID(fileName)) == DLFileInfo::EFailed)
            app.exit(3);
    });
    QTimer::singleShot(60000, &app, [&app] { app.exit(4); });

    if (engine.GetBookDownloadState(bookId)) {
        engine.AutomaticDownloadTask();
    } else if (QFileInfo(BookFolder + QLatin1Char('/') + fileName).isFile()) {
        // The last run moved the package into place and was stopped before
        // it could tell anyone.
        return 0;
    } else if (!engine.NewDownloandTask(link, QStringLiteral("u100"), bookId,
                                        QStringLiteral("测试书"))) {
        return 2;
    }
    return app.exec();
}
