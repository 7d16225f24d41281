#include "core/organizer.h"
#include "core/reminders.h"
#include "interchange/interchange.h"
#include "interchange/text.h"

#include <libical/ical.h>

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <map>
#include <memory>
#include <utility>

// iCalendar through libical. libical parses leniently and says nothing about
// where a file is broken, so the structure is checked here first, line by
// line, and only a well-formed file is handed over.
namespace brevane::interchange {

using detail::tr;

namespace {

constexpr int kDaySeconds = 24 * 60 * 60;
constexpr int kMaxReminderDays = 7;
// An iterator stops after this many steps even when the rule never reaches the
// window (a secondly rule from long ago), so that no file can stall the program.
constexpr int kMaxRuleSteps = 500000;

const QString kReminderProperty = QStringLiteral("X-BREVANE-REMINDER");
const QString kReminderDueProperty = QStringLiteral("X-BREVANE-REMINDER-DUE");
const QString kAlarmProperty = QStringLiteral("X-BREVANE-ALARM");
const QString kRepeatingProperty = QStringLiteral("X-BREVANE-REPEATING");
const QString kPriorityProperty = QStringLiteral("X-BREVANE-PRIORITY");
// A category the lists do not offer (hand-made data), kept exactly; other
// programs read the CATEGORIES beside it.
const QString kCategoryProperty = QStringLiteral("X-BREVANE-CATEGORY");
// What the agenda editor stores in the alarm field it does not show.
const QString kDefaultAlarm = QStringLiteral("No");

struct ComponentDeleter {
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

// libical drops the blanks at the end of every line, and with them the last
// blanks of a text. They are handed over as characters of a private-use plane
// that no text uses, and turned back here.
const QByteArray kKeptSpace = QByteArrayLiteral("\xF4\x8F\xBC\xA0"); // U+10FF20
const QByteArray kKeptTab = QByteArrayLiteral("\xF4\x8F\xBC\x89"); // U+10FF09
// CATEGORIES is a list split at commas, and libical neither writes nor reads
// a comma that belongs to one category ("\,"): such a comma passes through
// libical as this character instead.
const QByteArray kKeptComma = QByteArrayLiteral("\xF4\x8F\xBC\xAC"); // U+10FF2C
const QString kKeptCommaText = QString::fromUtf8(kKeptComma);
// The properties whose texts the organizer keeps; other values are not texts.
bool isTextProperty(QByteArrayView name)
{
    for (const char *text : {"SUMMARY", "DESCRIPTION", "CATEGORIES", "UID"})
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return true;
    return name.size() > 10 && name.first(10).compare("X-BREVANE-", Qt::CaseInsensitive) == 0;
}

// The escaped commas of a CATEGORIES line's value, kept from libical.
QByteArray keepEscapedCommas(const QByteArray &line, qsizetype valueStart)
{
    QByteArray kept = line.left(valueStart);
    kept.reserve(line.size() + 8);
    for (qsizetype i = valueStart; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            if (line[i + 1] == ',')
                kept += kKeptComma;
            else
                kept += line.mid(i, 2);
            ++i;
        } else {
            kept += line[i];
        }
    }
    return kept;
}

QByteArray keepTrailingBlanks(QByteArray line)
{
    qsizetype end = line.size();
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t'))
        --end;
    QByteArray tail;
    for (qsizetype i = end; i < line.size(); ++i)
        tail += line[i] == ' ' ? kKeptSpace : kKeptTab;
    line.truncate(end);
    return line + tail;
}

QString fromUtf8(const char *text)
{
    if (!text)
        return {};
    QByteArray bytes(text);
    if (bytes.contains(kKeptSpace.left(2)))
        bytes.replace(kKeptSpace, " ").replace(kKeptTab, "\t");
    return QString::fromUtf8(bytes);
}

QString dateText(const QDate &date)
{
    return reminders::dateText(date.day(), date.month(), date.year());
}

// The wall-clock time a value names here. Floating times are taken as they
// stand; times in UTC or in a named zone become the local time of this
// computer; a date is its midnight. The result is a plain clock reading
// (kept as UTC so that no daylight-saving rule of this computer shifts it
// again, and so that no time-zone look-up is paid for each of many events).
QDateTime localOf(const icaltimetype &t)
{
    if (t.zone && !t.is_date) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(qint64(icaltime_as_timet_with_zone(t, t.zone))).toLocalTime();
        return QDateTime(local.date(), local.time(), Qt::UTC);
    }
    const QDate date(t.year, t.month, t.day);
    return QDateTime(date, t.is_date ? QTime(0, 0) : QTime(t.hour, t.minute, t.second), Qt::UTC);
}

// Names one occurrence of a recurring event the same way on every computer:
// floating times and dates by their clock time, others by their moment in UTC,
// so that a moved occurrence matches whichever zone its file writes it in.
QString occurrenceKey(const icaltimetype &t)
{
    if (t.is_date || !t.zone)
        return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second), Qt::UTC)
            .toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    return QDateTime::fromSecsSinceEpoch(qint64(icaltime_as_timet_with_zone(t, t.zone)), Qt::UTC)
        .toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

QString xProperty(icalcomponent *component, const QString &name)
{
    for (icalproperty *p = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        if (QString::fromUtf8(icalproperty_get_x_name(p)).compare(name, Qt::CaseInsensitive) == 0)
            return fromUtf8(icalproperty_get_x(p));
    }
    return {};
}

bool hasXProperty(icalcomponent *component, const QString &name)
{
    for (icalproperty *p = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        if (QString::fromUtf8(icalproperty_get_x_name(p)).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringList categoriesOf(icalcomponent *component)
{
    QStringList values;
    for (icalproperty *p = icalcomponent_get_first_property(component, ICAL_CATEGORIES_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_CATEGORIES_PROPERTY)) {
        for (QString value : fromUtf8(icalproperty_get_categories(p)).split(u',')) {
            value.replace(kKeptCommaText, QStringLiteral(","));
            if (!value.trimmed().isEmpty())
                values << value.trimmed();
        }
    }
    return values;
}

bool hasPart(const short *values)
{
    return values[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

// libical finds a rule's next date by stepping through time one unit of the
// rule's frequency at a time, with no limit short of centuries: a rule of
// seconds, minutes or hours that keeps only some days (or, for seconds and
// minutes, some hours), or none at all, keeps it busy for hours in a single
// step. Only the parts that leave short gaps between dates are let through.
bool stepsWithoutLimit(const icalrecurrencetype &rule)
{
    const bool dayParts = hasPart(rule.by_month) || hasPart(rule.by_month_day) || hasPart(rule.by_year_day)
                          || hasPart(rule.by_week_no) || hasPart(rule.by_set_pos);
    bool numberedDays = false;
    for (int i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        numberedDays = numberedDays || icalrecurrencetype_day_position(rule.by_day[i]) != 0;
    switch (rule.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        return dayParts || hasPart(rule.by_day) || hasPart(rule.by_hour) || hasPart(rule.by_minute);
    case ICAL_MINUTELY_RECURRENCE:
        return dayParts || hasPart(rule.by_day) || hasPart(rule.by_hour);
    case ICAL_HOURLY_RECURRENCE:
        return dayParts || numberedDays;
    default:
        return false;
    }
}

// --- Structure --------------------------------------------------------------

struct CalendarBlock {
    QByteArray text; // unfolded, for libical
    int line = 0;
    QList<int> childLines; // where each component directly inside begins
};

bool isName(QByteArrayView name)
{
    if (name.isEmpty())
        return false;
    for (const char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    return true;
}

std::optional<Refusal> splitCalendars(const QByteArray &data, QList<CalendarBlock> &blocks)
{
    struct Open {
        QByteArray name;
        int line;
    };
    QList<Open> open;
    std::optional<Refusal> refusal;
    detail::forEachContentLine(data, [&](const QByteArray &text, int line) {
        if (text.trimmed().isEmpty())
            return true;
        const qsizetype colon = text.indexOf(':');
        const qsizetype semicolon = text.indexOf(';');
        const qsizetype nameEnd = semicolon >= 0 && (colon < 0 || semicolon < colon) ? semicolon : colon;
        const QByteArrayView name(text.constData(), qMax<qsizetype>(nameEnd, 0));
        // A zero byte would end the text libical reads, and silently lose
        // the rest of the file.
        if (colon < 0 || !isName(name) || text.contains('\0')) {
            refusal = detail::refuse(line, tr("this is not an iCalendar line."));
            return false;
        }
        const bool begin = name.compare("BEGIN", Qt::CaseInsensitive) == 0;
        const bool end = !begin && name.compare("END", Qt::CaseInsensitive) == 0;
        const QByteArray value = begin || end ? text.mid(colon + 1).trimmed().toUpper() : QByteArray();
        if (open.isEmpty() && (!begin || value != "VCALENDAR")) {
            refusal = detail::refuse(line, blocks.isEmpty() ? tr("this is not an iCalendar file.")
                                                            : tr("this line stands outside any calendar."));
            return false;
        }
        if (begin) {
            if (!isName(value)) {
                refusal = detail::refuse(line, tr("this is not an iCalendar line."));
                return false;
            }
            if (open.isEmpty()) {
                blocks.append({{}, line, {}});
                blocks.last().text.reserve(data.size() + data.size() / 8);
            } else if (open.size() == 1) {
                blocks.last().childLines.append(line);
            }
            open.append({value, line});
        } else if (end) {
            if (value != open.last().name) {
                refusal = detail::refuse(line, tr("the %1 that begins on line %2 ends with “%3”.")
                                                   .arg(QString::fromUtf8(open.last().name))
                                                   .arg(open.last().line)
                                                   .arg(QString::fromUtf8(text.mid(colon + 1))));
                return false;
            }
            open.removeLast();
        }
        // Version 1.0 (vCalendar) looks alike but encodes its texts otherwise.
        if (open.size() == 1 && name.compare("VERSION", Qt::CaseInsensitive) == 0
            && text.mid(colon + 1).trimmed() != "2.0") {
            refusal = detail::refuse(line, tr("calendars of version %1 cannot be read; only version 2.0 can.")
                                               .arg(QString::fromUtf8(text.mid(colon + 1).trimmed())));
            return false;
        }
        QByteArray &out = blocks.last().text;
        const bool isText = !begin && !end && isTextProperty(name);
        const bool commas = isText && name.compare("CATEGORIES", Qt::CaseInsensitive) == 0 && text.contains("\\,");
        const QByteArray &kept = commas ? keepEscapedCommas(text, colon + 1) : text;
        if (isText && (kept.endsWith(' ') || kept.endsWith('\t')))
            out += keepTrailingBlanks(kept);
        else
            out += kept;
        out += "\r\n";
        return true;
    });
    if (refusal)
        return refusal;
    if (!open.isEmpty())
        return detail::refuse(detail::lastLineNumber(data), tr("the file ends inside the %1 that begins on line %2.")
                                                                .arg(QString::fromUtf8(open.last().name))
                                                                .arg(open.last().line));
    if (blocks.isEmpty())
        return detail::refuse(1, tr("this is not an iCalendar file."));
    return std::nullopt;
}

// --- Reading ----------------------------------------------------------------

class CalendarReader
{
public:
    CalendarReader(CalendarReadResult &result, const QDate &today, const ReadCancel &cancelled)
        : m_result(result), m_first(today.addYears(-1)), m_last(today.addYears(2)), m_cancelled(cancelled)
    {
    }
    Q_DISABLE_COPY_MOVE(CalendarReader)

    // Expanding the rules of a large or hostile file can take long; the
    // reading stops between two steps once the user has cancelled.
    bool cancelled()
    {
        m_stopped = m_stopped || (m_cancelled && m_cancelled());
        return m_stopped;
    }

    void read(icalcomponent *calendar, const QList<int> &childLines)
    {
        QList<icalcomponent *> children;
        for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT))
            children.append(c);
        // Occurrences that a later component of the same UID replaces.
        QHash<QString, QSet<QString>> overridden;
        for (icalcomponent *c : std::as_const(children))
            if (icalcomponent_isa(c) == ICAL_VEVENT_COMPONENT && hasRecurrenceId(c))
                overridden[fromUtf8(icalcomponent_get_uid(c))].insert(occurrenceKey(icalcomponent_get_recurrenceid(c)));
        for (qsizetype i = 0; i < children.size() && !cancelled(); ++i) {
            icalcomponent *c = children[i];
            const int line = i < childLines.size() ? childLines[i] : 0;
            switch (icalcomponent_isa(c)) {
            case ICAL_VEVENT_COMPONENT:
                readEvent(c, line, overridden);
                break;
            case ICAL_VTODO_COMPONENT:
                readToDo(c, line);
                break;
            case ICAL_VJOURNAL_COMPONENT:
                readJournal(c, line);
                break;
            default:
                break; // time zones and free/busy: nothing to import
            }
        }
    }

private:
    static bool hasRecurrenceId(icalcomponent *c)
    {
        return icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr;
    }

    QString uidOf(icalcomponent *c) const
    {
        QString uid = fromUtf8(icalcomponent_get_uid(c));
        if (uid.isEmpty()) {
            char *text = icalcomponent_as_ical_string_r(c);
            uid = detail::derivedUid(QByteArray(text));
            icalmemory_free_buffer(text);
        }
        return uid;
    }

    // A change made to every occurrence of a recurring event is told once.
    static bool firstReport(bool &reported)
    {
        return !std::exchange(reported, true);
    }

    void problem(Problem::Kind kind, int line, const QString &uid, const QString &message)
    {
        m_result.problems.append({kind, line, uid, message});
    }

    QString limited(const QString &text, int limit, int line, const QString &uid)
    {
        const QString cut = detail::cutToLimit(text, limit);
        if (cut.size() < text.size())
            problem(Problem::Kind::Shortened, line, uid,
                    tr("“%1…” was longer than %2 characters and was shortened.").arg(cut.left(40)).arg(limit));
        return cut;
    }

    QString categoryOf(icalcomponent *c, int line, const QString &uid, const QString &what)
    {
        if (hasXProperty(c, kCategoryProperty))
            return xProperty(c, kCategoryProperty);
        // Of several categories the first the organizer has is taken.
        const QStringList values = categoriesOf(c);
        for (const QString &value : values)
            for (const QString &name : categoryNames())
                if (value.compare(name, Qt::CaseInsensitive) == 0)
                    return name;
        if (!values.isEmpty())
            problem(Problem::Kind::Changed, line, uid,
                    tr("%1 has the category “%2”, which the organizer does not have; it was left without one.")
                        .arg(what, values.join(QStringLiteral(", "))));
        return {};
    }

    void readEvent(icalcomponent *c, int line, const QHash<QString, QSet<QString>> &overridden)
    {
        const QString uid = uidOf(c);
        const QString summary = fromUtf8(icalcomponent_get_summary(c));
        const QString what = tr("The event “%1”").arg(summary);
        m_endReported = m_reminderReported = false;
        if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) {
            problem(Problem::Kind::Skipped, line, uid, tr("%1 is cancelled and was not imported.").arg(what));
            return;
        }
        const icaltimetype start = icalcomponent_get_dtstart(c);
        if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start)) {
            problem(Problem::Kind::Skipped, line, uid, tr("%1 has no start and was not imported.").arg(what));
            return;
        }
        const icaltimetype endValue = icalcomponent_get_dtend(c);
        const QDateTime startLocal = localOf(start);
        const qint64 length = icaltime_is_null_time(endValue) ? 0 : qMax<qint64>(0, startLocal.secsTo(localOf(endValue)));

        store::AgendaTask task;
        task.text = limited(summary, store::AgendaRepository::kTextLimit, line, uid);
        task.category = categoryOf(c, line, uid, what);
        task.alarm = hasXProperty(c, kAlarmProperty) ? xProperty(c, kAlarmProperty) : kDefaultAlarm;
        task.repeating = xProperty(c, kRepeatingProperty);
        const std::optional<qint64> before = reminderSecondsBefore(c, length);

        const bool recurring = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY)
                               || icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY);
        if (!recurring || hasRecurrenceId(c)) {
            const QString itemUid = hasRecurrenceId(c) ? uid + u'/' + occurrenceKey(icalcomponent_get_recurrenceid(c)) : uid;
            place(c, task, startLocal, length, start.is_date, before, line, itemUid, what);
            return;
        }
        const QSet<QString> replaced = overridden.value(uid);
        const QList<icaltimetype> starts = occurrences(c, start, line, uid, what);
        if (starts.isEmpty())
            problem(Problem::Kind::Skipped, line, uid,
                    tr("%1 does not happen between %2 and %3 and was not imported.").arg(what, dateText(m_first), dateText(m_last)));
        for (const icaltimetype &occurrence : starts) {
            const QString key = occurrenceKey(occurrence);
            if (!replaced.contains(key))
                place(c, task, localOf(occurrence), length, start.is_date, before, line, uid + u'/' + key, what);
        }
    }

    // The starts of a recurring event within the window, in order, at most
    // kMaxOccurrences of them.
    QList<icaltimetype> occurrences(icalcomponent *c, const icaltimetype &start, int line, const QString &uid,
                                    const QString &what)
    {
        QSet<QString> excludedTimes;
        QSet<QDate> excludedDates;
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
            icaltimetype t = icalproperty_get_exdate(p);
            if (!t.zone && !t.is_date)
                t.zone = start.zone;
            if (t.is_date)
                excludedDates.insert(QDate(t.year, t.month, t.day));
            else
                excludedTimes.insert(occurrenceKey(t));
        }
        std::map<QDateTime, icaltimetype> found;
        bool more = false;
        auto consider = [&](const icaltimetype &t) {
            const QDateTime local = localOf(t);
            if (local.date() < m_first || local.date() > m_last || excludedDates.contains(local.date())
                || excludedTimes.contains(occurrenceKey(t)))
                return;
            if (found.size() >= size_t(kMaxOccurrences) && found.find(local) == found.end()) {
                more = true;
                if (local > found.rbegin()->first)
                    return;
                found.erase(std::prev(found.end()));
            }
            found.emplace(local, t);
        };
        consider(start);
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
            const icalrecurrencetype rule = icalproperty_get_rrule(p);
            if (stepsWithoutLimit(rule)) {
                problem(Problem::Kind::Skipped, line, uid,
                        tr("%1 repeats by a rule too fine to be expanded; the dates of that rule were not imported.").arg(what));
                continue;
            }
            icalrecur_iterator *it = icalrecur_iterator_new(rule, start);
            if (!it) {
                problem(Problem::Kind::Skipped, line, uid,
                        tr("%1 repeats by a rule that cannot be read; the dates of that rule were not imported.").arg(what));
                continue;
            }
            // Start near the window instead of stepping through the years
            // before it; a rule with a count must be counted from its start.
            icaltimetype windowStart = start;
            windowStart.year = m_first.year();
            windowStart.month = m_first.month();
            windowStart.day = m_first.day();
            windowStart.hour = windowStart.minute = windowStart.second = 0;
            if (rule.count == 0 && icaltime_compare(windowStart, start) > 0)
                icalrecur_iterator_set_start(it, windowStart);
            int steps = 0;
            for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t); t = icalrecur_iterator_next(it)) {
                if (cancelled() || localOf(t).date() > m_last)
                    break;
                if (++steps > kMaxRuleSteps) {
                    problem(Problem::Kind::Skipped, line, uid,
                            tr("%1 repeats too often to be expanded; some of its dates were not imported.").arg(what));
                    break;
                }
                consider(t);
                if (more && localOf(t) > found.rbegin()->first)
                    break;
            }
            icalrecur_iterator_free(it);
        }
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
            icaltimetype t = icaltime_is_null_time(value.time) ? value.period.start : value.time;
            if (icaltime_is_null_time(t))
                continue;
            if (!t.zone && !t.is_date)
                t.zone = start.zone;
            consider(t);
        }
        if (more)
            problem(Problem::Kind::Skipped, line, uid,
                    tr("%1 repeats more than %2 times between %3 and %4; only the first %2 were imported.")
                        .arg(what, QLocale(QLocale::English).toString(kMaxOccurrences), dateText(m_first), dateText(m_last)));
        QList<icaltimetype> starts;
        for (const auto &[local, t] : found)
            starts.append(t);
        return starts;
    }

    // How long before the start the first alarm rings; none without an alarm.
    static std::optional<qint64> reminderSecondsBefore(icalcomponent *c, qint64 length)
    {
        icalcomponent *alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT);
        if (!alarm)
            return std::nullopt;
        icalproperty *trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!trigger)
            return std::nullopt;
        const icaltriggertype value = icalproperty_get_trigger(trigger);
        if (!icaltime_is_null_time(value.time))
            return localOf(value.time).secsTo(localOf(icalcomponent_get_dtstart(c)));
        qint64 before = -qint64(icaldurationtype_as_int(value.duration));
        icalparameter *related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
        if (related && icalparameter_get_related(related) == ICAL_RELATED_END)
            before -= length;
        return before;
    }

    // One task on the half-hour grid: the start goes to the half hour that
    // holds it, the end up to the next half hour, both on the start's day.
    void place(icalcomponent *c, store::AgendaTask task, const QDateTime &start, qint64 length, bool allDay,
               std::optional<qint64> reminderBefore, int line, const QString &uid, const QString &what)
    {
        const QDate date = start.date();
        if (date.year() < 1900 || date.year() > 2100) {
            problem(Problem::Kind::Skipped, line, uid,
                    tr("%1 on %2 lies outside the years 1900 to 2100 and was not imported.").arg(what, dateText(date)));
            return;
        }
        task.day = date.day();
        task.month = date.month();
        task.year = date.year();
        if (allDay) {
            task.start = task.end = QTime(0, 0);
        } else {
            const QTime t = start.time();
            task.start = QTime(t.hour(), t.minute() < 30 ? 0 : 30);
            const QDateTime end = start.addSecs(length);
            const QDateTime slotStart(date, task.start, Qt::UTC);
            qint64 endOffset = slotStart.secsTo(end);
            endOffset = (endOffset + 1799) / 1800 * 1800;
            const QDateTime roundedEnd = slotStart.addSecs(endOffset);
            if (roundedEnd.date() != date) {
                task.end = QTime(23, 30);
                if (firstReport(m_endReported))
                    problem(Problem::Kind::Changed, line, uid,
                            tr("%1 on %2 runs past 11:30 PM; it now ends at 11:30 PM.").arg(what, dateText(date)));
            } else {
                task.end = roundedEnd.time();
            }
        }
        if (reminderBefore)
            setReminder(c, task, *reminderBefore, line, uid, what);
        m_result.content.tasks.append({task, uid, line});
    }

    void setReminder(icalcomponent *c, store::AgendaTask &task, qint64 before, int line, const QString &uid,
                     const QString &what)
    {
        // Our own files say what the organizer stored, postponed reminders
        // included; trusted only while the alarm agrees with it.
        const QString stored = xProperty(c, kReminderProperty);
        const int exactDays = before % kDaySeconds == 0 ? int(before / kDaySeconds) : -1;
        if (!stored.isEmpty() && store::AgendaRepository::reminderLeadDays(stored) == exactDays) {
            const QDate due = QDate::fromString(xProperty(c, kReminderDueProperty), QStringLiteral("yyyyMMdd"));
            if (due.isValid() && due <= task.date() && due.daysTo(task.date()) <= kMaxReminderDays) {
                task.reminder = stored;
                task.reminderDay = due.day();
                task.reminderMonth = due.month();
                task.reminderYear = due.year();
                return;
            }
        }
        const int days = int(qBound<qint64>(qint64(1), (before + kDaySeconds - 1) / kDaySeconds, qint64(kMaxReminderDays)));
        store::AgendaRepository::setReminderLead(task, days);
        if (exactDays != days && firstReport(m_reminderReported))
            problem(Problem::Kind::Changed, line, uid,
                    tr("%1 on %2 reminds at a time the organizer cannot; it now reminds %3 ahead.")
                        .arg(what, dateText(task.date()), store::AgendaRepository::editorReminderText(days)));
    }

    void readToDo(icalcomponent *c, int line)
    {
        const QString uid = uidOf(c);
        const QString summary = fromUtf8(icalcomponent_get_summary(c));
        CalendarToDo todo;
        todo.uid = uid;
        todo.line = line;
        todo.item.text = limited(summary, store::ToDoRepository::kTextLimit, line, uid);
        todo.item.category = categoryOf(c, line, uid, tr("The to-do item “%1”").arg(summary));
        icalproperty *percent = icalcomponent_get_first_property(c, ICAL_PERCENTCOMPLETE_PROPERTY);
        todo.item.done = icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED
                         || icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY)
                         || (percent && icalproperty_get_percentcomplete(percent) >= 100);
        icalproperty *priority = icalcomponent_get_first_property(c, ICAL_PRIORITY_PROPERTY);
        const int value = priority ? icalproperty_get_priority(priority) : 0;
        // High 1, Medium 2, Low 3: 1-4 high, 5 medium, 6-9 low, 0 or none
        // medium. A priority the organizer keeps but the scale has no place
        // for travels beside it.
        const QString kept = xProperty(c, kPriorityProperty);
        if (value == 0 && !kept.isEmpty())
            todo.item.priority = kept.toInt();
        else
            todo.item.priority = value >= 1 && value <= 4 ? 1 : value >= 6 && value <= 9 ? 3 : 2;
        m_result.content.todos.append(todo);
    }

    void readJournal(icalcomponent *c, int line)
    {
        NoteEntry note;
        note.uid = uidOf(c);
        note.line = line;
        note.title = fromUtf8(icalcomponent_get_summary(c));
        QStringList texts;
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_DESCRIPTION_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_DESCRIPTION_PROPERTY))
            texts << fromUtf8(icalproperty_get_description(p));
        note.text = limited(texts.join(u'\n'), store::NoteRepository::kTextLimit, line, note.uid);
        if (note.title.trimmed().isEmpty()) {
            // A note is known by its title.
            note.title = note.text.section(u'\n', 0, 0).trimmed().left(60);
            if (note.title.isEmpty()) {
                problem(Problem::Kind::Skipped, line, note.uid, tr("A journal entry without title or text was not imported."));
                return;
            }
            problem(Problem::Kind::Changed, line, note.uid,
                    tr("A journal entry without a title was named “%1”.").arg(note.title));
        }
        m_result.content.notes.append(note);
    }

    CalendarReadResult &m_result;
    QDate m_first;
    QDate m_last;
    bool m_endReported = false;
    bool m_reminderReported = false;
    const ReadCancel &m_cancelled;
    bool m_stopped = false;
};

// --- Writing ----------------------------------------------------------------

icaltimetype floating(const QDate &date, const QTime &time)
{
    icaltimetype t = icaltime_null_time();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = 0;
    t.is_date = 0;
    t.zone = nullptr;
    return t;
}

void addX(icalcomponent *c, const QString &name, const QString &value)
{
    icalproperty *p = icalproperty_new_x(value.toUtf8().constData());
    icalproperty_set_x_name(p, name.toUtf8().constData());
    icalcomponent_add_property(c, p);
}

void addText(icalcomponent *c, icalproperty *(*make)(const char *), const QString &value)
{
    if (!value.isEmpty())
        icalcomponent_add_property(c, make(value.toUtf8().constData()));
}

class CalendarWriter
{
public:
    explicit CalendarWriter(const QDateTime &stamp)
        : m_stamp(icaltime_from_timet_with_zone(time_t(stamp.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone()))
    {
        m_out += "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Brevane//Brevane Organizer " + kVersion.toUtf8()
                 + "//EN\r\n";
    }
    Q_DISABLE_COPY_MOVE(CalendarWriter)

    QByteArray finish()
    {
        m_out += "END:VCALENDAR\r\n";
        return std::move(m_out);
    }

    void add(const CalendarTask &record, QList<Problem> &problems)
    {
        const store::AgendaTask &task = record.task;
        if (!task.date().isValid() || !task.start.isValid() || !task.end.isValid()) {
            problems.append({Problem::Kind::Skipped, 0, record.uid,
                             tr("The task “%1” has a date or time that cannot be read and was not exported.").arg(task.text)});
            return;
        }
        ComponentPtr event(begin(ICAL_VEVENT_COMPONENT, record.uid));
        icalcomponent *c = event.get();
        icalcomponent_add_property(c, icalproperty_new_dtstart(floating(task.date(), task.start)));
        icalcomponent_add_property(c, icalproperty_new_dtend(floating(task.date(), qMax(task.start, task.end))));
        addText(c, icalproperty_new_summary, task.text);
        addCategory(c, task.category);
        const int lead = store::AgendaRepository::reminderLeadDays(task.reminder);
        if (lead >= 0) {
            icalcomponent *alarm = icalcomponent_new_valarm();
            icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
            icaltriggertype trigger{icaltime_null_time(), icaldurationtype_null_duration()};
            trigger.duration.is_neg = 1;
            trigger.duration.days = uint(lead);
            icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
            icalcomponent_add_property(alarm, icalproperty_new_description(task.text.toUtf8().constData()));
            icalcomponent_add_component(c, alarm);
            addX(c, kReminderProperty, task.reminder);
            if (task.reminderDate().isValid())
                addX(c, kReminderDueProperty, task.reminderDate().toString(QStringLiteral("yyyyMMdd")));
        }
        if (task.alarm != kDefaultAlarm)
            addX(c, kAlarmProperty, task.alarm);
        if (!task.repeating.isEmpty())
            addX(c, kRepeatingProperty, task.repeating);
        append(c);
    }

    void add(const CalendarToDo &record)
    {
        const store::ToDoItem &item = record.item;
        ComponentPtr todo(begin(ICAL_VTODO_COMPONENT, record.uid));
        icalcomponent *c = todo.get();
        addText(c, icalproperty_new_summary, item.text);
        addCategory(c, item.category);
        if (item.priority >= 1 && item.priority <= 3)
            icalcomponent_add_property(c, icalproperty_new_priority(item.priority * 4 - 3));
        else
            addX(c, kPriorityProperty, QString::number(item.priority));
        icalcomponent_add_property(c, icalproperty_new_status(item.done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
        append(c);
    }

    void add(const NoteEntry &note)
    {
        ComponentPtr journal(begin(ICAL_VJOURNAL_COMPONENT, note.uid));
        addText(journal.get(), icalproperty_new_summary, note.title);
        addText(journal.get(), icalproperty_new_description, note.text);
        append(journal.get());
    }

private:
    void addCategory(icalcomponent *c, const QString &category)
    {
        if (category.isEmpty())
            return;
        // One category: its commas are escaped (see append()).
        const bool commas = category.contains(u',');
        m_escapeCommas = m_escapeCommas || commas;
        addText(c, icalproperty_new_categories,
                commas ? QString(category).replace(u',', kKeptCommaText) : category);
        if (!categoryNames().contains(category))
            addX(c, kCategoryProperty, category);
    }

    icalcomponent *begin(icalcomponent_kind kind, const QString &uid) const
    {
        icalcomponent *c = icalcomponent_new(kind);
        icalcomponent_add_property(c, icalproperty_new_uid(uid.toUtf8().constData()));
        icalcomponent_add_property(c, icalproperty_new_dtstamp(m_stamp));
        return c;
    }

    // Each component is written as soon as it is built, so that a large
    // export never holds the whole calendar twice.
    void append(icalcomponent *c)
    {
        char *text = icalcomponent_as_ical_string_r(c);
        if (std::exchange(m_escapeCommas, false))
            m_out += QByteArray(text).replace(kKeptComma, "\\,");
        else
            m_out += text;
        icalmemory_free_buffer(text);
    }

    icaltimetype m_stamp;
    bool m_escapeCommas = false;
    QByteArray m_out;
};

} // namespace

CalendarReadResult readCalendar(const QByteArray &data, const QDate &today, const ReadCancel &cancelled)
{
    CalendarReadResult result;
    QList<CalendarBlock> blocks;
    if (std::optional<Refusal> refusal = splitCalendars(data, blocks)) {
        result.refusal = std::move(refusal);
        return result;
    }
    icalerror_set_errors_are_fatal(0);
    CalendarReader reader(result, today, cancelled);
    for (const CalendarBlock &block : std::as_const(blocks)) {
        if (reader.cancelled())
            break;
        ComponentPtr calendar(icalparser_parse_string(block.text.constData()));
        if (!calendar || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT) {
            result = {};
            result.refusal = detail::refuse(block.line, tr("this calendar cannot be read."));
            return result;
        }
        reader.read(calendar.get(), block.childLines);
    }
    if (reader.cancelled()) {
        result = {};
        result.refusal = detail::refuse(1, tr("the reading was cancelled."));
        return result;
    }
    // Records are matched by UID when the file is imported again: a UID that
    // a file gives twice must not make one record overwrite the other.
    detail::UidSet uids;
    for (CalendarTask &task : result.content.tasks)
        uids.makeUnique(task.uid);
    for (CalendarToDo &todo : result.content.todos)
        uids.makeUnique(todo.uid);
    for (NoteEntry &note : result.content.notes)
        uids.makeUnique(note.uid);
    qCDebug(lcInterchange) << "read" << result.content.tasks.size() << "tasks," << result.content.todos.size()
                           << "to-do items," << result.content.notes.size() << "notes," << result.problems.size()
                           << "problems";
    return result;
}

CalendarWriteResult writeCalendar(const CalendarContent &content, const QDateTime &stamp,
                                  const WriteProgress &progress)
{
    CalendarWriteResult result;
    CalendarWriter writer(stamp);
    const qsizetype total = content.tasks.size() + content.todos.size() + content.notes.size();
    qsizetype done = 0;
    const auto proceed = [&] {
        result.stopped = result.stopped || (progress && !progress(done++, total));
        return !result.stopped;
    };
    for (auto task = content.tasks.cbegin(); task != content.tasks.cend() && proceed(); ++task)
        writer.add(*task, result.problems);
    for (auto todo = content.todos.cbegin(); todo != content.todos.cend() && proceed(); ++todo)
        writer.add(*todo);
    for (auto note = content.notes.cbegin(); note != content.notes.cend() && proceed(); ++note)
        writer.add(*note);
    result.data = writer.finish();
    return result;
}

} // namespace brevane::interchange
