#include "app/importexport.h"

#include "interchange/transfer.h"
#include "platform/desktop.h"
#include "platform/navigation.h"
#include "store/database.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSaveFile>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <functional>
#include <memory>

namespace brevane {

namespace {

// More would make the message taller than the screen; the rest is counted.
constexpr int kShownDetails = 20;

// Records are stored in batches of this many between looks at the Cancel
// button, so that the window stays responsive at little cost.
constexpr qsizetype kRecordsPerBatch = 200;

// How often the progress window shows how far an export's writer has come.
constexpr int kProgressIntervalMs = 100;

QString withDetails(const QStringList &details, const QString &summary)
{
    QStringList lines = details.mid(0, kShownDetails);
    if (details.size() > kShownDetails)
        lines << QObject::tr("... and %1 more.").arg(details.size() - kShownDetails);
    if (!lines.isEmpty())
        lines << QString();
    lines << summary + u'.';
    return lines.join(u'\n');
}

std::unique_ptr<QProgressDialog> progressWindow(QWidget *parent, const QString &label)
{
    auto progress = std::make_unique<QProgressDialog>(label, QObject::tr("Cancel"), 0, 0, parent);
    progress->setObjectName(QStringLiteral("dlgTransferProgress"));
    progress->setWindowTitle(QObject::tr("Brevane Organizer"));
    // Application-modal: another window writing during an import would join
    // its transaction and be undone with it by Cancel.
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    // Escape only hides a progress window, and the work would go on unseen
    // (and without the window's modality); it cancels, as the button does.
    QObject::connect(progress.get(), &QDialog::rejected, progress.get(), &QProgressDialog::canceled);
    // Shown only when the work takes longer than this, counted from here:
    // without a first value the window would wait for its default four
    // seconds while the work reports none (reading a file).
    progress->setMinimumDuration(500);
    progress->setValue(0);
    return progress;
}

// Runs `work` on a thread of its own while the window keeps answering, until
// the work ends or the progress window's Cancel is pressed; `cancelled` then
// tells the work to stop. `tick` runs every so often meanwhile. Returns once
// the thread has ended.
void runBeside(QProgressDialog *progress, std::function<void()> work, const std::function<void()> &cancelled = {},
               const std::function<void()> &tick = {})
{
    std::unique_ptr<QThread> worker(QThread::create(std::move(work)));
    QEventLoop loop;
    QTimer ticks;
    if (tick) {
        QObject::connect(&ticks, &QTimer::timeout, progress, tick);
        ticks.start(kProgressIntervalMs);
    }
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(progress, &QProgressDialog::canceled, &loop, [&cancelled, &loop] {
        if (cancelled)
            cancelled();
        loop.quit();
    });
    worker->start();
    loop.exec();
    worker->wait();
}

} // namespace

ImportExportCommands::ImportExportCommands(store::Database &db, Navigation &navigation, QWidget *window)
    : QObject(window)
    , m_db(db)
    , m_navigation(navigation)
    , m_window(window)
{
    m_import = new QAction(tr("Import..."), this);
    m_import->setObjectName(QStringLiteral("mnuImport"));
    connect(m_import, &QAction::triggered, this, &ImportExportCommands::importFile);
    m_export = new QAction(tr("Export..."), this);
    m_export->setObjectName(QStringLiteral("mnuExport"));
    connect(m_export, &QAction::triggered, this, &ImportExportCommands::exportFile);
}

void ImportExportCommands::importFile()
{
    const QString path = desktop().chooseFile(
        m_window, tr("Import"), QDir::homePath(),
        tr("Calendars and contacts (*.ics *.ical *.ifb *.vcf *.vcard);;All files (*)"));
    if (path.isEmpty())
        return;
    const auto progress = progressWindow(m_window, tr("Reading %1...").arg(QFileInfo(path).fileName()));

    // Parsing a large file takes a while and touches no data file, so it runs
    // beside the window, which keeps answering. Cancel stops it soon, so that
    // the window does not wait for the rest of a long reading.
    interchange::ImportFile file;
    const QDate today = desktop().today();
    std::atomic<bool> cancelled = false;
    const interchange::ReadCancel stop = [&cancelled] { return cancelled.load(std::memory_order_relaxed); };
    runBeside(
        progress.get(), [&file, &stop, path, today] { file = interchange::readImportFile(path, today, stop); },
        [&cancelled] { cancelled = true; });
    if (progress->wasCanceled())
        return;

    progress->setLabelText(tr("Importing %1...").arg(QFileInfo(path).fileName()));
    // The records are written in one transaction on the window's own
    // connection: whatever else wrote meanwhile (a command of the window, a
    // queued call) would write into it and be taken back with it by Cancel
    // or a failed write. So no event runs before the progress window is
    // shown; from then on it is application-modal, so no other window takes
    // a command, and setValue() lets through the events that keep it
    // answering, among them the press of Cancel.
    const interchange::ImportResult result =
        interchange::storeImport(m_db, file, [&progress](qsizetype done, qsizetype total) {
            if (done % kRecordsPerBatch == 0) {
                progress->setMaximum(int(total));
                progress->setValue(int(done));
            }
            return !progress->wasCanceled();
        });
    progress->close();

    switch (result.outcome) {
    case interchange::ImportResult::Outcome::Imported:
        m_navigation.reloadAll();
        desktop().message(m_window, withDetails(result.details, result.summary()), Desktop::Icon::Information);
        break;
    case interchange::ImportResult::Outcome::Cancelled:
        desktop().message(m_window, tr("The import was cancelled.  Nothing of the file was imported."),
                          Desktop::Icon::Information);
        break;
    case interchange::ImportResult::Outcome::Refused:
    case interchange::ImportResult::Outcome::Failed:
        desktop().message(m_window, result.error + tr("\n\nNothing of the file was imported."),
                          Desktop::Icon::Exclamation);
        break;
    }
}

bool ImportExportCommands::chooseExportKind(ExportKind *kind)
{
    QDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("dlgExport"));
    dialog.setWindowTitle(tr("Export"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *question = new QLabel(tr("What do you want to export?"), &dialog);
    layout->addWidget(question);
    auto *calendar = new QRadioButton(tr("Calendar and To-Do List (iCalendar, .ics)"), &dialog);
    calendar->setObjectName(QStringLiteral("optExportCalendar"));
    calendar->setChecked(true);
    auto *contacts = new QRadioButton(tr("Contacts (vCard, .vcf)"), &dialog);
    contacts->setObjectName(QStringLiteral("optExportContacts"));
    layout->addWidget(calendar);
    layout->addWidget(contacts);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->setObjectName(QStringLiteral("btnExportButtons"));
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (desktop().runModal(&dialog) != QDialog::Accepted)
        return false;
    *kind = contacts->isChecked() ? ExportKind::Contacts : ExportKind::Calendar;
    return true;
}

void ImportExportCommands::exportFile()
{
    ExportKind kind = ExportKind::Calendar;
    if (!chooseExportKind(&kind))
        return;
    const bool calendar = kind == ExportKind::Calendar;
    const QString suffix = calendar ? QStringLiteral("ics") : QStringLiteral("vcf");
    QString path = desktop().chooseSaveFile(
        m_window, tr("Export"),
        QDir::home().filePath((calendar ? tr("Calendar") : tr("Contacts")) + u'.' + suffix),
        calendar ? tr("iCalendar files (*.ics)") : tr("vCard files (*.vcf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += u'.' + suffix;
        // The file chooser asked about replacing the name as typed, not this one.
        if (QFileInfo::exists(path)
            && desktop().message(m_window,
                                 tr("The file '%1' already exists.  Do you want to replace it?").arg(path),
                                 Desktop::Icon::Question, Desktop::Buttons::YesNo)
                   != Desktop::Answer::Yes)
            return;
    }

    const auto progress = progressWindow(m_window, tr("Reading the records..."));
    // The whole export runs beside the window, which keeps answering and
    // offers Cancel throughout: reading the records, and giving those without
    // one a UID, through a connection of its own (connections belong to the
    // thread that opens them), then writing the text and putting it on disk
    // under a temporary name. Nothing else writes meanwhile: the progress
    // window is application-modal. The file is moved into place here, once
    // Cancel can no longer be pressed, so that Cancel always writes none.
    std::atomic<qsizetype> done = 0;
    std::atomic<qsizetype> total = 0;
    std::atomic<bool> writing = false;
    std::atomic<bool> cancelled = false;
    const interchange::ExportCancel stop = [&cancelled] { return cancelled.load(std::memory_order_relaxed); };
    const interchange::WriteProgress report = [&](qsizetype written, qsizetype all) {
        done.store(written, std::memory_order_relaxed);
        total.store(all, std::memory_order_relaxed);
        return !cancelled.load(std::memory_order_relaxed);
    };
    interchange::ExportResult result;
    const QDateTime stamp = QDateTime::currentDateTimeUtc();
    const QString dataFile = m_db.path();
    QSaveFile output(path);
    QString fileProblem;
    const QString writingLabel = tr("Writing %1...").arg(QFileInfo(path).fileName());
    runBeside(
        progress.get(),
        [&] {
            QString error;
            const std::unique_ptr<store::Database> db = store::Database::openAlongside(dataFile, &error);
            if (!db) {
                result.error = error;
                return;
            }
            if (calendar) {
                const interchange::CalendarExport records = interchange::collectCalendar(*db, stop);
                writing = true;
                result = interchange::writeCalendarExport(records, stamp, report);
            } else {
                const interchange::ContactsExport records = interchange::collectContacts(*db, stop);
                writing = true;
                result = interchange::writeContactsExport(records, report);
            }
            if (result.ok && !cancelled.load(std::memory_order_relaxed))
                fileProblem = interchange::prepareExportFile(output, result.data);
        },
        [&cancelled] { cancelled = true; },
        [&] {
            if (writing.load(std::memory_order_relaxed) && progress->labelText() != writingLabel)
                progress->setLabelText(writingLabel);
            progress->setMaximum(int(total.load(std::memory_order_relaxed)));
            progress->setValue(int(done.load(std::memory_order_relaxed)));
        });

    // Cancel writes nothing, even when the text was finished meanwhile: a
    // file already at the path stays as it was.
    // (Closing the progress window counts as Cancel, so it is asked first.)
    const bool userCancelled = progress->wasCanceled();
    QString problem = result.ok ? fileProblem : result.error;
    if (!userCancelled && problem.isEmpty())
        problem = interchange::finishExportFile(output);
    progress->close();
    if (userCancelled) {
        desktop().message(m_window, tr("The export was cancelled.  No file was written."),
                          Desktop::Icon::Information);
        return;
    }
    if (!problem.isEmpty()) {
        desktop().message(m_window, problem, Desktop::Icon::Exclamation);
        return;
    }
    desktop().message(m_window, withDetails(result.details, result.summary), Desktop::Icon::Information);
}

} // namespace brevane
