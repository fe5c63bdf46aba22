#include "bookinformationmodel.h"

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
    setField(m_BookName, value, &BookInformationModel::bookNameChanged);
}

void BookInformationModel::setAuther(const QString &value)
{
    setField(m_Auther, value, &BookInformationModel::autherChanged);
}

void BookInformationModel::setPublisher(const QString &value)
{
    setField(m_Publisher, value, &BookInformationModel::publisherChanged);
}

void BookInformationModel::setStatus(const QString &value)
{
    setField(m_Status, value, &BookInformationModel::statusChanged);
}

void BookInformationModel::setPrice(const QString &value)
{
    setField(m_Price, value, &BookInformationModel::priceChanged);
}

void BookInformationModel::setBookImage(const QString &value)
{
    setField(m_BookImage, value, &BookInformationModel::bookImageChanged);
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
    setField(m_BookID, value, &BookInformationModel::bookIDChanged);
}

void BookInformationModel::setBookSize(const QString &value)
{
    setField(m_BookSize, value, &BookInformationModel::bookSizeChanged);
}

void BookInformationModel::setField(QString &field, const QString &value,
                                    void (BookInformationModel::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
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
