#include "coverpainter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

const char *const CoverFontFamily = "Noto Serif CJK SC";

bool canDrawText()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

// The largest pixel size at which the text wraps into the box.
int fittingPixelSize(const QString &text, const QRect &box, int largest, int flags)
{
    for (int pixels = largest; pixels > 4; --pixels) {
        QFont font(QString::fromLatin1(CoverFontFamily));
        font.setPixelSize(pixels);
        const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            return pixels;
    }
    return 4;
}

} // namespace

CoverPainter::CoverPainter(const QString &id, const QString &title, const QString &author)
    : m_id(id), m_title(title), m_author(author)
{}

QColor CoverPainter::background() const
{
    const QByteArray digest = QCryptographicHash::hash(m_id.toUtf8(), QCryptographicHash::Sha1);
    const int hue = (quint8(digest.at(0)) << 8 | quint8(digest.at(1))) % 360;
    // Muted, fairly dark tones: white text stays readable on every hue.
    const int saturation = 90 + quint8(digest.at(2)) % 70;
    const int value = 110 + quint8(digest.at(3)) % 50;
    return QColor::fromHsv(hue, saturation, value);
}

QByteArray CoverPainter::png(const QSize &size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background());
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const int inset = qMax(2, size.width() / 14);
        painter.setPen(QPen(background().lighter(160), qMax(1, size.width() / 40)));
        painter.drawRect(QRect(QPoint(0, 0), size).adjusted(inset, inset, -inset, -inset));
        if (canDrawText())
            drawText(painter, size);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void CoverPainter::drawText(QPainter &painter, const QSize &size) const
{
    const int margin = qMax(4, size.width() / 8);
    const QRect titleBox(margin, margin + size.height() / 10, size.width() - 2 * margin,
                         size.height() * 55 / 100);
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere;
    QFont font(QString::fromLatin1(CoverFontFamily));
    font.setPixelSize(fittingPixelSize(m_title, titleBox, size.width() / 3, flags));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(titleBox, flags, m_title);

    if (m_author.isEmpty())
        return;
    const QRect authorBox(margin, size.height() * 72 / 100, size.width() - 2 * margin,
                          size.height() * 18 / 100);
    QFont small(QString::fromLatin1(CoverFontFamily));
    small.setPixelSize(fittingPixelSize(m_author, authorBox, qMax(6, size.width() / 7),
                                        Qt::AlignHCenter | Qt::TextWrapAnywhere));
    painter.setFont(small);
    painter.setPen(QColor(255, 255, 255, 210));
    painter.drawText(authorBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere, m_author);
}
