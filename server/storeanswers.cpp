#include "storeanswers.h"

#include "coverart.h"
#include "storecatalogue.h"
#include "storedocument.h"
#include "storeledger.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
const QString Vr = QStringLiteral("vr");
const QString Vb = QStringLiteral("vb");
const QString Ret = QStringLiteral("ret");
const QString Ok = QStringLiteral("ok");
const QString Item = QStringLiteral("item");
const QString Id = QStringLiteral("id");
const QString Name = QStringLiteral("name");
constexpr int RecommendCount = 4;
constexpr int SubcatPictures = 2;
constexpr int SubcatRows = 6;
constexpr int DefaultPageSize = 12;
constexpr int KeywordLimit = 100;
constexpr int DisplayLines = 20;
} // namespace

StoreAnswers::StoreAnswers(const StoreCatalogue &catalogue, StoreLedger &ledger)
    : m_catalogue(catalogue), m_ledger(ledger)
{}

StoreReply StoreAnswers::fail(const QString &root, int detail, const QString &message, int status)
{
    StoreReply reply;
    reply.status = status;
    reply.body = StoreDocument::error(root, 400, QStringLiteral("%1 %2").arg(detail).arg(message));
    return reply;
}

StoreReply StoreAnswers::storageFault()
{
    StoreReply reply;
    reply.status = 500;
    reply.body = StoreDocument::error(Vr, 500);
    return reply;
}

StoreReply StoreAnswers::unknownAction()
{
    return fail(Vr, UnknownAction, QStringLiteral("unknown action"), 404);
}

QString StoreAnswers::param(const StoreQuery &query, const char *name)
{
    return query.value(QLatin1String(name)).trimmed();
}

bool StoreAnswers::validUid(const QString &uid)
{
    if (uid.isEmpty() || uid.size() > StoreLedger::IdLimit)
        return false;
    for (const QChar c : uid) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('.') || c == QLatin1Char('_') || c == QLatin1Char('-');
        if (!plain)
            return false;
    }
    return true;
}

QString StoreAnswers::money(int cents)
{
    return QStringLiteral("%1.%2 元").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

bool StoreAnswers::resolveUid(const StoreQuery &query, QString *uid, StoreReply *refusal)
{
    *uid = param(query, "uid");
    if (!uid->isEmpty()) {
        if (validUid(*uid))
            return true;
        *refusal = fail(Vr, BadParameter, QStringLiteral("malformed uid"));
        return false;
    }
    if (param(query, "openflag") != QLatin1String("true"))
        return true;
    *uid = StoreLedger::allocateUid();
    return true;
}

bool StoreAnswers::readPaging(const StoreQuery &query, int *page, int *perPage)
{
    *page = 1;
    *perPage = DefaultPageSize;
    bool ok = true;
    const QString pageText = param(query, "pageidx");
    if (!pageText.isEmpty())
        *page = pageText.toInt(&ok);
    if (!ok || *page < 1)
        return false;
    const QString sizeText = param(query, "numperpage");
    if (!sizeText.isEmpty())
        *perPage = sizeText.toInt(&ok);
    if (!ok || *perPage < 1)
        return false;
    *perPage = qMin(*perPage, int(PageSizeLimit));
    return true;
}

void StoreAnswers::writeCatalogueBook(StoreDocument &document, const StoreBook &book,
                                      const char *type) const
{
    // Both attributes and the text go out for either row type: readers take
    // the author from picture rows and the description from list rows.
    document.start(Item);
    document.attribute(QStringLiteral("type"), QLatin1String(type));
    document.attribute(Id, book.id);
    document.attribute(Name, book.title);
    document.attribute(QStringLiteral("author"), book.author);
    if (!book.isFree())
        document.attribute(QStringLiteral("price"), money(book.priceCents));
    document.text(book.description);
    document.end();
}

StoreReply StoreAnswers::library(const StoreQuery &query, const QString &base)
{
    QString uid;
    StoreReply refusal;
    if (!resolveUid(query, &uid, &refusal))
        return refusal;
    QString catId = param(query, "cat");
    if (catId.isEmpty())
        catId = QStringLiteral("novel");
    const StoreCatalogue::Category *category = m_catalogue.category(catId);
    if (!category)
        return fail(Vr, UnknownCategory, QStringLiteral("unknown category"));

    StoreDocument document(Vr);
    document.attribute(Ret, Ok);
    document.textElement(QStringLiteral("uid"), uid);
    document.start(QStringLiteral("catlist"));
    for (const StoreCatalogue::Category &entry : m_catalogue.categories()) {
        document.start(Item);
        document.attribute(Id, entry.id);
        document.attribute(Name, entry.name);
        if (entry.focus)
            document.attribute(QStringLiteral("focus"), QStringLiteral("true"));
        document.end();
    }
    document.end();
    document.start(QStringLiteral("cat"));
    document.attribute(Id, category->id);
    document.attribute(Name, category->name);
    document.end();

    document.start(QStringLiteral("recommend"));
    const StoreCatalogue::BookList *recommend = m_catalogue.list(category->recommendList);
    for (int index : recommend->books.mid(0, RecommendCount)) {
        document.start(Item);
        document.attribute(Id, m_catalogue.books().at(index).id);
        document.attribute(Name, m_catalogue.books().at(index).title);
        document.end();
    }
    document.end();

    for (const QString &listId : category->subcatLists) {
        const StoreCatalogue::BookList *list = m_catalogue.list(listId);
        if (list->books.isEmpty())
            continue;
        document.start(QStringLiteral("subcat"));
        document.attribute(Id, list->id);
        document.attribute(Name, list->name);
        const QList<int> shown = list->books.mid(0, SubcatRows);
        for (int i = 0; i < shown.size(); ++i)
            writeCatalogueBook(document, m_catalogue.books().at(shown.at(i)),
                               i < SubcatPictures ? "piclist" : "booklist");
        if (listId == category->subcatLists.last()) {
            document.start(Item);
            document.attribute(QStringLiteral("type"), QStringLiteral("wap"));
            document.attribute(Id, QStringLiteral("about"));
            document.attribute(QStringLiteral("href"), base);
            document.text(QStringLiteral("关于书城"));
            document.end();
        }
        document.end();
    }
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

void StoreAnswers::writePage(StoreDocument &document, const QList<int> &books, int page,
                             int perPage, const char *type) const
{
    const qint64 first = qint64(page - 1) * perPage;
    for (qint64 i = first; i < books.size() && i < first + perPage; ++i)
        writeCatalogueBook(document, m_catalogue.books().at(books.at(i)), type);
}

StoreReply StoreAnswers::search(const StoreQuery &query)
{
    const QString keyword = param(query, "keyword");
    const QString catId = param(query, "catid");
    if (keyword.isEmpty() && catId.isEmpty())
        return fail(Vr, MissingParameter, QStringLiteral("keyword or catid required"));
    if (keyword.size() > KeywordLimit)
        return fail(Vr, BadParameter, QStringLiteral("keyword too long"));
    const StoreCatalogue::BookList *scope =
        m_catalogue.list(catId.isEmpty() ? QStringLiteral("hot") : catId);
    if (!scope)
        return fail(Vr, UnknownCategory, QStringLiteral("unknown category"));
    int page = 1;
    int perPage = DefaultPageSize;
    if (!readPaging(query, &page, &perPage))
        return fail(Vr, BadParameter, QStringLiteral("malformed page"));

    const QList<int> books = keyword.isEmpty() ? scope->books : m_catalogue.search(keyword, *scope);
    const qint64 total = books.size();
    StoreDocument document(Vr);
    document.attribute(Ret, Ok);
    document.attribute(QStringLiteral("totalpage"), (total + perPage - 1) / perPage);
    document.attribute(QStringLiteral("pageidx"), page);
    document.attribute(QStringLiteral("totalitem"), total);
    if (keyword.isEmpty()) {
        document.textElement(QStringLiteral("msgs"), QString());
        document.textElement(QStringLiteral("tips"), scope->name);
        writePage(document, books, page, perPage, "booklist");
    } else {
        document.textElement(QStringLiteral("msgs"), QString());
        document.textElement(QStringLiteral("tips"),
                             QStringLiteral("找到 %1 本与“%2”有关的书").arg(total).arg(keyword));
        writePage(document, books, page, perPage, "piclist");
    }
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::keywords(const StoreQuery &query)
{
    QString uid;
    StoreReply refusal;
    if (!resolveUid(query, &uid, &refusal))
        return refusal;
    const QStringList keys = m_catalogue.suggestedKeywords();
    StoreDocument document(Vb);
    document.attribute(Ret, Ok);
    document.textElement(QStringLiteral("uid"), uid);
    document.start(QStringLiteral("keys"));
    document.attribute(QStringLiteral("count"), keys.size());
    for (const QString &key : keys)
        document.textElement(QStringLiteral("key"), key);
    document.end();
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::bookInfo(const StoreQuery &query)
{
    const QString bookId = param(query, "bookid");
    if (bookId.isEmpty())
        return fail(Vb, MissingParameter, QStringLiteral("bookid required"));
    const StoreBook *book = m_catalogue.book(bookId);
    if (!book)
        return fail(Vb, UnknownBook, QStringLiteral("unknown book"));
    StoreDocument document(Vb);
    document.attribute(Ret, Ok);
    document.attribute(QStringLiteral("title"), book->title);
    document.textElement(Id, book->id);
    document.textElement(QStringLiteral("author"), book->author);
    document.textElement(QStringLiteral("publisher"), book->publisher);
    document.textElement(QStringLiteral("display_lines"), QString::number(DisplayLines));
    document.start(QStringLiteral("chapters"));
    document.attribute(QStringLiteral("total"), book->chapterCount);
    document.end();
    document.textElement(QStringLiteral("description"), book->description);
    document.textElement(QStringLiteral("size"), QString::number(book->packageSize));
    document.textElement(QStringLiteral("price"),
                         book->isFree() ? QStringLiteral("free") : money(book->priceCents));
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::login(const StoreQuery &query, const QString &base)
{
    QString uid = param(query, "uid");
    if (!uid.isEmpty() && !validUid(uid))
        return fail(Vr, BadParameter, QStringLiteral("malformed uid"));
    if (uid.isEmpty())
        uid = StoreLedger::allocateUid();
    StoreDocument document(Vr);
    document.attribute(Ret, Ok);
    document.textElement(QStringLiteral("uid"), uid);
    document.textElement(QStringLiteral("prefix"), base);
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::account(const StoreQuery &query)
{
    QString uid;
    StoreReply refusal;
    if (!resolveUid(query, &uid, &refusal))
        return refusal;
    if (uid.isEmpty())
        return fail(Vr, MissingParameter, QStringLiteral("uid required"));
    const std::optional<StoreLedger::Account> state = m_ledger.account(uid);
    if (!state)
        return storageFault();
    StoreDocument document(Vr);
    document.attribute(Ret, Ok);
    document.textElement(QStringLiteral("uid"), uid);
    const QList<QPair<QString, QString>> lines = {
        {QStringLiteral("用户编号"), uid},
        {QStringLiteral("账户余额"), money(state->balanceCents)},
        {QStringLiteral("已购图书"), QString::number(state->booksBought)},
    };
    for (const auto &line : lines) {
        document.start(QStringLiteral("line"));
        document.attribute(Name, line.first);
        document.attribute(QStringLiteral("value"), line.second);
        document.end();
    }
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::download(const StoreQuery &query, const QString &base)
{
    const QString cid = param(query, "cid");
    if (cid.isEmpty())
        return fail(Vr, MissingParameter, QStringLiteral("cid required"));
    const StoreBook *book = m_catalogue.book(cid);
    if (!book)
        return fail(Vr, UnknownBook, QStringLiteral("unknown book"));
    const QString uid = param(query, "uid");
    if (!uid.isEmpty() && !validUid(uid))
        return fail(Vr, BadParameter, QStringLiteral("malformed uid"));
    const bool continuing = !param(query, "sid").isEmpty();
    if (book->isFree() && !continuing)
        return downloadAnswer(*book, QString(), QString(), base);
    // Orders, payments and tickets all belong to one user: nobody buys anonymously.
    if (uid.isEmpty())
        return fail(Vr, MissingParameter, QStringLiteral("uid required to buy"));
    if (continuing)
        return continueOrder(*book, uid, query, base);
    return placeOrder(*book, uid, base);
}

StoreReply StoreAnswers::placeOrder(const StoreBook &book, const QString &uid, const QString &base)
{
    // A bought book is handed out again, never charged again.
    const QString ticket = m_ledger.paidTicket(uid, book.id);
    if (!ticket.isEmpty())
        return downloadAnswer(book, uid, ticket, base);
    StoreLedger::Order order;
    switch (m_ledger.openOrder(uid, book, &order)) {
    case StoreLedger::Placement::Placed:
        break;
    case StoreLedger::Placement::TooMany:
        return fail(Vr, TooManyOrders, QStringLiteral("too many unpaid orders"));
    case StoreLedger::Placement::TooLong:
        return fail(Vr, BadParameter, QStringLiteral("id too long"));
    case StoreLedger::Placement::Failed:
        return storageFault();
    }
    if (book.charge == StoreBook::Sms)
        return chargeAnswer(book, order.sid, order.pid);
    return payAnswer(book, order.sid, uid);
}

StoreReply StoreAnswers::continueOrder(const StoreBook &book, const QString &uid,
                                       const StoreQuery &query, const QString &base)
{
    const QString sid = param(query, "sid");
    const QString pid = param(query, "pid");
    const std::optional<StoreLedger::Order> order = m_ledger.order(sid);
    // Another user's order is answered as if it did not exist.
    if (!order || order->uid != uid || order->bookId != book.id ||
        (!pid.isEmpty() && pid != order->pid))
        return fail(Vr, UnknownOrder, QStringLiteral("unknown order"));
    if (order->paid)
        return boughtAnswer(book, uid, base);
    if (order->charge != StoreBook::Account) {
        // The payment SMS has not arrived: the charge stands.
        return chargeAnswer(book, order->sid, order->pid);
    }
    // Continuing a payment offer is the user's confirmation.
    switch (m_ledger.payFromAccount(sid, uid)) {
    case StoreLedger::Payment::Paid:
    case StoreLedger::Payment::AlreadyPaid:
        return boughtAnswer(book, uid, base);
    case StoreLedger::Payment::NoFunds:
        return fail(Vr, NoFunds, QStringLiteral("balance too low"));
    case StoreLedger::Payment::Failed:
        return storageFault();
    case StoreLedger::Payment::UnknownOrder:
    case StoreLedger::Payment::WrongKind:
        break;
    }
    return fail(Vr, UnknownOrder, QStringLiteral("unknown order"));
}

StoreReply StoreAnswers::boughtAnswer(const StoreBook &book, const QString &uid,
                                      const QString &base) const
{
    const QString ticket = m_ledger.paidTicket(uid, book.id);
    return ticket.isEmpty() ? storageFault() : downloadAnswer(book, uid, ticket, base);
}

StoreReply StoreAnswers::downloadAnswer(const StoreBook &book, const QString &uid,
                                        const QString &ticket, const QString &base) const
{
    // The package route learns the buyer only from this link, so it carries
    // the user id beside the ticket; both are letters and digits already.
    QString link = base + QStringLiteral("package.action?cid=") +
                   QString::fromLatin1(QUrl::toPercentEncoding(book.id));
    if (!ticket.isEmpty()) {
        link += QStringLiteral("&uid=") + QString::fromLatin1(QUrl::toPercentEncoding(uid)) +
                QStringLiteral("&ticket=") + ticket;
    }
    StoreDocument document(Vr);
    document.attribute(Ret, QStringLiteral("download"));
    document.attribute(QStringLiteral("type"), QStringLiteral("vbp"));
    document.textElement(QStringLiteral("title"), QStringLiteral("下载"));
    document.textElement(QStringLiteral("text"),
                         QStringLiteral("《%1》正在送往你的书架。").arg(book.title));
    document.textElement(QStringLiteral("content"), book.title);
    document.textElement(QStringLiteral("link"), link);
    document.textElement(QStringLiteral("size"), QString::number(book.packageSize));
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::chargeAnswer(const StoreBook &book, const QString &sid,
                                      const QString &pid) const
{
    // Six characters of prefix, the number, ":", the message body.
    const QString url = QStringLiteral("sms://%1:%2 %3")
                            .arg(QLatin1String(SmsNumber), QLatin1String(SmsPayWord), sid);
    StoreDocument document(Vr);
    document.attribute(Ret, QStringLiteral("chargedef"));
    document.attribute(QStringLiteral("sid"), sid);
    document.start(Item);
    document.attribute(Name, book.title);
    document.attribute(QStringLiteral("type"), QStringLiteral("sms"));
    document.attribute(Id, pid);
    document.attribute(QStringLiteral("url"), url);
    document.attribute(QStringLiteral("text"),
                       QStringLiteral("《%1》售价 %2，发送一条短信到 %3 即可购买。要购买吗？")
                           .arg(book.title, money(book.priceCents), QLatin1String(SmsNumber)));
    document.end();
    document.start(QStringLiteral("ok"));
    document.attribute(QStringLiteral("text"), QStringLiteral("购买"));
    document.end();
    document.start(QStringLiteral("cancel"));
    document.attribute(QStringLiteral("text"), QStringLiteral("取消"));
    document.end();
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::payAnswer(const StoreBook &book, const QString &sid,
                                   const QString &uid) const
{
    const std::optional<StoreLedger::Account> state = m_ledger.account(uid);
    if (!state)
        return storageFault();
    StoreDocument document(Vr);
    document.attribute(Ret, QStringLiteral("pay"));
    document.attribute(QStringLiteral("sid"), sid);
    document.textElement(QStringLiteral("title"), QStringLiteral("确认购买"));
    document.textElement(QStringLiteral("text"),
                         QStringLiteral("《%1》售价 %2，将从余额 %3 中扣除。要购买吗？")
                             .arg(book.title, money(book.priceCents), money(state->balanceCents)));
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}

StoreReply StoreAnswers::cover(const StoreQuery &query)
{
    const QString id = param(query, "id");
    if (id.isEmpty())
        return fail(Vr, MissingParameter, QStringLiteral("id required"), 400);
    const StoreBook *book = m_catalogue.book(id);
    if (!book)
        return fail(Vr, UnknownBook, QStringLiteral("unknown book"), 404);
    const QString size = param(query, "size");
    StoreReply reply;
    reply.contentType = "image/png";
    if (size == QLatin1String("82_118")) {
        reply.body = book->largeCover;
        reply.fileName = CoverArt::fileName(book->id, CoverArt::LargeSize);
    } else if (size.isEmpty() || size == QLatin1String("44_63")) {
        reply.body = book->smallCover;
        reply.fileName = CoverArt::fileName(book->id, CoverArt::SmallSize);
    } else {
        return fail(Vr, BadParameter, QStringLiteral("unknown cover size"), 400);
    }
    return reply;
}

const StoreBook *StoreAnswers::packageBook(const StoreQuery &query, StoreReply *refusal) const
{
    const StoreBook *book = m_catalogue.book(param(query, "cid"));
    if (!book) {
        *refusal = fail(Vr, UnknownBook, QStringLiteral("unknown book"), 404);
        return nullptr;
    }
    if (!book->isFree() &&
        !m_ledger.ticketOpens(param(query, "ticket"), param(query, "uid"), book->id)) {
        *refusal = fail(Vr, NotPaid, QStringLiteral("not paid for"), 403);
        return nullptr;
    }
    return book;
}

StoreReply StoreAnswers::smsGateway(const StoreQuery &form)
{
    const QString number = param(form, "number");
    const QString body = param(form, "body");
    if (number.isEmpty() || body.isEmpty())
        return fail(Vr, MissingParameter, QStringLiteral("number and body required"), 400);
    // A carrier delivers any message; only the store's number pays.
    const qint64 messageId = m_ledger.nextMessageId();
    if (messageId < 0)
        return storageFault();
    QString payment = QStringLiteral("none");
    // Built per request: answers run on several threads at once.
    const QRegularExpression payPattern(
        QStringLiteral("^%1\\s+(\\S+)$").arg(QLatin1String(SmsPayWord)));
    const QRegularExpressionMatch match = payPattern.match(body);
    if (number == QLatin1String(SmsNumber) && match.hasMatch()) {
        switch (m_ledger.paySms(match.captured(1))) {
        case StoreLedger::Payment::Paid:
            payment = QStringLiteral("paid");
            break;
        case StoreLedger::Payment::AlreadyPaid:
            payment = QStringLiteral("already paid");
            break;
        case StoreLedger::Payment::Failed:
            return storageFault();
        default:
            payment = QStringLiteral("unknown order");
            break;
        }
    }
    StoreDocument document(Vr);
    document.attribute(Ret, QStringLiteral("sent"));
    document.textElement(Id, QString::number(messageId));
    document.textElement(QStringLiteral("payment"), payment);
    StoreReply reply;
    reply.body = document.finish();
    return reply;
}
