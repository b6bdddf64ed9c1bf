#include "app/ui/file_filter.h"

namespace tarvosen::ui {

namespace {

// "*.Txt" -> "*.[tT][xX][tT]": letters match in either case.
QString CaseBlind(const QString& pattern) {
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            out += '[';
            out += c.toLower();
            out += c.toUpper();
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromUtf8(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        QStringList blind;
        for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            // "*.*" means every file, also those without a dot.
            blind += (t == "*.*") ? QStringLiteral("*") : CaseBlind(t);
        }
        if (blind.isEmpty()) blind += QStringLiteral("*");
        filters += description + " (" + blind.join(' ') + ")";
    }
    return filters;
}

std::filesystem::path WithDefaultExtension(std::filesystem::path path,
                                           const std::string& extension) {
    if (extension.empty() || path.has_extension() || path.filename().empty()) return path;
    path += extension.front() == '.' ? extension : "." + extension;
    return path;
}

}  // namespace tarvosen::ui
