#pragma once

#include <QString>

// Table, view and field names of the data file, spelt exactly as stored.
namespace brevane::store::names {

// Tables
inline const QString Agenda = QStringLiteral("Agenda");
inline const QString ToDo = QStringLiteral("To Do");
inline const QString Contacts = QStringLiteral("Contacts");
inline const QString Notes = QStringLiteral("Notes");
inline const QString QuickLinks = QStringLiteral("Quick Links");
inline const QString Options = QStringLiteral("Options");
inline const QString EventAlarmSoundFile = QStringLiteral("Event Alarm Sound File");

// Views (the saved queries)
inline const QString ToDoQuery = QStringLiteral("To-Do Query");
inline const QString QuickLinksQuery = QStringLiteral("Quick Links Query");
inline const QString NotesQuery = QStringLiteral("NotesQuery");
inline const QString ContactsQuery = QStringLiteral("Contacts Query");
inline const QString ContactsQueryFirstName = QStringLiteral("Contacts Query First Name");

// "Agenda" fields
namespace agenda {
inline const QString Task = QStringLiteral("Agenda Task");
inline const QString Category = QStringLiteral("Agenda Category");
inline const QString Alarm = QStringLiteral("Agenda Alarm");
inline const QString Repeating = QStringLiteral("Agenda Repeating");
inline const QString Reminder = QStringLiteral("Agenda Reminder");
inline const QString ReminderDay = QStringLiteral("Agenda Reminder Day");
inline const QString ReminderMonth = QStringLiteral("Agenda Reminder Month");
inline const QString ReminderYear = QStringLiteral("Agenda Reminder Year");
inline const QString StartHour = QStringLiteral("Start Hour");
inline const QString StartMinute = QStringLiteral("Start Minute");
inline const QString StartAmPm = QStringLiteral("Start AMPM");
inline const QString EndHour = QStringLiteral("End Hour");
inline const QString EndMinute = QStringLiteral("End Minute");
inline const QString EndAmPm = QStringLiteral("End AMPM");
inline const QString Day = QStringLiteral("Day");
inline const QString Month = QStringLiteral("Month");
inline const QString Year = QStringLiteral("Year");
inline const QString Date = QStringLiteral("Agenda Date");
inline const QString Time = QStringLiteral("Agenda Time");
inline const QString Duration = QStringLiteral("Agenda Duration");
} // namespace agenda

// "To Do" fields
namespace todo {
inline const QString Task = QStringLiteral("To Do Task");
inline const QString Category = QStringLiteral("To Do Category");
inline const QString Done = QStringLiteral("To Do Done");
inline const QString Priority = QStringLiteral("Priority");
} // namespace todo

namespace notes {
inline const QString Title = QStringLiteral("Note Title");
inline const QString Note = QStringLiteral("Note");
} // namespace notes

namespace quicklinks {
inline const QString ProgramName = QStringLiteral("Program Name");
inline const QString ProgramPath = QStringLiteral("Program Path");
} // namespace quicklinks

namespace options {
inline const QString RequirePassword = QStringLiteral("Require Password");
inline const QString Password = QStringLiteral("Password");
inline const QString MinimizeToSystemTray = QStringLiteral("Minimize to System Tray");
inline const QString SortContactsBy = QStringLiteral("Sort Contacts By");
inline const QString PlayHourChime = QStringLiteral("Play Hour Chime");
inline const QString HourChime = QStringLiteral("Hour Chime");
} // namespace options

} // namespace brevane::store::names
