#include "plainxmlscanner.h"

#include "chapterxmlitem.h"
#include "vrrbookinfo.h"

#include <QString>
#include <iterator>

namespace {

constexpr qsizetype MaxReservedChapters = 1024;

const char Declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

// A class of bytes as a table: one look-up a byte where the scanner spends
// most of its time (indentation, names, values).
struct ByteClass
{
    template <typename Test> constexpr explicit ByteClass(Test test) : bytes()
    {
        for (int c = 0; c < 256; ++c)
            bytes[c] = test(uchar(c));
    }
    bool operator()(char c) const { return bytes[uchar(c)]; }
    bool bytes[256];
};

constexpr bool isNameStart(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

constexpr ByteClass isSpace([](uchar c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
});
constexpr ByteClass isNameChar([](uchar c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
});

// A byte that stands for itself: in an attribute value (end '"') nothing
// that would be normalised, in a text (end '<') tabs and line feeds too.
constexpr bool isPlainByte(uchar c, char end)
{
    if (c == '&' || c == '<' || c == '"')
        return false;
    return c >= 0x20 || (end == '<' && (c == '\t' || c == '\n'));
}

// Bytes that stand for themselves and need no closer look in takePlain:
// plain bytes other than '>' (which may end "]]>") and 0xEF (which may start
// U+FFFE or U+FFFF). The terminating zero is not among them.
constexpr ByteClass ordinaryBytes(char end)
{
    return ByteClass(
        [end](uchar c) { return isPlainByte(c, end) && c != '>' && c != 0xEF && c != uchar(end); });
}
constexpr ByteClass OrdinaryInText = ordinaryBytes('<');
constexpr ByteClass OrdinaryInValue = ordinaryBytes('"');

// The text elements whose content is taken as it stands.
struct TextField
{
    const char *name;
    QString VRRBookInfo::*member;
};
const TextField BookFields[] = {{"id", &VRRBookInfo::m_id},
                                {"display_lines", &VRRBookInfo::m_display_lines},
                                {"description", &VRRBookInfo::m_description}};

struct KeyField
{
    const char *name;
    QString VRRBookInfo::BKey::*member;
};
const KeyField KeyFields[] = {{"author", &VRRBookInfo::BKey::m_author},
                              {"publisher", &VRRBookInfo::BKey::m_publisher},
                              {"score", nullptr},
                              {"paper_link", &VRRBookInfo::BKey::m_paper_link}};

void applyRootAttribute(VRRBookInfo &info, QByteArrayView name, const QString &value)
{
    if (name == "ret") {
        info.m_Ret_ActionFlag = value;
    } else if (name == "id") {
        info.m_id = value;
    } else if (name == "title") {
        info.m_title = value;
        info.m_Title_BookName = value;
    } else if (name == "comment_flag") {
        info.m_comment_flag = value;
        info.m_Comment_Flag = value == QLatin1String("true");
    } else if (name == "type") {
        info.m_FileType = value;
    }
}

// Everything a book description may set. Strings and lists are shared, so
// keeping what a description held costs next to nothing, and one declined
// halfway is undone before XmlReader reads it.
QString VRRBookInfo::*const SetStrings[] = {
    &VRRBookInfo::m_Ret_ActionFlag, &VRRBookInfo::m_id,           &VRRBookInfo::m_title,
    &VRRBookInfo::m_Title_BookName, &VRRBookInfo::m_comment_flag, &VRRBookInfo::m_FileType,
    &VRRBookInfo::m_display_lines,  &VRRBookInfo::m_description};
constexpr int SetStringCount = int(std::size(SetStrings));

struct IndexFields
{
    explicit IndexFields(const VRRBookInfo &b)
        : commentFlag(b.m_Comment_Flag), keys(b.m_keys), total(b.m_total), chapters(b.m_caplist)
    {
        for (int i = 0; i < SetStringCount; ++i)
            strings[i] = b.*SetStrings[i];
    }

    void restoreTo(VRRBookInfo &b) const
    {
        for (int i = 0; i < SetStringCount; ++i)
            b.*SetStrings[i] = strings[i];
        b.m_Comment_Flag = commentFlag;
        b.m_keys = keys;
        b.m_total = total;
        b.m_caplist = chapters;
    }

    QString strings[SetStringCount];
    bool commentFlag;
    VRRBookInfo::BKey keys;
    short total;
    QList<VRRBookInfo::ChapterItem> chapters;
};

} // namespace

// The small steps below run for every tag and attribute: inlined, a
// description's scan takes a third fewer instructions.
Q_ALWAYS_INLINE bool PlainXmlScanner::skipSpace()
{
    const char *start = m_pos;
    while (isSpace(*m_pos))
        ++m_pos;
    return m_pos != start;
}

Q_ALWAYS_INLINE bool PlainXmlScanner::take(const char *literal)
{
    // Most tries fail at the first byte; the text's terminator stops a
    // longer literal.
    const char *at = m_pos;
    for (; *literal; ++literal, ++at)
        if (*at != *literal)
            return false;
    m_pos = at;
    return true;
}

Q_ALWAYS_INLINE bool PlainXmlScanner::takeTag(const char *name)
{
    const char *start = m_pos;
    if (take("<") && take(name) && !isNameChar(*m_pos))
        return true;
    m_pos = start;
    return false;
}

Q_ALWAYS_INLINE bool PlainXmlScanner::takeEnd(const char *name)
{
    if (!take("</") || !take(name))
        return false;
    skipSpace();
    return take(">");
}

Q_ALWAYS_INLINE bool PlainXmlScanner::takeName(QByteArrayView &name)
{
    const char *start = m_pos;
    if (!isNameStart(*m_pos))
        return false;
    while (isNameChar(*m_pos))
        ++m_pos;
    name = QByteArrayView(start, m_pos - start);
    // Names starting with "xml" are reserved ("xmlns" declares a namespace
    // and is no attribute at all).
    return name.size() < 3 || (start[0] | 0x20) != 'x' || qstrnicmp(start, "xml", 3) != 0;
}

bool PlainXmlScanner::takePlain(char end, QByteArrayView &text)
{
    const char *start = m_pos;
    const ByteClass &ordinary = end == '<' ? OrdinaryInText : OrdinaryInValue;
    for (; *m_pos != end; ++m_pos) {
        // Most bytes need no closer look.
        while (ordinary(*m_pos))
            ++m_pos;
        if (*m_pos == end)
            break;
        const uchar c = uchar(*m_pos);
        if (!isPlainByte(c, end))
            return false;
        // "]]>" may not stand in a text; U+FFFE and U+FFFF (EF BF BE/BF)
        // are no characters a document may hold.
        if (c == '>' && m_pos - start >= 2 && m_pos[-1] == ']' && m_pos[-2] == ']')
            return false;
        if (c == 0xEF && uchar(m_pos[1]) == 0xBF && (uchar(m_pos[2]) & 0xFE) == 0xBE)
            return false;
    }
    text = QByteArrayView(start, m_pos - start);
    return true;
}

bool PlainXmlScanner::takeAttributes(Attributes &attributes)
{
    for (;;) {
        const bool spaced = skipSpace();
        if (*m_pos == '>' || (m_pos[0] == '/' && m_pos[1] == '>'))
            return true;
        Attribute attribute;
        if (!spaced || !takeName(attribute.name))
            return false;
        skipSpace();
        if (!take("="))
            return false;
        skipSpace();
        if (!take("\"") || !takePlain('"', attribute.value) || !take("\""))
            return false;
        // A repeated attribute is an error, which XmlReader reports.
        for (const Attribute &seen : std::as_const(attributes))
            if (seen.name == attribute.name)
                return false;
        attributes.append(attribute);
    }
}

Q_ALWAYS_INLINE PlainXmlScanner::StartEnd PlainXmlScanner::takeStartEnd()
{
    skipSpace();
    if (take("/>"))
        return StartEnd::Empty;
    return take(">") ? StartEnd::Content : StartEnd::Bad;
}

Q_ALWAYS_INLINE bool PlainXmlScanner::takeSpaceAndEnd(const char *name)
{
    skipSpace();
    return takeEnd(name);
}

bool PlainXmlScanner::takeTextElement(const char *name, QByteArrayView &text)
{
    // Called just after the tag's name or its attributes.
    text = QByteArrayView();
    switch (takeStartEnd()) {
    case StartEnd::Empty:
        return true;
    case StartEnd::Content:
        return takePlain('<', text) && takeEnd(name);
    default:
        return false;
    }
}

template <typename Field, size_t Count>
const Field *PlainXmlScanner::takeFieldElement(const Field (&fields)[Count], QByteArrayView &text)
{
    for (const Field &field : fields)
        if (takeTag(field.name))
            return takeTextElement(field.name, text) ? &field : nullptr;
    return nullptr;
}

bool PlainXmlScanner::takeProlog()
{
    // The declaration, if any, opens the document.
    if (!take(Declaration) && m_pos[0] == '<' && m_pos[1] == '?')
        return false;
    skipSpace();
    return true;
}

bool PlainXmlScanner::scanChapter(ChapterXMLItem &result)
{
    result.Chater.clear();
    result.ImgInfo.clear();
    if (!m_pos || !takeProlog() || !takeTag("chapter"))
        return false;
    const StartEnd start = takeStartEnd();
    if (start != StartEnd::Content)
        return start == StartEnd::Empty;
    // Whatever follows the end of "chapter" is never looked at.
    while (!takeSpaceAndEnd("chapter")) {
        Attributes attributes;
        if (!takeTag("text") || !takeAttributes(attributes) || !take("/>"))
            return false;
        result.Chater.append(
            {valueAt(attributes, 0), valueAt(attributes, 1), valueAt(attributes, 2)});
    }
    return true;
}

bool PlainXmlScanner::scanIndex(VRRBookInfo &result)
{
    if (!m_pos)
        return false;
    const IndexFields before(result);
    if (takeIndexBody(&result))
        return true;
    before.restoreTo(result);
    return false;
}

bool PlainXmlScanner::takeIndexBody(VRRBookInfo *result)
{
    Attributes attributes;
    if (!takeProlog() || !takeTag("vb") || !takeAttributes(attributes))
        return false;
    const StartEnd start = takeStartEnd();
    if (start == StartEnd::Bad)
        return false;
    if (result)
        for (const Attribute &attribute : std::as_const(attributes))
            applyRootAttribute(*result, attribute.name, decoded(attribute.value));
    while (start == StartEnd::Content && !takeSpaceAndEnd("vb")) {
        if (takeTag("keys")) {
            if (!takeKeys(result))
                return false;
            continue;
        }
        if (takeTag("chapters")) {
            if (!takeChapters(result))
                return false;
            continue;
        }
        QByteArrayView text;
        const TextField *field = takeFieldElement(BookFields, text);
        if (!field)
            return false;
        if (result)
            result->*(field->member) = decoded(text);
    }
    // Nothing but space may follow the document.
    skipSpace();
    return *m_pos == '\0';
}

bool PlainXmlScanner::takeKeys(VRRBookInfo *result)
{
    const StartEnd start = takeStartEnd();
    if (start != StartEnd::Content)
        return start == StartEnd::Empty;
    while (!takeSpaceAndEnd("keys")) {
        QByteArrayView text;
        const KeyField *field = takeFieldElement(KeyFields, text);
        if (!field)
            return false;
        if (!result)
            continue;
        if (field->member)
            result->m_keys.*(field->member) = decoded(text);
        else // Not a 16-bit decimal number: 0.
            result->m_keys.m_score = decoded(text).trimmed().toShort();
    }
    return true;
}

bool PlainXmlScanner::takeChapters(VRRBookInfo *result)
{
    Attributes attributes;
    if (!takeAttributes(attributes))
        return false;
    if (result) {
        result->m_caplist.clear();
        // The chapter count is the first attribute, whatever its name.
        if (!attributes.isEmpty())
            result->m_total = decoded(attributes[0].value).trimmed().toShort();
        // Room for the chapters the count announces, within reason: the
        // count is only a claim of the file.
        result->m_caplist.reserve(
            qBound(qsizetype(0), qsizetype(result->m_total), MaxReservedChapters));
    }
    const StartEnd start = takeStartEnd();
    if (start != StartEnd::Content)
        return start == StartEnd::Empty;
    while (!takeSpaceAndEnd("chapters")) {
        Attributes itemAttributes;
        QByteArrayView title;
        if (!takeTag("item") || !takeAttributes(itemAttributes) || !takeTextElement("item", title))
            return false;
        if (!result)
            continue;
        // Built in place: the same as addChapter, without a copy of three
        // strings.
        result->m_caplist.emplaceBack(VRRBookInfo::ChapterItem{
            valueAt(itemAttributes, 0), valueAt(itemAttributes, 1), decoded(title)});
    }
    return true;
}
