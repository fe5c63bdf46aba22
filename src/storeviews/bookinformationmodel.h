#ifndef BOOKINFORMATIONMODEL_H
#define BOOKINFORMATIONMODEL_H

#include <QObject>
#include <QString>

// The details of the book whose store page is open.
class BookInformationModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString bookName READ getBookName WRITE setBookName NOTIFY bookNameChanged)
    Q_PROPERTY(QString auther READ getAuther WRITE setAuther NOTIFY autherChanged)
    Q_PROPERTY(QString publisher READ getPublisher WRITE setPublisher NOTIFY publisherChanged)
    Q_PROPERTY(QString status READ getStatus WRITE setStatus NOTIFY statusChanged)
    Q_PROPERTY(QString price READ getPrice WRITE setPrice NOTIFY priceChanged)
    Q_PROPERTY(QString bookImage READ getBookImage WRITE setBookImage NOTIFY bookImageChanged)
    Q_PROPERTY(QString bookInfo READ getBookInfo WRITE setBookInfo NOTIFY bookInfoChanged)
    Q_PROPERTY(QString bookID READ getBookID WRITE setBookID NOTIFY bookIDChanged)
    Q_PROPERTY(QString bookSize READ getBookSize WRITE setBookSize NOTIFY bookSizeChanged)
public:
    explicit BookInformationModel(QObject *parent = nullptr);

    QString getBookName() const { return m_BookName; }
    QString getAuther() const { return m_Auther; }
    QString getPublisher() const { return m_Publisher; }
    QString getStatus() const { return m_Status; }
    QString getPrice() const { return m_Price; }
    QString getBookImage() const { return m_BookImage; }
    QString getBookInfo() const { return m_BookInfo; }
    QString getBookID() const { return m_BookID; }
    QString getBookSize() const { return m_BookSize; }

    void setBookName(const QString &value);
    void setAuther(const QString &value);
    void setPublisher(const QString &value);
    void setStatus(const QString &value);
    void setPrice(const QString &value);
    void setBookImage(const QString &value);
    void setBookInfo(const QString &value);
    void setBookID(const QString &value);
    void setBookSize(const QString &value);

    void initBookInfo();

public slots:
    QString getTitleName() { return m_BookName; }
    // Number of detail rows the book page shows: price, author, publisher and
    // status that are not empty.
    int getColumnCount();

signals:
    void bookNameChanged();
    void autherChanged();
    void publisherChanged();
    void statusChanged();
    void priceChanged();
    void bookImageChanged();
    void bookInfoChanged();
    void bookIDChanged();
    void bookSizeChanged();

private:
    // Stores value and announces it through changed when it differs.
    void setField(QString &field, const QString &value, void (BookInformationModel::*changed)());

    QString m_BookName;
    QString m_Auther;
    QString m_Publisher;
    QString m_Status;
    QString m_Price;
    QString m_BookImage;
    QString m_BookInfo;
    QString m_BookID;
    QString m_BookSize;
};

#endif // BOOKINFORMATIONMODEL_H
