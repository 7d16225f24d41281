#include "interchange/text.h"

#include <QCryptographicHash>
#include <QTextBoundaryFinder>

Q_LOGGING_CATEGORY(lcInterchange, "brevane.interchange")

namespace brevane::interchange {

namespace detail {

QList<ContentLine> unfold(const QByteArray &data)
{
    QList<ContentLine> lines;
    forEachContentLine(data, [&lines](const QByteArray &text, int line) {
        lines.append({text, line});
        return true;
    });
    return lines;
}

int lastLineNumber(const QByteArray &data)
{
    int count = int(data.count('\n'));
    if (count == 0)
        count = int(data.count('\r'));
    if (!data.isEmpty() && !data.endsWith('\n') && !data.endsWith('\r'))
        ++count;
    return qMax(count, 1);
}

Refusal refuse(int line, const QString &message)
{
    return {line, tr("Line %1: %2").arg(line).arg(message)};
}

QString cutToLimit(const QString &text, int limit)
{
    // Fewer UTF-16 units than the limit can only be fewer characters too.
    if (text.size() <= limit)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    qsizetype end = 0;
    while (count < limit) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
        ++count;
    }
    return end >= text.size() ? text : text.left(end);
}

QString derivedUid(const QByteArray &content)
{
    // Stamps of when a file was written change each time the other program
    // exports; they must not make the same record look new.
    static const QList<QByteArray> volatileNames{"DTSTAMP", "LAST-MODIFIED", "REV", "SEQUENCE"};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    forEachContentLine(content, [&hash](const QByteArray &line, int) {
        const QByteArray name = line.left(line.indexOf(':')).split(';').first().trimmed().toUpper();
        if (!volatileNames.contains(name)) {
            hash.addData(line);
            hash.addData("\n");
        }
        return true;
    });
    return QStringLiteral("brevane-") + QString::fromLatin1(hash.result().toHex());
}

void UidSet::makeUnique(QString &uid)
{
    if (!m_seen.contains(uid)) {
        m_seen.insert(uid);
        return;
    }
    for (int n = 2;; ++n) {
        const QString candidate = uid + QStringLiteral("#%1").arg(n);
        if (!m_seen.contains(candidate)) {
            uid = candidate;
            m_seen.insert(uid);
            return;
        }
    }
}

} // namespace detail

FileKind detectKind(const QByteArray &data)
{
    FileKind kind = FileKind::Unknown;
    detail::forEachContentLine(data.left(64 * 1024), [&kind](const QByteArray &line, int) {
        const QByteArray text = line.trimmed().toUpper();
        if (text == "BEGIN:VCALENDAR")
            kind = FileKind::Calendar;
        else if (text == "BEGIN:VCARD")
            kind = FileKind::Contacts;
        return text.isEmpty();
    });
    return kind;
}

FileReadResult readFile(const QByteArray &data, const QDate &today, const ReadCancel &cancelled)
{
    FileReadResult result;
    result.kind = detectKind(data);
    switch (result.kind) {
    case FileKind::Calendar:
        result.calendar = readCalendar(data, today, cancelled);
        result.refusal = result.calendar.refusal;
        break;
    case FileKind::Contacts:
        result.contacts = readContacts(data);
        result.refusal = result.contacts.refusal;
        break;
    case FileKind::Unknown: {
        int line = 1;
        detail::forEachContentLine(data.left(64 * 1024), [&line](const QByteArray &text, int number) {
            line = number;
            return text.trimmed().isEmpty();
        });
        result.refusal = detail::refuse(line, detail::tr("this is neither an iCalendar nor a vCard file."));
        break;
    }
    }
    return result;
}

} // namespace brevane::interchange
