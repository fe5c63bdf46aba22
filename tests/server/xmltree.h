#ifndef XMLTREE_H
#define XMLTREE_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QXmlStreamReader>
#include <memory>

// A whole store answer read into a small tree, so tests can look at what a
// real XML parser sees; null when the document is not well formed.
struct XmlNode
{
    QString name;
    QHash<QString, QString> attributes;
    QString text; // all character data directly inside the element
    QList<std::shared_ptr<XmlNode>> children;

    QString attr(const QString &key) const { return attributes.value(key); }
    const XmlNode *child(const QString &childName) const { return all(childName).value(0); }
    QList<const XmlNode *> all(const QString &childName) const
    {
        QList<const XmlNode *> found;
        for (const auto &c : children) {
            if (c->name == childName)
                found.append(c.get());
        }
        return found;
    }
    QString childText(const QString &childName) const
    {
        const XmlNode *c = child(childName);
        return c ? c->text : QString();
    }

    static std::shared_ptr<XmlNode> parse(const QByteArray &bytes)
    {
        QXmlStreamReader reader(bytes);
        std::shared_ptr<XmlNode> root;
        QList<XmlNode *> open;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement()) {
                auto node = std::make_shared<XmlNode>();
                node->name = reader.name().toString();
                for (const QXmlStreamAttribute &a : reader.attributes())
                    node->attributes.insert(a.name().toString(), a.value().toString());
                if (open.isEmpty())
                    root = node;
                else
                    open.last()->children.append(node);
                open.append(node.get());
            } else if (reader.isEndElement()) {
                open.removeLast();
            } else if (reader.isCharacters() && !open.isEmpty()) {
                open.last()->text += reader.text().toString();
            }
        }
        return reader.hasError() ? nullptr : root;
    }
};

#endif // XMLTREE_H
