#include "qfilestream.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

class TestQFileStream : public QObject
{
    Q_OBJECT

private:
    QString fileWith(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("f%1.bin").arg(++m_count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return path;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
    int m_count = 0;

private slots:
    void openModes_data();
    void openModes();
    void reads_data();
    void reads();
    void shortReadFillsZeros();
    void seekAndLength();
    void writes();
    void closeTwice();
};

void TestQFileStream::openModes_data()
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
    QTest::newRow("read|write") << 3 << false << QByteArray("xy");
}

void TestQFileStream::openModes()
{
    QFETCH(int, mode);
    QFETCH(bool, readOnly);
    QFETCH(QByteArray, after);

    const QString path = fileWith("old");
    QFileStream stream;
    QVERIFY(stream.Open(QFile::encodeName(path).constData(), mode));
    QCOMPARE(stream.IsReadOnly(), readOnly);
    stream.Write("xy", 2);
    stream.Close();
    QCOMPARE(contents(path), after);
}

void TestQFileStream::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("op");
    QTest::addColumn<qint64>("expected");

    const QByteArray counting = QByteArray::fromHex("01020304");
    QTest::newRow("IntLE") << counting << "IntLE" << qint64(67305985);
    QTest::newRow("IntBE") << counting << "IntBE" << qint64(16909060);
    QTest::newRow("ShortBE negative") << QByteArray::fromHex("fffe") << "ShortBE" << qint64(-2);
    QTest::newRow("UShortBE") << QByteArray::fromHex("fffe") << "UShortBE" << qint64(65534);
    QTest::newRow("ShortLE") << QByteArray::fromHex("feff") << "ShortLE" << qint64(-2);
    QTest::newRow("UShortLE") << QByteArray::fromHex("feff") << "UShortLE" << qint64(65534);
    QTest::newRow("Byte") << QByteArray::fromHex("ff") << "Byte" << qint64(-1);
    QTest::newRow("UByte") << QByteArray::fromHex("ff") << "UByte" << qint64(255);
    QTest::newRow("UIntLE top bit")
        << QByteArray::fromHex("000000ff") << "UIntLE" << qint64(4278190080LL);
    QTest::newRow("IntLE top bit")
        << QByteArray::fromHex("000000ff") << "IntLE" << qint64(-16777216);
    QTest::newRow("UIntBE") << QByteArray::fromHex("ff000000") << "UIntBE" << qint64(4278190080LL);
}

void TestQFileStream::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, op);
    QFETCH(qint64, expected);

    QFileStream s;
    QVERIFY(s.Open(QFile::encodeName(fileWith(bytes)).constData(), QRawFile::MODE_READ));
    const QHash<QString, std::function<qint64()>> ops = {
        {"IntLE", [&] { return qint64(s.ReadIntLE()); }},
        {"IntBE", [&] { return qint64(s.ReadIntBE()); }},
        {"UIntLE", [&] { return qint64(s.ReadUIntLE()); }},
        {"UIntBE", [&] { return qint64(s.ReadUIntBE()); }},
        {"ShortLE", [&] { return qint64(s.ReadShortLE()); }},
        {"ShortBE", [&] { return qint64(s.ReadShortBE()); }},
        {"UShortLE", [&] { return qint64(s.ReadUShortLE()); }},
        {"UShortBE", [&] { return qint64(s.ReadUShortBE()); }},
        {"Byte", [&] { return qint64(s.ReadByte()); }},
        {"UByte", [&] { return qint64(s.ReadUByte()); }},
    };
    QCOMPARE(ops.value(op)(), expected);
    QCOMPARE(s.GetPosition(), int(bytes.size()));
}

void TestQFileStream::shortReadFillsZeros()
{
    QFileStream s;
    QVERIFY(s.Open(QFile::encodeName(fileWith(QByteArray::fromHex("0102"))).constData(), 1));
    QVERIFY(!s.IsEof());
    QCOMPARE(s.ReadIntLE(), 0x0201);
    QVERIFY(s.IsEof());
    QCOMPARE(s.ReadUIntBE(), 0u);
}

void TestQFileStream::seekAndLength()
{
    QFileStream s;
    QVERIFY(s.Open(QFile::encodeName(fileWith("0123456789")).constData(), 1));
    QVERIFY(s.SetPosition(3));
    QCOMPARE(s.GetLength(), 10u);
    QCOMPARE(s.GetPosition(), 3);
    QVERIFY(!s.Seek(0, 3));
    QVERIFY(!s.Seek(0, -1));
    QCOMPARE(s.GetPosition(), 3);
    QVERIFY(s.Skip(2));
    QCOMPARE(s.ReadUByte(), quint8('5'));
    QVERIFY(s.Seek(-1, QRawFile::FSEEK_END));
    QCOMPARE(s.ReadUByte(), quint8('9'));
    QVERIFY(!s.SetPosition(-1));
}

void TestQFileStream::writes()
{
    const QString path = m_dir.filePath(QStringLiteral("written.bin"));
    QFileStream s;
    QVERIFY(s.Open(QFile::encodeName(path).constData(), QRawFile::MODE_CREATE));
    QCOMPARE(s.WriteIntLE(0x01020304), 4);
    QCOMPARE(s.WriteShortLE(-2), 2);
    QCOMPARE(s.WriteByte(0x1ff), 1); // low byte only
    s.Close();
    QCOMPARE(contents(path), QByteArray::fromHex("04030201feffff"));
}

void TestQFileStream::closeTwice()
{
    QFileStream s;
    QVERIFY(!s.Open(QFile::encodeName(m_dir.filePath("missing")).constData(), 1));
    QVERIFY(s.Open(QFile::encodeName(fileWith("a")).constData(), 1));
    s.Close();
    s.Close();
    QCOMPARE(s.Read(nullptr, 1), 0);
    QCOMPARE(s.ReadIntLE(), 0);
}

QTEST_GUILESS_MAIN(TestQFileStream)
#include "tst_qfilestream.moc"
