#include "scripteddesktop.h"

#include <QDialog>

namespace brevane {

ScriptedDesktop::ScriptedDesktop(QObject *parent) : Desktop(parent) {}

Desktop::Answer ScriptedDesktop::message(QWidget *, const QString &text, Icon icon, Buttons buttons)
{
    messages.append({text, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return m_answers.isEmpty() ? Answer::Yes : m_answers.dequeue();
}

int ScriptedDesktop::runModal(QDialog *dialog)
{
    modalsShown.append(dialog);
    return m_onModal ? m_onModal(dialog) : int(QDialog::Rejected);
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
    messages.clear(), programsStarted.clear(), documentsOpened.clear(), menusPopped.clear(), modalsShown.clear();
    m_beeps = 0;
}

} // namespace brevane
