#ifndef LOADFILE_H
#define LOADFILE_H

#include <QIODevice>
#include <QString>

// A file device that was meant to feed transfers; the engine never uses it.
// Every query answers 1 and every setter does nothing.
class LoadFile : public QIODevice
{
    Q_OBJECT
public:
    explicit LoadFile(QObject *parent = nullptr);

    int openFile();
    int isExistFile();
    int getFileSize();
    void setFileUrl(const QString &url);
    void setFile(const QString &fileName);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    QString m_loadFile;
    QString m_fileUrl;
    QString m_fileName;
    qint64 m_fileSize = 0;
};

#endif // LOADFILE_H
