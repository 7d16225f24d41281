#pragma once

#include "platform/desktop.h"

#include <QDate>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

namespace brevane {

// Test desktop: scripted message answers, fixed today, recorded programs/documents, modal-window players.
class ScriptedDesktop final : public Desktop
{
    Q_OBJECT

public:
    struct Message {
        QString text;
        Icon icon = Icon::Information;
        Buttons buttons = Buttons::Ok;
    };

    explicit ScriptedDesktop(QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(ScriptedDesktop)

    Answer message(QWidget *parent, const QString &text, Icon icon, Buttons buttons) override;
    [[nodiscard]] QDate today() const override { return m_today; }
    bool startProgram(const QString &path) override { return programsStarted.append(path), m_startResult; }
    bool openDocument(const QString &pathOrUrl) override { return documentsOpened.append(pathOrUrl), true; }
    QString chooseFile(QWidget *, const QString &, const QString &, const QString &) override
    {
        return m_files.isEmpty() ? QString() : m_files.dequeue();
    }
    // Both choosers answer from the queue of queueChosenFile().
    QString chooseSaveFile(QWidget *, const QString &, const QString &, const QString &) override
    {
        return m_files.isEmpty() ? QString() : m_files.dequeue();
    }
    void beep() override { ++m_beeps; }
    void popupMenu(QMenu *menu, const QPoint &) override { menusPopped.append(menu); }
    int runModal(QDialog *dialog) override;

    [[nodiscard]] bool trayAvailable() const override { return m_trayAvailable; }
    void showTrayIcon(const QIcon &, const QString &tip, QMenu *) override { m_trayShown = true, m_trayTip = tip; }
    void removeTrayIcon() override { m_trayShown = false; }
    [[nodiscard]] bool isTrayIconShown() const override { return m_trayShown; }

    // Script
    void setToday(const QDate &date) { m_today = date; }
    // Answers for the next Yes/No questions, in order; an empty queue answers Yes.
    void queueAnswer(Answer answer) { m_answers.enqueue(answer); }
    void setStartProgramResult(bool ok) { m_startResult = ok; }
    void queueChosenFile(const QString &path) { m_files.enqueue(path); }
    void setTrayAvailable(bool available) { m_trayAvailable = available; }
    // Plays the user of each modal window and returns its result; without one, QDialog::Rejected.
    void onModal(std::function<int(QDialog *)> callback) { m_onModal = std::move(callback); }
    void simulateTrayLeftClick() { Q_EMIT trayLeftReleased(); }
    void simulateTrayRightClick(const QPoint &pos = {}) { Q_EMIT trayRightReleased(pos); }

    // Records
    QList<Message> messages;
    QStringList programsStarted;
    QStringList documentsOpened;
    QList<QMenu *> menusPopped;
    QList<QDialog *> modalsShown;
    [[nodiscard]] int beeps() const { return m_beeps; }
    [[nodiscard]] QString trayTip() const { return m_trayTip; }
    [[nodiscard]] QStringList messageTexts() const;
    void clearRecords();

private:
    QDate m_today{2003, 3, 5};
    QQueue<Answer> m_answers;
    QQueue<QString> m_files;
    std::function<int(QDialog *)> m_onModal;
    bool m_startResult = true;
    bool m_trayAvailable = true;
    bool m_trayShown = false;
    QString m_trayTip;
    int m_beeps = 0;
};

} // namespace brevane
