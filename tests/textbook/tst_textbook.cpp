// Plain-text books: the heading rules on texts of the Analects, and every
// encoding through the real vbp program on Tang poems.

#include "chaptersplitter.h"
#include "textbooktest.h"
#include "vbprun.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A preface line, then one chapter per poem, each ending in a blank line.
QStringList tangChapters()
{
    return QStringList{QStringLiteral("唐诗选，录自全唐诗。\n\n")} +
           PoetryCorpus::chapters(PoetryCorpus::tangPoems(4), "\n");
}

QByteArray encoded(const QString &text, QStringConverter::Encoding encoding)
{
    return QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(text);
}

} // namespace

class TstTextBook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SKIP_WITHOUT_CORPUS();
        m_vbp = vbpProgram();
        QVERIFY2(QFileInfo(m_vbp).isExecutable(), qPrintable(m_vbp));
    }

    // Rows with titles split at headings; rows with a count split by size.
    void headings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("sized");
        const QList<CorpusPiece> books = PoetryCorpus::lunyu();
        QVERIFY(books.size() == 20);
        const auto body = [&](int i) { return PoetryCorpus::text(books.at(i)); };

        // Each heading line before a book; titles by default its first line, trimmed.
        const auto row = [&](const char *name, const QStringList &headings,
                             QStringList titles = {}) {
            QString text;
            const bool derived = titles.isEmpty();
            for (int i = 0; i < headings.size(); ++i) {
                text += headings.at(i) + "\n" + body(i);
                if (derived)
                    titles.append(headings.at(i).section('\n', 0, 0).trimmed());
            }
            QTest::newRow(name) << text << titles << 0;
        };
        row("strong units, title after or none",
            {"第一章 学而篇", "第二节为政篇", "第三回　八佾篇", "  第四讲：里仁篇  ",
             "第五篇 公冶长篇", "第六话"});
        row("weak units only before a separator",
            {"第一卷 上论", "第一封信\n第一封信是写给子贡的。", "第四本书\n第四本书是论语。",
             "第二部", "第三册（下）"},
            {"第一卷 上论", "第二部", "第三册（下）"});
        row("numerals", {"第两百章 学而", "第壹佰贰拾叁章 为政", "第１２章 八佾", "第〇回",
                         "第一百零一节 里仁", "第 12 话"});
        row("Chapter 12 and chapter.012",
            {"Chapter 12", "chapter.012", "Chapters 1 to 3 are short.\nCHAPTER 3: 八佾"},
            {"Chapter 12", "chapter.012", "CHAPTER 3: 八佾"});
        row("named parts",
            {"序", "序言", "楔子", "引子", "前言\n前言不搭后语。", "番外 春日", "后记", "尾声"});
        QTest::newRow("preface before the first heading")
            << body(0) + "\n第一章 为政\n" + body(1)
            << QStringList{ChapterSplitter::prefaceTitle(), "第一章 为政"} << 0;
        QTest::newRow("blank lines before the first heading")
            << "\n　　\n第一章 学而\n" + body(0) << QStringList{"第一章 学而"} << 0;
        QTest::newRow("a long line is prose")
            << "第一章" + books.at(0).lines.at(1) + "\n" + body(0) + "第二章\n" + body(1)
            << QStringList{ChapterSplitter::prefaceTitle(), "第二章"} << 0;

        QString all;
        for (int i = 0; i < books.size(); ++i)
            all += body(i);
        QTest::newRow("no headings") << all << QStringList() << 2;
        QTest::newRow("no headings, no line ends")
            << QString(all).remove('\n') << QStringList() << 2;
    }

    void headings()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, titles);
        QFETCH(int, sized);
        const QList<BookSource::Chapter> chapters = ChapterSplitter::split(text);
        QStringList got;
        QString joined;
        for (const BookSource::Chapter &chapter : chapters) {
            got.append(chapter.title);
            joined += chapter.text;
        }
        // Nothing is lost or doubled, whatever the cuts.
        QCOMPARE(joined, text);
        if (!sized) {
            QCOMPARE(got, titles);
            return;
        }
        QCOMPARE(chapters.size(), sized);
        const int target = ChapterSplitter::TargetLength;
        for (const BookSource::Chapter &chapter : chapters) {
            QVERIFY(!chapter.title.isEmpty());
            QVERIFY2(chapter.text.size() >= target && chapter.text.size() < target * 3 / 2,
                     qPrintable(QString::number(chapter.text.size())));
        }
        if (text.contains('\n'))
            QVERIFY(chapters.first().text.endsWith('\n'));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        const QString text = tangChapters().join(QString());
        const QByteArray gb = gb18030(text);
        QTest::newRow("UTF-8") << text.toUtf8() << true;
        QTest::newRow("UTF-8, CRLF") << QString(text).replace("\n", "\r\n").toUtf8() << true;
        QTest::newRow("UTF-8 BOM") << encoded(text, QStringConverter::Utf8) << true;
        QTest::newRow("UTF-16LE BOM") << encoded(text, QStringConverter::Utf16LE) << true;
        QTest::newRow("UTF-16BE BOM") << encoded(text, QStringConverter::Utf16BE) << true;
        QTest::newRow("GB18030") << gb << true;
        QTest::newRow("GB18030 cut inside a character") << gb + gb18030("长").left(1) << false;
        QTest::newRow("UTF-8 BOM, then GB18030") << "\xEF\xBB\xBF" + gb << false;
        QTest::newRow("UTF-16LE BOM, odd length")
            << encoded(text, QStringConverter::Utf16LE) + 'x' << false;
        QTest::newRow("Latin-1") << QString("Café, naïve: première lettre.\n").toLatin1() << false;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << false;
    }

    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QString txt = dir.filePath("tangshi.txt");
        QVERIFY(writeBytes(txt, bytes));

        // Beside the text and named after it, unless told otherwise.
        const QString book = dir.filePath("tangshi.vbp");
        const VbpRun pack = vbp({"pack", txt});
        QCOMPARE(readBytes(txt), bytes);
        if (!accepted) {
            QCOMPARE(pack.exitCode, 1);
            QVERIFY2(pack.err.contains("not a text file"), pack.err.constData());
            QVERIFY(!QFile::exists(book));
            return;
        }
        QVERIFY2(pack.exitCode == 0, pack.err.constData());
        const QStringList chapters = tangChapters();
        const QString info = QString::fromUtf8(vbp({"info", book}).out);
        QVERIFY2(info.contains("title: tangshi\n") && info.contains("content id \"tangshi\""),
                 qPrintable(info));
        QVERIFY(info.contains("c0001 1 " + ChapterSplitter::prefaceTitle() + "\n"));
        QVERIFY(info.contains("chapters: " + QString::number(chapters.size())));
        QCOMPARE(QString::fromUtf8(vbp({"cat", book, "c0003"}).out), chapters.at(2));
    }

    void packOptions()
    {
        QTemporaryDir dir;
        const QString txt = dir.filePath("唐诗选.TXT");
        QVERIFY(writeBytes(txt, gb18030(tangChapters().join(QString()))));
        const QString book = dir.filePath("out.vbp");
        QCOMPARE(vbp({"pack", "--id", "tang-01", "--author", "佚名", "-o", book, txt}).exitCode, 0);
        const QString info = QString::fromUtf8(vbp({"info", book}).out);
        QVERIFY2(info.contains("title: 唐诗选\n") && info.contains("id: tang-01\n") &&
                     info.contains("author: 佚名\n"),
                 qPrintable(info));
        // Other inputs still need -o; a text that is not there is a plain failure.
        QCOMPARE(vbp({"pack", dir.filePath("book.json")}).exitCode, 64);
        QCOMPARE(vbp({"pack", dir.filePath("missing.txt")}).exitCode, 1);
    }

private:
    VbpRun vbp(const QStringList &arguments) const { return runVbp(arguments, m_vbp); }

    QString m_vbp;
};

QTEST_GUILESS_MAIN(TstTextBook)
#include "tst_textbook.moc"
