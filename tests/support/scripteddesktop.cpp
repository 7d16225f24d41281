#include "scripteddesktop.h"

#include <QDialog>

namespace brevane {

ScriptedDesktop::ScriptedDesktop(QObject *parent) : Desktop(parent) {}

Desktop::Answer ScriptedDesktop::message(QWidget *, const QString &text, Icon icon, Buttons buttons)
{
    const Message shown{text, icon, buttons};
    messages.append(shown);
    if (m_onMessage)
        m_onMessage(shown);
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return m_answers.isEmpty() ? Answer::Yes : m_answers.dequeue();
}

bool ScriptedDesktop::startProgram(const QString &path)
{
    programsStarted.append(path);
    return m_startResult;
}

bool ScriptedDesktop::openDocument(const QString &pathOrUrl)
{
    documentsOpened.append(pathOrUrl);
    return true;
}

QString ScriptedDesktop::chooseFile(QWidget *, const QString &, const QString &, const QString &)
{
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

QString ScriptedDesktop::chooseSaveFile(QWidget *, const QString &, const QString &, const QString &)
{
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

void ScriptedDesktop::popupMenu(QMenu *menu, const QPoint &)
{
    menusPopped.append(menu);
}

int ScriptedDesktop::runModal(QDialog *dialog)
{
    modalsShown.append(dialog);
    if (!m_onModal)
        return QDialog::Rejected;
    return m_onModal(dialog);
}

void ScriptedDesktop::showTrayIcon(const QIcon &, const QString &tip, QMenu *menu)
{
    m_trayShown = true;
    m_trayTip = tip;
    m_trayMenu = menu;
}

void ScriptedDesktop::removeTrayIcon()
{
    m_trayShown = false;
    m_trayMenu = nullptr;
}

QStringList ScriptedDesktop::messageTexts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts << m.text;
    return texts;
}

void ScriptedDesktop::clearRecords()
{
    messages.clear();
    programsStarted.clear();
    documentsOpened.clear();
    menusPopped.clear();
    modalsShown.clear();
    m_beeps = 0;
}

} // namespace brevane
