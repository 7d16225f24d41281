#pragma once

#include "interchange/interchange.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QSet>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcInterchange)

// What the calendar and the vCard code share: lines as the file has them, the
// user's texts, and cutting text to the program's limits.
namespace brevane::interchange::detail {

inline QString tr(const char *text)
{
    return QCoreApplication::translate("brevane::interchange", text);
}

// One content line after unfolding, with the number of the physical line it
// starts on.
struct ContentLine {
    QByteArray text;
    int line = 0;
};

// Hands each content line of the file to `visit(text, line)`, which returns
// false to stop: CRLF, LF or CR end a line; a line that begins with a blank or
// tab continues the one before. A leading byte-order mark is dropped; blank
// lines are handed over too (as empty text). The text is only valid during the
// call: large calendars have millions of lines, and none is copied.
template <typename Visit>
void forEachContentLine(const QByteArray &data, Visit visit)
{
    QByteArray current;
    int currentLine = 0;
    bool pending = false;
    qsizetype pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int number = 0;
    while (pos < data.size()) {
        qsizetype end = pos;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        ++number;
        const bool continues = end > pos && (data[pos] == ' ' || data[pos] == '\t') && pending && !current.isEmpty();
        if (continues) {
            current.append(data.constData() + pos + 1, end - pos - 1);
        } else {
            if (pending && !visit(std::as_const(current), currentLine))
                return;
            current.resize(0);
            current.append(data.constData() + pos, end - pos);
            currentLine = number;
            pending = true;
        }
        if (end < data.size() && data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n')
            ++end;
        pos = end + 1;
    }
    if (pending)
        visit(std::as_const(current), currentLine);
}

// The same, gathered into a list.
[[nodiscard]] QList<ContentLine> unfold(const QByteArray &data);
// The number of physical lines, for "the file ends on line N".
[[nodiscard]] int lastLineNumber(const QByteArray &data);

// "Line 12: <message>".
[[nodiscard]] Refusal refuse(int line, const QString &message);

// The text cut to at most `limit` characters the user sees (grapheme
// clusters, as the program's typed limits count them), so that no emoji or
// accent is split.
[[nodiscard]] QString cutToLimit(const QString &text, int limit);

// Gives a UID that was already handed out a suffix ("#2", "#3"), so that
// every record of one file has its own.
class UidSet
{
public:
    void makeUnique(QString &uid);

private:
    QSet<QString> m_seen;
};

// A UID for a record that came without one: the same content gives the same
// UID, whenever the file was written, so that reading a file twice gives the
// same records.
[[nodiscard]] QString derivedUid(const QByteArray &content);

} // namespace brevane::interchange::detail
