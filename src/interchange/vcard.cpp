#include "interchange/interchange.h"
#include "interchange/text.h"

#include <QSet>
#include <QStringDecoder>

#include <functional>

// vCard written here rather than taken from a library: no maintained one fits,
// and the format is small. Reading is lenient about what older address books
// and phones write (2.1 and 3.0) but strict about the structure of the file;
// writing follows 4.0 to the letter.
namespace brevane::interchange {

using detail::ContentLine;
using detail::tr;

namespace {

// --- Reading ----------------------------------------------------------------

struct Property {
    QByteArray name; // upper case, group removed
    QSet<QByteArray> types; // lower case: TYPE values and 2.1's bare parameters
    QByteArray encoding; // upper case
    QByteArray charset;
    QByteArray valueType; // VALUE=..., lower case
    QByteArray value; // raw, still escaped
    int line = 0;
};

// Splits "NAME;P1=a;P2="x;y":value" into its parts. False when the line has no
// colon outside quotes.
bool parseLine(const QByteArray &text, int line, Property &property)
{
    qsizetype pos = 0;
    QList<QByteArray> parts; // name, then parameters
    QByteArray current;
    bool quoted = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == ';' || c == ':')) {
            parts.append(current);
            current.clear();
            if (c == ':')
                break;
            continue;
        }
        current += c;
    }
    if (pos >= text.size())
        return false;
    property.line = line;
    property.value = text.mid(pos + 1);
    QByteArray name = parts.takeFirst().trimmed().toUpper();
    if (const qsizetype dot = name.lastIndexOf('.'); dot >= 0)
        name = name.mid(dot + 1);
    property.name = name;
    for (const QByteArray &parameter : std::as_const(parts)) {
        const qsizetype equals = parameter.indexOf('=');
        const QByteArray key = equals < 0 ? QByteArray() : parameter.left(equals).trimmed().toUpper();
        const QByteArray value = equals < 0 ? parameter.trimmed() : parameter.mid(equals + 1).trimmed();
        if (key == "ENCODING" || (key.isEmpty() && (value.toUpper() == "QUOTED-PRINTABLE" || value.toUpper() == "BASE64")))
            property.encoding = value.toUpper();
        else if (key == "CHARSET")
            property.charset = value;
        else if (key == "VALUE")
            property.valueType = value.toLower();
        else if (key == "TYPE" || key.isEmpty())
            for (const QByteArray &type : value.split(','))
                property.types.insert(type.trimmed().toLower());
    }
    return true;
}

QByteArray decodeQuotedPrintable(const QByteArray &in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '=' && i + 2 < in.size()) {
            bool ok = false;
            const int byte = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(byte);
                i += 2;
                continue;
            }
        }
        if (in[i] == '=' && i == in.size() - 1)
            break; // a soft line break left at the very end
        out += in[i];
    }
    return out;
}

QString decodeText(const Property &property)
{
    QByteArray bytes = property.value;
    if (property.encoding == "QUOTED-PRINTABLE")
        bytes = decodeQuotedPrintable(bytes);
    QString text;
    bool decoded = false;
    if (!property.charset.isEmpty() && property.charset.toUpper() != "UTF-8") {
        QStringDecoder decoder(property.charset.constData());
        if (decoder.isValid()) {
            text = decoder.decode(bytes);
            decoded = !decoder.hasError();
        }
    }
    if (!decoded) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = QString::fromLatin1(bytes); // old files in a Western code page
    }
    // Quoted-printable carries real line breaks.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString unescape(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != u'\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        const QChar next = raw[++i];
        if (next == u'n' || next == u'N')
            out += u'\n';
        else if (next == u'\\' || next == u',' || next == u';' || next == u':')
            out += next;
        else
            out += u'\\', out += next; // not an escape: keep it as written
    }
    return out;
}

// The components of a structured value (N, ADR, ORG), split at semicolons
// that are not escaped.
QStringList components(const QString &raw)
{
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\' && i + 1 < raw.size()) {
            current += raw[i];
            current += raw[++i];
        } else if (raw[i] == u';') {
            parts << unescape(current);
            current.clear();
        } else {
            current += raw[i];
        }
    }
    parts << unescape(current);
    return parts;
}

QString componentAt(const QStringList &parts, int index)
{
    return index < parts.size() ? parts[index] : QString();
}

// Fills one card from its properties.
class CardReader
{
public:
    CardReader(ContactCard &card, QList<Problem> &problems)
        : m_card(card), m_problems(problems), m_firstProblem(problems.size())
    {
    }
    Q_DISABLE_COPY_MOVE(CardReader)

    void read(const Property &p)
    {
        const QString text = decodeText(p);
        if (p.name == "N") {
            const QStringList n = components(text);
            m_card.lastName = componentAt(n, 0);
            m_card.firstName = componentAt(n, 1);
            m_card.middleName = componentAt(n, 2);
            m_hasN = true;
            QStringList titles;
            for (int i : {3, 4})
                if (!componentAt(n, i).isEmpty())
                    titles << componentAt(n, i);
            if (!titles.isEmpty())
                skipped(p, tr("The title “%1” of a name has no field and was left out.").arg(titles.join(u' ')));
        } else if (p.name == "FN") {
            m_formattedName = unescape(text);
        } else if (p.name == "NICKNAME") {
            fill(p, m_card.nickname, unescape(text), tr("nickname"));
        } else if (p.name == "EMAIL") {
            readEmail(p, unescape(text));
        } else if (p.name == "TEL") {
            readPhone(p, unescape(text));
        } else if (p.name == "ADR") {
            readAddress(p, components(text));
        } else if (p.name == "URL") {
            fillFirstFree(p, unescape(text), slotsFor(p, m_card.homeWebPage, m_card.businessWebPage), tr("web page"));
        } else if (p.name == "ORG") {
            QStringList org = components(text);
            org.removeAll(QString());
            fill(p, m_card.company, org.join(QStringLiteral(", ")), tr("company"));
        } else if (p.name == "TITLE") {
            fill(p, m_card.jobTitle, unescape(text), tr("job title"));
        } else if (p.name == "BDAY") {
            fill(p, m_card.birthday, dateText(p, unescape(text)), tr("birthday"));
        } else if (p.name == "ANNIVERSARY" || p.name == "X-ANNIVERSARY") {
            fill(p, m_card.anniversary, dateText(p, unescape(text)), tr("anniversary"));
        } else if (p.name == "NOTE") {
            append(m_card.notes, unescape(text), u'\n');
        } else if (p.name == "CATEGORIES") {
            append(m_card.category, unescape(text), u',');
        } else if (p.name == "UID") {
            m_card.uid = unescape(text);
        }
    }

    // After the last property: a contact is known by its name, and the
    // contact book throws away contacts without first and last name, so a
    // card that names its person only in FN, or only by company, is filed
    // under that.
    bool finish(const QByteArray &rawCard)
    {
        if (m_card.uid.isEmpty())
            m_card.uid = detail::derivedUid(rawCard);
        for (qsizetype i = m_firstProblem; i < m_problems.size(); ++i)
            m_problems[i].uid = m_card.uid;
        if (!m_card.firstName.isEmpty() || !m_card.lastName.isEmpty())
            return true;
        if (!m_hasN && !m_formattedName.trimmed().isEmpty()) {
            const QString name = m_formattedName.trimmed();
            const qsizetype blank = name.lastIndexOf(u' ');
            m_card.firstName = blank < 0 ? QString() : name.left(blank).trimmed();
            m_card.lastName = name.mid(blank + 1);
            return true;
        }
        const QString fallback = !m_formattedName.trimmed().isEmpty() ? m_formattedName.trimmed()
                                 : !m_card.company.isEmpty()          ? m_card.company
                                                                      : m_card.nickname;
        if (fallback.isEmpty()) {
            m_problems.append({Problem::Kind::Skipped, m_card.line, m_card.uid,
                               tr("A card without any name was not imported.")});
            return false;
        }
        m_card.lastName = fallback;
        m_problems.append({Problem::Kind::Changed, m_card.line, m_card.uid,
                           tr("A card without first and last name was filed under “%1”.").arg(fallback)});
        return true;
    }

private:
    void skipped(const Property &p, const QString &message)
    {
        m_problems.append({Problem::Kind::Skipped, p.line, m_card.uid, message});
    }

    // Several notes or category lists all fit in the one field.
    static void append(QString &field, const QString &value, QChar separator)
    {
        if (!field.isEmpty() && !value.isEmpty())
            field += separator;
        field += value;
    }

    void fill(const Property &p, QString &field, const QString &value, const QString &what)
    {
        fillFirstFree(p, value, {&field}, what);
    }

    void fillFirstFree(const Property &p, const QString &value, const QList<QString *> &fields, const QString &what)
    {
        if (value.isEmpty())
            return;
        for (QString *field : fields) {
            if (field->isEmpty()) {
                *field = value;
                return;
            }
        }
        skipped(p, tr("The contact has room for one %1; “%2” was left out.").arg(what, value));
    }

    void readEmail(const Property &p, const QString &value)
    {
        // Home comes first: it is the contact's personal address.
        if (p.types.contains("home") && !m_emailIsHome && !m_card.personalEmail.isEmpty()) {
            skipped(p, tr("The contact has room for one %1; “%2” was left out.").arg(tr("e-mail address"), m_card.personalEmail));
            m_card.personalEmail.clear();
        }
        if (m_card.personalEmail.isEmpty())
            m_emailIsHome = p.types.contains("home");
        fill(p, m_card.personalEmail, value, tr("e-mail address"));
    }

    // A value typed home or work goes there; an untyped one to the first
    // free of the two.
    static QList<QString *> slotsFor(const Property &p, QString &home, QString &work)
    {
        if (p.types.contains("work"))
            return {&work};
        if (p.types.contains("home"))
            return {&home};
        return {&home, &work};
    }

    void readPhone(const Property &p, QString value)
    {
        // 4.0 may write a number as a URI.
        if (p.valueType == "uri" && value.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
            value = value.mid(4);
        if (p.types.contains("fax"))
            fillFirstFree(p, value, slotsFor(p, m_card.homeFax, m_card.businessFax), tr("fax number"));
        else if (p.types.contains("pager"))
            fillFirstFree(p, value, {&m_card.businessPager}, tr("pager number"));
        else if (p.types.contains("cell"))
            fillFirstFree(p, value, slotsFor(p, m_card.homeCell, m_card.businessCellPhone), tr("cell phone number"));
        else
            fillFirstFree(p, value, slotsFor(p, m_card.homePhone, m_card.businessPhone), tr("phone number"));
    }

    void readAddress(const Property &p, const QStringList &adr)
    {
        // post office box; extended address; street; locality; region; code; country
        QStringList street;
        for (int i : {0, 1, 2})
            if (!componentAt(adr, i).isEmpty())
                street << componentAt(adr, i);
        const QStringList fields{street.join(u'\n'), componentAt(adr, 3), componentAt(adr, 4), componentAt(adr, 5),
                                 componentAt(adr, 6)};
        if (fields.join(QString()).isEmpty())
            return;
        QList<QString *> home{&m_card.homeAddress, &m_card.homeCity, &m_card.homeState, &m_card.homeZipCode,
                              &m_card.homeCountry};
        QList<QString *> business{&m_card.businessAddress, &m_card.businessCity, &m_card.businessState,
                                  &m_card.businessZipCode, &m_card.businessCountry};
        auto isFree = [](const QList<QString *> &target) {
            return std::all_of(target.begin(), target.end(), [](const QString *f) { return f->isEmpty(); });
        };
        QList<QList<QString *>> candidates;
        if (p.types.contains("work"))
            candidates = {business};
        else if (p.types.contains("home"))
            candidates = {home};
        else
            candidates = {home, business};
        for (const QList<QString *> &target : std::as_const(candidates)) {
            if (isFree(target)) {
                for (int i = 0; i < 5; ++i)
                    *target[i] = fields[i];
                return;
            }
        }
        QStringList shown = fields;
        shown.removeAll(QString());
        skipped(p, tr("The contact has room for one %1; “%2” was left out.").arg(tr("address"), shown.join(QStringLiteral(", "))));
    }

    QString dateText(const Property &p, const QString &value) const
    {
        if (p.valueType == "text")
            return value;
        const QString picker = pickerTextOf(value);
        return picker.isEmpty() ? value : picker;
    }

    ContactCard &m_card;
    QList<Problem> &m_problems;
    qsizetype m_firstProblem;
    QString m_formattedName;
    bool m_hasN = false;
    bool m_emailIsHome = false;
};

// 2.1's quoted-printable values continue on the next line after a "=" at the
// end, and its base64 values (photos) on the lines up to the next empty one,
// both without the blank that folding uses.
QList<ContentLine> joinSoftBreaks(const QList<ContentLine> &lines)
{
    QList<ContentLine> joined;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ContentLine line = lines[i];
        const QByteArray head = line.text.left(line.text.indexOf(':')).toUpper();
        if (head.contains("QUOTED-PRINTABLE")) {
            while (line.text.endsWith('=') && i + 1 < lines.size()) {
                line.text.chop(1);
                line.text += lines[++i].text;
            }
        } else if (head.contains("BASE64")) {
            while (i + 1 < lines.size() && !lines[i + 1].text.trimmed().isEmpty() && !lines[i + 1].text.contains(':'))
                line.text += lines[++i].text.trimmed();
        }
        joined.append(line);
    }
    return joined;
}

// --- Writing ----------------------------------------------------------------

// Text values escape backslash, comma and line breaks; the components of a
// structured value escape semicolons as well.
QString escaped(const QString &text, bool component = false)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u',' || (component && c == u';'))
            out += u'\\', out += c;
        else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue; // the \n that follows is the line break
        else if (c == u'\n' || c == u'\r')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

QString structured(const QStringList &parts)
{
    QStringList out;
    for (const QString &part : parts)
        out << escaped(part, true);
    return out.join(u';');
}

// A content line folded into lines of at most 75 octets, never inside a UTF-8
// sequence; each continuation starts with one blank.
void appendFolded(QByteArray &out, const QByteArray &line)
{
    constexpr qsizetype kLimit = 75;
    qsizetype pos = 0;
    bool first = true;
    while (pos < line.size()) {
        const qsizetype room = first ? kLimit : kLimit - 1;
        qsizetype end = qMin(pos + room, line.size());
        // Step back over continuation bytes (10xxxxxx) so that the sequence
        // stays whole on the next line.
        while (end < line.size() && end > pos && (uchar(line[end]) & 0xC0) == 0x80)
            --end;
        if (!first)
            out += ' ';
        out += line.mid(pos, end - pos);
        out += "\r\n";
        pos = end;
        first = false;
    }
    if (line.isEmpty())
        out += "\r\n";
}

} // namespace

ContactsReadResult readContacts(const QByteArray &data)
{
    ContactsReadResult result;
    const QList<ContentLine> lines = joinSoftBreaks(detail::unfold(data));
    std::optional<ContactCard> card;
    std::unique_ptr<CardReader> reader;
    QByteArray rawCard;
    int cards = 0;
    auto refuse = [&](int line, const QString &message) {
        result.contacts.clear();
        result.problems.clear();
        result.refusal = detail::refuse(line, message);
        return result;
    };
    for (const ContentLine &line : lines) {
        if (line.text.trimmed().isEmpty())
            continue;
        Property property;
        if (!parseLine(line.text, line.line, property))
            return refuse(line.line, tr("this is not a vCard line (it has no colon)."));
        const QByteArray value = property.value.trimmed().toUpper();
        if (property.name == "BEGIN") {
            if (value != "VCARD")
                return refuse(line.line, tr("a “%1” has no place in a vCard file.").arg(QString::fromUtf8(property.value)));
            if (card)
                return refuse(line.line, tr("a card begins inside the card that begins on line %1.").arg(card->line));
            card.emplace();
            card->line = line.line;
            reader = std::make_unique<CardReader>(*card, result.problems);
            rawCard.clear();
            continue;
        }
        if (!card)
            return refuse(line.line, tr("this line stands outside any card."));
        rawCard += line.text + '\n';
        if (property.name == "END") {
            if (value != "VCARD")
                return refuse(line.line, tr("the card that begins on line %1 ends with “%2”.")
                                             .arg(card->line)
                                             .arg(QString::fromUtf8(property.value)));
            ++cards;
            if (reader->finish(rawCard))
                result.contacts.append(*card);
            card.reset();
            reader.reset();
            continue;
        }
        if (property.name == "VERSION") {
            if (value != "2.1" && value != "3.0" && value != "4.0")
                return refuse(line.line, tr("vCard version %1 cannot be read.").arg(QString::fromUtf8(property.value)));
            continue;
        }
        reader->read(property);
    }
    if (card)
        return refuse(detail::lastLineNumber(data),
                      tr("the file ends inside the card that begins on line %1.").arg(card->line));
    if (cards == 0)
        return refuse(1, tr("this is not a vCard file."));
    detail::UidSet uids;
    for (ContactCard &contact : result.contacts)
        uids.makeUnique(contact.uid);
    qCDebug(lcInterchange) << "read" << result.contacts.size() << "of" << cards << "cards," << result.problems.size()
                           << "problems";
    return result;
}

QByteArray writeContacts(const QList<ContactCard> &contacts, const WriteProgress &progress)
{
    QByteArray out;
    auto put = [&out](const QString &nameAndParameters, const QString &value) {
        appendFolded(out, (nameAndParameters + u':' + value).toUtf8());
    };
    auto text = [&put](const QString &nameAndParameters, const QString &value) {
        if (!value.isEmpty())
            put(nameAndParameters, escaped(value));
    };
    auto date = [&put](const QString &name, const QString &value) {
        if (value.isEmpty())
            return;
        const QString vcard = vcardDateOf(value);
        if (vcard.isEmpty())
            put(name + QStringLiteral(";VALUE=text"), escaped(value));
        else
            put(name, vcard);
    };
    auto address = [&put](const QString &type, const QStringList &fields) {
        if (!fields.join(QString()).isEmpty())
            put(QStringLiteral("ADR;TYPE=") + type, structured(QStringList{QString(), QString()} + fields));
    };
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        if (progress && !progress(i, contacts.size()))
            break;
        const ContactCard &c = contacts.at(i);
        put(QStringLiteral("BEGIN"), QStringLiteral("VCARD"));
        put(QStringLiteral("VERSION"), QStringLiteral("4.0"));
        text(QStringLiteral("UID"), c.uid);
        QStringList shownName{c.firstName, c.middleName, c.lastName};
        shownName.removeAll(QString());
        put(QStringLiteral("FN"), escaped(shownName.isEmpty() ? c.company : shownName.join(u' ')));
        put(QStringLiteral("N"), structured({c.lastName, c.firstName, c.middleName, QString(), QString()}));
        text(QStringLiteral("NICKNAME"), c.nickname);
        text(QStringLiteral("EMAIL;TYPE=home"), c.personalEmail);
        address(QStringLiteral("home"), {c.homeAddress, c.homeCity, c.homeState, c.homeZipCode, c.homeCountry});
        address(QStringLiteral("work"), {c.businessAddress, c.businessCity, c.businessState, c.businessZipCode,
                                         c.businessCountry});
        text(QStringLiteral("TEL;TYPE=\"home,voice\""), c.homePhone);
        text(QStringLiteral("TEL;TYPE=\"home,fax\""), c.homeFax);
        text(QStringLiteral("TEL;TYPE=\"home,cell\""), c.homeCell);
        text(QStringLiteral("TEL;TYPE=\"work,voice\""), c.businessPhone);
        text(QStringLiteral("TEL;TYPE=\"work,fax\""), c.businessFax);
        text(QStringLiteral("TEL;TYPE=\"work,pager\""), c.businessPager);
        text(QStringLiteral("TEL;TYPE=\"work,cell\""), c.businessCellPhone);
        text(QStringLiteral("URL;TYPE=home"), c.homeWebPage);
        text(QStringLiteral("URL;TYPE=work"), c.businessWebPage);
        if (!c.company.isEmpty())
            put(QStringLiteral("ORG"), structured({c.company}));
        text(QStringLiteral("TITLE"), c.jobTitle);
        date(QStringLiteral("BDAY"), c.birthday);
        date(QStringLiteral("ANNIVERSARY"), c.anniversary);
        text(QStringLiteral("NOTE"), c.notes);
        text(QStringLiteral("CATEGORIES"), c.category);
        put(QStringLiteral("END"), QStringLiteral("VCARD"));
    }
    return out;
}

} // namespace brevane::interchange
