#include "bookinformationmodel.h"

namespace {

// Stores value and reports whether it changed.
bool assign(QString &field, const QString &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

BookInformationModel::BookInformationModel(QObject *parent) : QObject(parent)
{
    initBookInfo();
}

void BookInformationModel::initBookInfo()
{
    m_BookName.clear();
    m_Auther.clear();
    m_Publisher.clear();
    m_Status.clear();
    m_Price.clear();
    m_BookImage = QStringLiteral("pics/dai.png");
    m_BookInfo.clear();
    m_BookID.clear();
    m_BookSize = QStringLiteral("0");
}

void BookInformationModel::setBookName(const QString &value)
{
    if (assign(m_BookName, value))
        emit bookNameChanged();
}

void BookInformationModel::setAuther(const QString &value)
{
    if (assign(m_Auther, value))
        emit autherChanged();
}

void BookInformationModel::setPublisher(const QString &value)
{
    if (assign(m_Publisher, value))
        emit publisherChanged();
}

void BookInformationModel::setStatus(const QString &value)
{
    if (assign(m_Status, value))
        emit statusChanged();
}

void BookInformationModel::setPrice(const QString &value)
{
    if (assign(m_Price, value))
        emit priceChanged();
}

void BookInformationModel::setBookImage(const QString &value)
{
    if (assign(m_BookImage, value))
        emit bookImageChanged();
}

void BookInformationModel::setBookInfo(const QString &value)
{
    if (value == m_BookInfo)
        return;
    // The store sends CR LF line ends; the text view wants plain line feeds.
    QString text = value;
    text.remove(QChar(13));
    m_BookInfo = text;
    emit bookInfoChanged();
}

void BookInformationModel::setBookID(const QString &value)
{
    if (assign(m_BookID, value))
        emit bookIDChanged();
}

void BookInformationModel::setBookSize(const QString &value)
{
    if (assign(m_BookSize, value))
        emit bookSizeChanged();
}

int BookInformationModel::getColumnCount()
{
    int count = 0;
    for (const QString *field : {&m_Price, &m_Auther, &m_Publisher, &m_Status}) {
        if (!field->isEmpty())
            ++count;
    }
    return count;
}
