#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QString>

#include <utility>

namespace brevane {

// How a stored password is kept. Hashes made now are Argon2id in libsodium's
// string form ("$argon2id$v=19$m=<KiB>,t=<passes>,p=1$<salt>$<hash>"). Files
// from older versions may hold "pbkdf2-sha256$<iterations>$<salt>$<hash>", or
// the password itself in plain text; both keep working until the password is
// next entered, when they are replaced by an Argon2id hash.
enum class StoredPasswordForm { Plain, Pbkdf2, Argon2id };

// A stored value that only looks like a hash (a malformed one) is plain text.
[[nodiscard]] StoredPasswordForm storedPasswordForm(const QString &stored);

// An Argon2id hash at libsodium's interactive limits. It costs a noticeable
// fraction of a second and 64 MiB, so windows use hashPasswordInBackground.
// Empty when it could not be computed (out of memory).
[[nodiscard]] QString hashPassword(const QString &password);

// Whether the typed text is the stored password. Plain stored values compare
// exactly: case-sensitive, nothing trimmed. Like hashing, checking a hash is
// slow on purpose; windows use checkPasswordInBackground.
[[nodiscard]] bool passwordMatches(const QString &typed, const QString &stored);

// True when the stored value should be replaced by a fresh hash once the
// password is known: plain text, PBKDF2, or Argon2id made with other limits.
[[nodiscard]] bool passwordNeedsRehash(const QString &stored);

struct PasswordCheck {
    bool accepted = false;
    // Set when the password was accepted and its stored form is out of date:
    // the hash to store instead. Empty otherwise, or when it could not be
    // computed (the old value then simply stays).
    QString upgradedHash;
};

// The same work on a pool thread, so that a window stays responsive. The
// futures finish even when nobody waits for them; the application waits for
// the pool before it ends.
[[nodiscard]] QFuture<PasswordCheck> checkPasswordInBackground(const QString &typed, const QString &stored);
[[nodiscard]] QFuture<QString> hashPasswordInBackground(const QString &password);

// Calls `done` with the future's result on the window's thread. The watcher
// belongs to the window: a window closed, and so deleted, before the work ends
// is simply not called back.
template <typename T, typename Done>
void whenFinished(const QFuture<T> &future, QObject *window, Done done)
{
    auto *watcher = new QFutureWatcher<T>(window);
    QObject::connect(watcher, &QFutureWatcherBase::finished, window, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(future);
}

} // namespace brevane
