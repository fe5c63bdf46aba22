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

QFont coverFont(int pixels, bool bold)
{
    QFont font(QString::fromLatin1(CoverFontFamily));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The largest pixel size at which the text fits the box with these flags.
int fittingPixelSize(const QString &text, const QRect &box, int largest, int flags, bool bold)
{
    for (int pixels = largest; pixels > 4; --pixels) {
        const QRect needed = QFontMetrics(coverFont(pixels, bold)).boundingRect(box, flags, text);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            return pixels;
    }
    return 4;
}

// Text without spaces (a CJK title) cut into n lines of nearly equal length.
QString balancedLines(const QString &text, int lines)
{
    const QList<uint> chars = text.toUcs4();
    QString out;
    for (int line = 0; line < lines; ++line) {
        const qsizetype from = chars.size() * line / lines;
        const qsizetype to = chars.size() * (line + 1) / lines;
        if (line)
            out += QLatin1Char('\n');
        for (qsizetype i = from; i < to; ++i)
            out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&chars[i]), 1);
    }
    return out;
}

struct TitleLayout
{
    QString text;
    int pixels = 4;
    int flags = 0;
};

// Titles with spaces wrap at words; others are cut into balanced lines, and
// the line count giving the largest type wins.
TitleLayout layoutTitle(const QString &title, const QRect &box, int largest)
{
    if (title.contains(QLatin1Char(' '))) {
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        return {title, fittingPixelSize(title, box, largest, flags, true), flags};
    }
    const int flags = Qt::AlignHCenter | Qt::AlignTop;
    TitleLayout best;
    const int length = int(title.toUcs4().size());
    for (int lines = 1; lines <= qMin(4, qMax(1, length)); ++lines) {
        const QString text = balancedLines(title, lines);
        const int pixels = fittingPixelSize(text, box, largest, flags, true);
        if (pixels > best.pixels)
            best = {text, pixels, flags};
    }
    return best;
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
    const TitleLayout title = layoutTitle(m_title, titleBox, size.width() / 3);
    painter.setFont(coverFont(title.pixels, true));
    painter.setPen(Qt::white);
    painter.drawText(titleBox, title.flags, title.text);

    if (m_author.isEmpty())
        return;
    const QRect authorBox(margin, size.height() * 72 / 100, size.width() - 2 * margin,
                          size.height() * 18 / 100);
    const int authorFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    painter.setFont(coverFont(
        fittingPixelSize(m_author, authorBox, qMax(6, size.width() / 7), authorFlags, false),
        false));
    painter.setPen(QColor(255, 255, 255, 210));
    painter.drawText(authorBox, authorFlags, m_author);
}
