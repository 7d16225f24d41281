#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace brevane::store {

// The organizer's data file: one SQLite file holding every table and view.
// Opening creates a missing file with the full schema; an existing file is
// checked and never altered when it is not an organizer file.
class Database
{
public:
    enum class Access {
        ReadWrite,
        // Opens the file read-only, as the system would for a file we may not
        // write; lets tests exercise the refusal without dropping privileges.
        ReadOnly,
    };

    // The version of the file's layout this program writes (the file's
    // user_version). Older files are upgraded when opened; newer ones are
    // refused and left untouched.
    static constexpr int kSchemaVersion = 4;

    // The steps of creating a new file, in order. Tests stop the process at
    // each one and then open what is left.
    enum class CreationStep {
        TempFileCreated, // an empty file under a temporary name in the folder
        SchemaBuilt,     // tables and first records written, not committed
        Committed,
        Synced,          // the temporary file is on disk
        Renamed,         // moved into place under its own name
        FolderSynced,    // the new name is on disk
    };
    // Called at each step of creating a file; for tests only.
    static void setCreationHook(std::function<void(CreationStep)> hook);

    // The data file the program uses when none is named on the command line:
    // the one in the program folder when it exists there (a portable
    // installation), otherwise the one in the per-user data folder.
    [[nodiscard]] static QString defaultPath();

    // Returns nullptr and a user-readable reason (naming the file) when the
    // file cannot be used: not a regular file, not SQLite, a table or view
    // missing, damaged, in use by another program, from a newer version, or
    // not writable. A missing file is created whole or not at all.
    [[nodiscard]] static std::unique_ptr<Database> open(const QString &path, QString *error,
                                                        Access access = Access::ReadWrite);

    // A second connection to a data file the program already has open, for
    // long work beside the window on another thread: the file is never
    // created, upgraded or tried for writing again, and one of another
    // version than this program's is refused. Like every connection it
    // belongs to the thread that opens it, which must also destroy it.
    [[nodiscard]] static std::unique_ptr<Database> openAlongside(const QString &path, QString *error);

    ~Database();
    Q_DISABLE_COPY_MOVE(Database)

    // Makes the statement running on this connection fail as soon as `stop`
    // answers true: it is asked, on the connection's thread, every thousand
    // or so steps of SQLite's engine, which is a few rows of a long read.
    // Empty: never stop. For long work that the user can cancel; a write
    // stopped this way takes the whole open transaction back with it.
    void setStopCheck(std::function<bool()> stop);

    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] QSqlDatabase connection() const;

    static const QStringList &tableNames();
    static const QStringList &viewNames();
    // The fields of a table in their stored order; empty for an unknown name.
    [[nodiscard]] static QStringList fieldsOf(const QString &table);
    // The table behind a table or view name; the name itself for a table,
    // an empty text for an unknown name.
    [[nodiscard]] static QString baseTableOf(const QString &source);
    // Quotes a table, view or field name as an SQL identifier.
    [[nodiscard]] static QString quoteName(const QString &name);

private:
    Database(QString path, QString connectionName);

    friend class Batch;
    friend class Transaction;

    QString m_path;
    QString m_connectionName;
    // Batches and transactions open on the connection, so that the outermost
    // one knows it is.
    int m_openUnits = 0;
    std::function<bool()> m_stop;
};

// Groups many writes into one commit, for bulk work such as deleting a year
// of old tasks: each write still succeeds or fails on its own, and all that
// succeeded reach the file together when commit() returns. Without a commit
// the writes are rolled back.
class Batch
{
public:
    explicit Batch(Database &db);
    ~Batch();
    Q_DISABLE_COPY_MOVE(Batch)

    [[nodiscard]] bool isActive() const { return m_active; }
    [[nodiscard]] QString error() const { return m_error; }
    // False, with error(), when the file refused the commit: then none of the
    // batch's writes were kept.
    [[nodiscard]] bool commit();

private:
    Database &m_db;
    bool m_active = false;
    QString m_error;
};

// One all-or-nothing unit of writes, for a repository's read-then-write or a
// statement whose result must be known committed. Built on a savepoint, so it
// also works inside a Batch; the outermost one commits to the file when
// commit() returns true. Without a commit everything is rolled back.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Q_DISABLE_COPY_MOVE(Transaction)

    [[nodiscard]] bool isActive() const { return m_active; }
    // The file's reason when the transaction could not begin or commit.
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] bool commit();

private:
    void rollback();

    Database &m_db;
    QString m_name;
    bool m_active = false;
    bool m_outermost = false;
    QString m_error;
};

} // namespace brevane::store
