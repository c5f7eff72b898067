#include "app/application_title.h"

namespace {

constexpr qsizetype kExtensionLength = 4; // the dot and three characters

bool IsSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

bool EndsWithExtension(const QString& path) {
    const qsizetype dot = path.size() - kExtensionLength;
    if (dot < 1 || path[dot] != u'.' || IsSeparator(path[dot - 1]))
        return false;
    for (qsizetype i = dot + 1; i < path.size(); ++i) {
        if (path[i] == u'.' || IsSeparator(path[i]))
            return false;
    }
    return true;
}

} // namespace

QString ApplicationTitle(const QString& programPath) {
    QString title = programPath;
    if (EndsWithExtension(title))
        title.chop(kExtensionLength);
    const qsizetype lastSeparator = std::max(title.lastIndexOf(u'/'), title.lastIndexOf(u'\\'));
    title = title.mid(lastSeparator + 1);
    return title.isEmpty() ? QStringLiteral("Kestrovane") : title;
}
