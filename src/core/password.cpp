#include "core/password.h"

#include "core/logging.h"

#include <QByteArray>
#include <QMessageAuthenticationCode>
#include <QPromise>
#include <QRegularExpression>
#include <QStringList>
#include <QThreadPool>

#include <sodium.h>

#include <memory>

namespace brevane {
namespace {

const QString kPbkdf2Prefix = QStringLiteral("pbkdf2-sha256");
constexpr int kPbkdf2HashBytes = 32;
constexpr int kPbkdf2MaxIterations = 10'000'000;

// The data file may come from anywhere: a stored hash asking for more work
// than the strongest standard limits is refused rather than computed, so a
// crafted file cannot make the program allocate gigabytes or spin for minutes.
constexpr qint64 kArgon2MaxMemoryKiB = crypto_pwhash_argon2id_MEMLIMIT_SENSITIVE / 1024;
constexpr qint64 kArgon2MaxPasses = 8;

bool sodiumReady()
{
    // Thread-safe once-only initialisation; 1 means someone else already did it.
    static const int status = sodium_init();
    return status >= 0;
}

QByteArray pbkdf2Sha256(const QByteArray &password, const QByteArray &salt, int iterations)
{
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    // 32 output bytes are exactly one SHA-256 block, so one block index suffices.
    mac.addData(salt);
    mac.addData(QByteArray::fromHex("00000001"));
    QByteArray u = mac.result();
    QByteArray t = u;
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(u);
        u = mac.result();
        for (int j = 0; j < t.size(); ++j)
            t[j] = static_cast<char>(t[j] ^ u[j]);
    }
    return t.left(kPbkdf2HashBytes);
}

struct Pbkdf2Hash {
    int iterations = 0;
    QByteArray salt;
    QByteArray hash;
};

bool parsePbkdf2(const QString &stored, Pbkdf2Hash *out)
{
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts.at(0) != kPbkdf2Prefix)
        return false;
    bool ok = false;
    const int iterations = parts.at(1).toInt(&ok);
    if (!ok || iterations < 1 || iterations > kPbkdf2MaxIterations)
        return false;
    const auto salt = QByteArray::fromBase64Encoding(parts.at(2).toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    const auto hash = QByteArray::fromBase64Encoding(parts.at(3).toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !hash || salt.decoded.isEmpty() || hash.decoded.size() != kPbkdf2HashBytes)
        return false;
    *out = {iterations, salt.decoded, hash.decoded};
    return true;
}

struct Argon2Cost {
    qint64 memoryKiB = 0;
    qint64 passes = 0;
    qint64 lanes = 0;
};

// libsodium's own parser decides what is a valid string; this only reads the
// cost so that it can be bounded before any work is done.
bool parseArgon2id(const QString &stored, Argon2Cost *out)
{
    static const QRegularExpression form(QStringLiteral(
        "^\\$argon2id\\$v=19\\$m=([0-9]{1,10}),t=([0-9]{1,10}),p=([0-9]{1,3})\\$[A-Za-z0-9+/]+\\$[A-Za-z0-9+/]+$"));
    const QRegularExpressionMatch match = form.match(stored);
    if (!match.hasMatch() || !sodiumReady())
        return false;
    const QByteArray utf8 = stored.toUtf8();
    if (utf8.size() >= crypto_pwhash_STRBYTES
        || crypto_pwhash_str_needs_rehash(utf8.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE) < 0)
        return false;
    *out = {match.captured(1).toLongLong(), match.captured(2).toLongLong(), match.captured(3).toLongLong()};
    return true;
}

// Length-independent comparison so that a timing difference tells nothing.
bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

template <typename T, typename Work>
QFuture<T> runInPool(Work work)
{
    // QPromise cannot be copied, and the pool wants a copyable callable.
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, work = std::move(work)] {
        promise->addResult(work());
        promise->finish();
    });
    return future;
}

} // namespace

StoredPasswordForm storedPasswordForm(const QString &stored)
{
    Argon2Cost cost;
    if (parseArgon2id(stored, &cost))
        return StoredPasswordForm::Argon2id;
    Pbkdf2Hash pbkdf2;
    if (parsePbkdf2(stored, &pbkdf2))
        return StoredPasswordForm::Pbkdf2;
    return StoredPasswordForm::Plain;
}

QString hashPassword(const QString &password)
{
    if (!sodiumReady())
        return {};
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0) {
        qCWarning(lcCore) << "password hash could not be computed (out of memory)";
        return {};
    }
    return QString::fromLatin1(out);
}

bool passwordMatches(const QString &typed, const QString &stored)
{
    const QByteArray typedUtf8 = typed.toUtf8();
    Argon2Cost cost;
    if (parseArgon2id(stored, &cost)) {
        if (cost.memoryKiB > kArgon2MaxMemoryKiB || cost.passes > kArgon2MaxPasses || cost.lanes != 1) {
            qCWarning(lcCore) << "stored password hash asks for too much work; refused";
            return false;
        }
        const QByteArray storedUtf8 = stored.toUtf8();
        return crypto_pwhash_str_verify(storedUtf8.constData(), typedUtf8.constData(),
                                        static_cast<unsigned long long>(typedUtf8.size()))
               == 0;
    }
    Pbkdf2Hash pbkdf2;
    if (parsePbkdf2(stored, &pbkdf2))
        return sameBytes(pbkdf2Sha256(typedUtf8, pbkdf2.salt, pbkdf2.iterations), pbkdf2.hash);
    return typed == stored;
}

bool passwordNeedsRehash(const QString &stored)
{
    if (storedPasswordForm(stored) != StoredPasswordForm::Argon2id)
        return true;
    const QByteArray utf8 = stored.toUtf8();
    return crypto_pwhash_str_needs_rehash(utf8.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
           != 0;
}

QFuture<PasswordCheck> checkPasswordInBackground(const QString &typed, const QString &stored)
{
    return runInPool<PasswordCheck>([typed, stored] {
        PasswordCheck check;
        check.accepted = passwordMatches(typed, stored);
        if (check.accepted && passwordNeedsRehash(stored))
            check.upgradedHash = hashPassword(typed);
        return check;
    });
}

QFuture<QString> hashPasswordInBackground(const QString &password)
{
    return runInPool<QString>([password] { return hashPassword(password); });
}

} // namespace brevane
