#include "nginxprocess.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Sends one GET, with a Range header when range is not empty, and waits for
// the whole answer.
std::unique_ptr<QNetworkReply> get(QNetworkAccessManager &net, const QString &url,
                                   const QByteArray &range)
{
    QNetworkRequest request{QUrl(url)};
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    std::unique_ptr<QNetworkReply> reply(net.get(request));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    finished.wait(20000);
    return reply;
}

} // namespace

class TestNginxProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!NginxProcess::missing().isEmpty())
            QSKIP(qPrintable(NginxProcess::missing()));
        QVERIFY(m_books.isValid());
        QFile file(m_books.filePath("测试书.vbp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 100; ++i)
            file.putChar(char(i));
    }

    void servesRanges_data()
    {
        QTest::addColumn<QByteArray>("range");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("contentRange");
        QTest::addColumn<int>("firstByte");
        QTest::addColumn<int>("size");
        QTest::newRow("whole") << QByteArray() << 200 << QByteArray() << 0 << 100;
        QTest::newRow("from 40") << QByteArray("bytes=40-") << 206 << QByteArray("bytes 40-99/100")
                                 << 40 << 60;
        QTest::newRow("past the end")
            << QByteArray("bytes=100-") << 416 << QByteArray("bytes */100") << -1 << -1;
    }

    void servesRanges()
    {
        QFETCH(QByteArray, range);
        QFETCH(int, status);
        QFETCH(QByteArray, contentRange);
        QFETCH(int, firstByte);
        QFETCH(int, size);
        NginxProcess nginx;
        const QString why = nginx.start(m_books.path(), 1000000);
        QVERIFY2(why.isEmpty(), qPrintable(why));

        QNetworkAccessManager net;
        auto reply = get(net, nginx.baseUrl() + "%E6%B5%8B%E8%AF%95%E4%B9%A6.vbp", range);
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status);
        QCOMPARE(reply->rawHeader("Content-Range"), contentRange);
        if (size < 0)
            return;
        QVERIFY(!reply->rawHeader("ETag").isEmpty());
        const QByteArray body = reply->readAll();
        QCOMPARE(body.size(), size);
        QCOMPARE(int(body.at(0)), firstByte);
        QVERIFY(nginx.stop());
    }

private:
    QTemporaryDir m_books;
};

QTEST_GUILESS_MAIN(TestNginxProcess)
#include "tst_nginxprocess.moc"
