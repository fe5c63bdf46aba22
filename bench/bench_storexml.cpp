// Reading a 1 MB store front answer with the catalogue reader, beside plain
// QXmlStreamReader tokenisation of the same bytes. The document is made once:
// a category bar, a recommendation strip and many sub-categories of picture
// and list entries with Chinese names and descriptions, and link entries.

#include "ebooklibraryxmlhandler.h"
#include "ebookreaderlibrary.h"

#include <QCoreApplication>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr qsizetype DocumentBytes = 1024 * 1024;

struct StoreDocument
{
    QByteArray bytes;
    int subcats = 0;
    int books = 0;
    int links = 0;
};

const QStringList &words()
{
    static const QStringList list = {
        QStringLiteral("江湖"), QStringLiteral("明月"), QStringLiteral("长安"),
        QStringLiteral("剑客"), QStringLiteral("春秋"), QStringLiteral("山河"),
        QStringLiteral("故人"), QStringLiteral("风雪"), QStringLiteral("天涯"),
        QStringLiteral("少年"), QStringLiteral("归途"), QStringLiteral("烟雨")};
    return list;
}

QString phrase(int seed, int length)
{
    const QStringList &w = words();
    QString text;
    for (int i = 0; i < length; ++i)
        text += w.at((seed * 7 + i * 5) % w.size());
    return text;
}

QString description(int seed)
{
    // Store descriptions mix Chinese prose with numbers and the odd entity.
    return phrase(seed, 20) + QStringLiteral("，全书共%1章。").arg(seed % 90 + 10) +
           phrase(seed + 3, 12) + QStringLiteral(" & 连载中 <精选>");
}

void writeCategories(QXmlStreamWriter &xml)
{
    xml.writeStartElement(QStringLiteral("catlist"));
    for (int i = 0; i < 12; ++i) {
        xml.writeEmptyElement(QStringLiteral("item"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i + 1));
        xml.writeAttribute(QStringLiteral("name"), phrase(i, 1));
        if (i == 0)
            xml.writeAttribute(QStringLiteral("focus"), QStringLiteral("true"));
    }
    xml.writeEndElement();
    xml.writeEmptyElement(QStringLiteral("cat"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("recommend"));
    for (int i = 0; i < 20; ++i) {
        xml.writeEmptyElement(QStringLiteral("item"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("r%1").arg(i));
        xml.writeAttribute(QStringLiteral("name"), phrase(i + 40, 3));
    }
    xml.writeEndElement();
}

void writeBook(QXmlStreamWriter &xml, StoreDocument &doc, bool picture)
{
    const int n = doc.books++;
    const QString id = QStringLiteral("b%1").arg(100000 + n);
    if (picture) {
        xml.writeEmptyElement(QStringLiteral("item"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("piclist"));
        xml.writeAttribute(QStringLiteral("id"), id);
        xml.writeAttribute(QStringLiteral("name"), phrase(n, 3));
        xml.writeAttribute(QStringLiteral("author"), phrase(n + 1, 1) + QStringLiteral("生"));
        return;
    }
    xml.writeStartElement(QStringLiteral("item"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("booklist"));
    xml.writeAttribute(QStringLiteral("id"), id);
    xml.writeAttribute(QStringLiteral("name"), phrase(n, 4));
    xml.writeCharacters(description(n));
    xml.writeEndElement();
}

void writeLinks(QXmlStreamWriter &xml, StoreDocument &doc)
{
    const int n = doc.links;
    doc.links += 2;
    xml.writeStartElement(QStringLiteral("item"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("wap"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("h%1").arg(n));
    xml.writeAttribute(QStringLiteral("href"),
                       QStringLiteral("http://wap.example/more?c=%1").arg(n));
    xml.writeCharacters(QStringLiteral("更多好书"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("item"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("sms"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("h%1").arg(n + 1));
    xml.writeAttribute(QStringLiteral("href"), QStringLiteral("10661234"));
    xml.writeAttribute(QStringLiteral("smsrept"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("smscallback"), QStringLiteral("cb%1").arg(n));
    xml.writeCharacters(QStringLiteral("短信订阅"));
    xml.writeEndElement();
}

void writeSubcat(QXmlStreamWriter &xml, StoreDocument &doc)
{
    const int n = doc.subcats++;
    xml.writeStartElement(QStringLiteral("subcat"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("s%1").arg(n));
    xml.writeAttribute(QStringLiteral("name"), phrase(n, 2) + QStringLiteral("榜"));
    for (int i = 0; i < 4; ++i)
        writeBook(xml, doc, true);
    for (int i = 0; i < 8; ++i)
        writeBook(xml, doc, false);
    writeLinks(xml, doc);
    xml.writeEndElement();
}

StoreDocument makeDocument()
{
    StoreDocument doc;
    QXmlStreamWriter xml(&doc.bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("vr"));
    xml.writeAttribute(QStringLiteral("ret"), QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("uid"), QStringLiteral("u1024"));
    writeCategories(xml);
    while (doc.bytes.size() < DocumentBytes)
        writeSubcat(xml, doc);
    xml.writeEndElement();
    xml.writeEndDocument();
    return doc;
}

const StoreDocument &document()
{
    static const StoreDocument doc = makeDocument();
    return doc;
}

void BM_ParseStoreFront(benchmark::State &state)
{
    const StoreDocument &doc = document();
    qsizetype books = 0;
    for (auto _ : state) {
        EBookReaderLibrary library;
        EBookLibraryXmlHandler handler;
        if (!handler.readFile(doc.bytes, &library)) {
            state.SkipWithError("the store front did not parse");
            return;
        }
        books = 0;
        for (const Subcat *subcat : std::as_const(library.subcatList))
            books += subcat->BookItemList.size();
        benchmark::DoNotOptimize(books);
    }
    if (books != doc.books)
        state.SkipWithError("book entries lost");
    state.SetBytesProcessed(state.iterations() * doc.bytes.size());
    state.counters["subcats"] = doc.subcats;
    state.counters["books"] = double(books);
}

void BM_ParseStoreFront_Reference(benchmark::State &state)
{
    const StoreDocument &doc = document();
    for (auto _ : state) {
        QXmlStreamReader xml(doc.bytes);
        qsizetype touched = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            touched += xml.name().size() + xml.text().size();
        }
        if (xml.hasError()) {
            state.SkipWithError(qPrintable(xml.errorString()));
            return;
        }
        benchmark::DoNotOptimize(touched);
    }
    state.SetBytesProcessed(state.iterations() * doc.bytes.size());
}

} // namespace

BENCHMARK(BM_ParseStoreFront)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseStoreFront_Reference)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const StoreDocument &doc = document();
    std::printf("store front: %lld bytes, %d sub-categories, %d books, %d links\n",
                (long long)doc.bytes.size(), doc.subcats, doc.books, doc.links);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
