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

// The name of a kind of file, by its patterns as a command gives them.
struct FileKind {
    const char* patterns;  // lower case, separated by ";"
    int message;
    const char* english;
};
constexpr FileKind kFileKinds[] = {
    {"*.r5;*.m5;*.dat;*.raw;*.rec;*.txt;*.xlsx", msg::kSurveyDataFiles, "Survey data files"},
    {"*.txt", msg::kTextFiles, "Text files"},
    {"*.dat", msg::kDataFiles, "Data files"},
    {"*.*", msg::kAllFiles, "All files"},
    {"*", msg::kAllFiles, "All files"},
    {"*.dxf", msg::kDxfFiles, "AutoCAD DXF drawings"},
    {"*.cor", msg::kCorFiles, "EPSW coordinate files"},
    {"*.org", msg::kOrgFiles, "TOPMAP coordinate files"},
    {"*.in2", msg::kIn2Files, "COSA plane observation files"},
    {"*.xlsx", msg::kWorkbookFiles, "Excel workbooks"},
    {"*.log", msg::kTransferLogFiles, "Transfer logs"},
};

QString KindName(const QString& patterns, const QString& given, const MessageTexts& texts) {
    QStringList parts;
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) parts += p.trimmed().toLower();
    const QString key = parts.join(';');
    for (const FileKind& kind : kFileKinds)
        if (key == QLatin1String(kind.patterns))
            return QString::fromStdString(texts(kind.message, kind.english));
    return given;
}

}  // namespace

QStringList QtNameFilters(const std::string& filter, const MessageTexts& texts) {
    const QStringList parts = QString::fromUtf8(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        const QString description = KindName(patterns, parts[i].trimmed(), texts);
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
