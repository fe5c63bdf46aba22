#ifndef PLAINXMLSCANNER_H
#define PLAINXMLSCANNER_H

#include "sharedtext.h"

#include <QByteArrayView>
#include <QVarLengthArray>

struct ChapterXMLItem;
class VRRBookInfo;

// A quick reader for the two package descriptions in the plain form the
// packer writes: an optional XML declaration, then only the elements
// XmlReader looks at, with attribute values and texts free of entities,
// markup and carriage returns. It answers false for anything else (images,
// comments, entities, unknown elements, errors), which XmlReader then reads;
// what it accepts it reads exactly as XmlReader would. Both take
// zero-terminated UTF-8 text; use a fresh scanner for every scan.
class PlainXmlScanner
{
public:
    explicit PlainXmlScanner(const char *text) : m_pos(text), m_strings(text ? qstrlen(text) : 0) {}

    // Fills result (replacing its pieces) when the whole description is in
    // the plain form.
    bool scanChapter(ChapterXMLItem &result);
    // Fills result; a description it declines leaves result as it was.
    bool scanIndex(VRRBookInfo &result);

private:
    // Both point into the text; values are decoded only when kept.
    struct Attribute
    {
        QByteArrayView name;
        QByteArrayView value;
    };
    using Attributes = QVarLengthArray<Attribute, 5>;

    // How a start tag ends: "/>", ">" or neither.
    enum class StartEnd
    {
        Empty,
        Content,
        Bad
    };

    bool skipSpace();
    bool take(const char *literal);
    // "<" and the name, not followed by more of a name.
    bool takeTag(const char *name);
    bool takeEnd(const char *name);
    bool takeSpaceAndEnd(const char *name);
    StartEnd takeStartEnd();
    bool takeName(QByteArrayView &name);
    bool takePlain(char end, QByteArrayView &text);
    bool takeAttributes(Attributes &attributes);
    bool takeTextElement(const char *name, QByteArrayView &text);
    // One of the text elements of fields; null when none is next.
    template <typename Field, size_t Count>
    const Field *takeFieldElement(const Field (&fields)[Count], QByteArrayView &text);
    bool takeProlog();
    bool takeIndexBody(VRRBookInfo *result);
    bool takeKeys(VRRBookInfo *result);
    bool takeChapters(VRRBookInfo *result);
    QString decoded(QByteArrayView bytes) { return m_strings.decode(bytes); }
    template <typename List> QString valueAt(const List &attributes, int position)
    {
        // Attributes are taken by position, whatever their names.
        return position < attributes.size() ? decoded(attributes[position].value) : QString();
    }

    const char *m_pos;
    // The values kept share one block.
    SharedText m_strings;
};

#endif // PLAINXMLSCANNER_H
