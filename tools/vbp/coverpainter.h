#ifndef COVERPAINTER_H
#define COVERPAINTER_H

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>

// Draws a book cover as a PNG: a solid colour chosen from the book id, a
// frame, the title and the author. Text needs a QGuiApplication (fonts);
// without one the cover carries colour and frame only.
class CoverPainter
{
public:
    CoverPainter(const QString &id, const QString &title, const QString &author);

    QByteArray png(const QSize &size) const;
    QColor background() const;

private:
    void drawText(class QPainter &painter, const QSize &size) const;

    QString m_id;
    QString m_title;
    QString m_author;
};

#endif // COVERPAINTER_H
