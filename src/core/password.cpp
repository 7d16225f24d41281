#include "core/password.h"

#include <QByteArray>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>

namespace brevane {
namespace {

const QString kPrefix = QStringLiteral("pbkdf2-sha256");
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

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
    return t.left(kHashBytes);
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

struct ParsedHash {
    int iterations = 0;
    QByteArray salt;
    QByteArray hash;
};

bool parse(const QString &stored, ParsedHash *out)
{
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts.at(0) != kPrefix)
        return false;
    bool ok = false;
    const int iterations = parts.at(1).toInt(&ok);
    if (!ok || iterations < 1 || iterations > 10'000'000)
        return false;
    const auto salt = QByteArray::fromBase64Encoding(parts.at(2).toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    const auto hash = QByteArray::fromBase64Encoding(parts.at(3).toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !hash || salt.decoded.isEmpty() || hash.decoded.size() != kHashBytes)
        return false;
    *out = {iterations, salt.decoded, hash.decoded};
    return true;
}

} // namespace

QString hashPassword(const QString &password, int iterations)
{
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          kSaltBytes / sizeof(quint32));
    const QByteArray hash = pbkdf2Sha256(password.toUtf8(), salt, iterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(kPrefix)
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool isHashedPassword(const QString &stored)
{
    ParsedHash parsed;
    return parse(stored, &parsed);
}

bool passwordMatches(const QString &typed, const QString &stored)
{
    ParsedHash parsed;
    if (!parse(stored, &parsed))
        return typed == stored;
    return sameBytes(pbkdf2Sha256(typed.toUtf8(), parsed.salt, parsed.iterations), parsed.hash);
}

} // namespace brevane
