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

} // namespace brevane::interchange
