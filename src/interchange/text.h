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

// Splits the file into content lines: CRLF, LF or CR end a line; a line that
// begins with a blank or tab continues the one before. A leading byte-order
// mark is dropped; blank lines are kept (as empty text) so that callers can
// tell where they are.
[[nodiscard]] QList<ContentLine> unfold(const QByteArray &data);
// The number of physical lines, for "the file ends on line N".
[[nodiscard]] int lastLineNumber(const QByteArray &data);

// "Line 12: <message>".
[[nodiscard]] Refusal refuse(int line, const QString &message);

// The text cut to at most `limit` UTF-16 units, at a boundary between the
// characters the user sees, so that no emoji or accent is split.
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

// A UID for a record that came without one: the same bytes give the same UID,
// so that reading a file twice gives the same records.
[[nodiscard]] QString derivedUid(const QByteArray &content);

} // namespace brevane::interchange::detail
