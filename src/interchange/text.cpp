#include "interchange/text.h"

#include <QCryptographicHash>
#include <QTextBoundaryFinder>

Q_LOGGING_CATEGORY(lcInterchange, "brevane.interchange")

namespace brevane::interchange {

namespace detail {

QList<ContentLine> unfold(const QByteArray &data)
{
    QList<ContentLine> lines;
    qsizetype pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int number = 0;
    while (pos < data.size()) {
        qsizetype end = pos;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        const QByteArray physical = data.mid(pos, end - pos);
        ++number;
        if (end < data.size() && data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n')
            ++end;
        pos = end + 1;
        if (!lines.isEmpty() && !physical.isEmpty() && (physical[0] == ' ' || physical[0] == '\t')
            && !lines.last().text.isEmpty())
            lines.last().text += physical.mid(1);
        else
            lines.append({physical, number});
    }
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
    if (text.size() <= limit)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(limit);
    if (!finder.isAtBoundary())
        finder.toPreviousBoundary();
    return text.left(qMax<qsizetype>(finder.position(), 0));
}

QString derivedUid(const QByteArray &content)
{
    return QStringLiteral("brevane-") + QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex());
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
    for (const detail::ContentLine &line : detail::unfold(data.left(64 * 1024))) {
        const QByteArray text = line.text.trimmed().toUpper();
        if (text.isEmpty())
            continue;
        if (text == "BEGIN:VCALENDAR")
            return FileKind::Calendar;
        if (text == "BEGIN:VCARD")
            return FileKind::Contacts;
        return FileKind::Unknown;
    }
    return FileKind::Unknown;
}

FileReadResult readFile(const QByteArray &data, const QDate &today)
{
    FileReadResult result;
    result.kind = detectKind(data);
    switch (result.kind) {
    case FileKind::Calendar:
        result.calendar = readCalendar(data, today);
        result.refusal = result.calendar.refusal;
        break;
    case FileKind::Contacts:
        result.contacts = readContacts(data);
        result.refusal = result.contacts.refusal;
        break;
    case FileKind::Unknown: {
        int line = 1;
        for (const detail::ContentLine &content : detail::unfold(data.left(64 * 1024))) {
            if (!content.text.trimmed().isEmpty()) {
                line = content.line;
                break;
            }
        }
        result.refusal = detail::refuse(line, detail::tr("this is neither an iCalendar nor a vCard file."));
        break;
    }
    }
    return result;
}

} // namespace brevane::interchange
