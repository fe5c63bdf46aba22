#include "qfilestream.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestQFileStream : public QObject
{
    Q_OBJECT

private:
    QByteArray fileWith(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("f%1.bin").arg(++m_count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return QFile::encodeName(path);
    }

    static QByteArray contents(const QByteArray &path)
    {
        QFile file(QFile::decodeName(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
    int m_count = 0;

private slots:
    void openModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QByteArray>("after"); // file contents after writing "xy"

        // The flags are tested in the order create, append, write, read.
        QTest::newRow("read") << 1 << true << QByteArray("old");
        QTest::newRow("read|create truncates") << 5 << false << QByteArray("xy");
        QTest::newRow("append") << 8 << false << QByteArray("oldxy");
        QTest::newRow("read|append appends") << 9 << false << QByteArray("oldxy");
        QTest::newRow("write truncates") << 2 << false << QByteArray("xy");
        QTest::newRow("append|create truncates") << 12 << false << QByteArray("xy");
    }

    void openModes()
    {
        QFETCH(int, mode);
        QFETCH(bool, readOnly);
        QFETCH(QByteArray, after);

        const QByteArray path = fileWith("old");
        QFileStream stream;
        QVERIFY(stream.Open(path.constData(), mode));
        QCOMPARE(stream.IsReadOnly(), readOnly);
        stream.Write("xy", 2);
        stream.Close();
        QCOMPARE(contents(path), after);
    }

    void reads()
    {
        // Every read in turn: one that takes the wrong number of bytes shifts the rest.
        QFileStream s;
        QVERIFY(s.Open(fileWith(QByteArray::fromHex("01020304 01020304 fffe fffe feff feff ff ff"
                                                    "000000ff 000000ff ff000000 0102"))
                           .constData(),
                       QRawFile::MODE_READ));
        QCOMPARE(s.ReadIntLE(), 67305985);
        QCOMPARE(s.ReadIntBE(), 16909060);
        QCOMPARE(s.ReadShortBE(), qint16(-2));
        QCOMPARE(s.ReadUShortBE(), quint16(65534));
        QCOMPARE(s.ReadShortLE(), qint16(-2));
        QCOMPARE(s.ReadUShortLE(), quint16(65534));
        QCOMPARE(s.ReadByte(), qint8(-1));
        QCOMPARE(s.ReadUByte(), quint8(255));
        QCOMPARE(s.ReadUIntLE(), 4278190080u);
        QCOMPARE(s.ReadIntLE(), -16777216);
        QCOMPARE(s.ReadUIntBE(), 4278190080u);
        QCOMPARE(s.GetPosition(), 30);
        // A read past the end fills zeros.
        QVERIFY(!s.IsEof());
        QCOMPARE(s.ReadIntLE(), 0x0201);
        QVERIFY(s.IsEof());
        QCOMPARE(s.ReadUIntBE(), 0u);
    }

    void seekWriteAndClose()
    {
        QFileStream s;
        QVERIFY(s.Open(fileWith("0123456789").constData(), 1));
        QVERIFY(s.SetPosition(3));
        QCOMPARE(s.GetLength(), 10u);
        QVERIFY(!s.Seek(0, 3));
        QVERIFY(!s.SetPosition(-1));
        QVERIFY(s.Skip(2));
        QCOMPARE(s.ReadUByte(), quint8('5'));
        QVERIFY(s.Seek(-1, QRawFile::FSEEK_END));
        QCOMPARE(s.ReadUByte(), quint8('9'));

        const QByteArray path = QFile::encodeName(m_dir.filePath("written.bin"));
        QVERIFY(s.Open(path.constData(), QRawFile::MODE_CREATE));
        QCOMPARE(s.WriteIntLE(0x01020304), 4);
        QCOMPARE(s.WriteShortLE(-2), 2);
        QCOMPARE(s.WriteByte(0x1ff), 1); // low byte only
        s.Close();
        s.Close();
        QCOMPARE(contents(path), QByteArray::fromHex("04030201feffff"));
        QCOMPARE(s.ReadIntLE(), 0);
        QVERIFY(!s.Open(QFile::encodeName(m_dir.filePath("missing")).constData(), 1));
    }
};

QTEST_GUILESS_MAIN(TestQFileStream)
#include "tst_qfilestream.moc"
