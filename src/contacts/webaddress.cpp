#include "contacts/webaddress.h"

#include <QRegularExpression>

namespace brevane::contacts {

std::optional<QString> webAddressFor(const QString &text)
{
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://"), QLatin1String("mailto:")}) {
        if (text.startsWith(scheme, Qt::CaseInsensitive) && text.size() > scheme.size())
            return text;
    }
    // Dot-separated labels of letters, digits and hyphens, an optional port,
    // then anything without blanks after a path, query or fragment mark.
    static const QRegularExpression hostName(
        QStringLiteral(R"(^[A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?(?:\.[A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?)+)"
                       R"((?::[0-9]{1,5})?(?:[/?#]\S*)?$)"));
    if (hostName.match(text).hasMatch())
        return QStringLiteral("http://") + text;
    return std::nullopt;
}

} // namespace brevane::contacts
