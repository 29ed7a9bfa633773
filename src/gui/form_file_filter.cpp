#include "gui/form_file_filter.h"

namespace murmelix {

namespace {

// The description without a trailing "(...)" of its own, which Qt would read as patterns.
QString descriptionOnly(QString text) {
    text = text.trimmed();
    if (text.endsWith(')')) {
        const qsizetype open = text.lastIndexOf('(');
        if (open > 0) {
            text = text.left(open).trimmed();
        }
    }
    return text;
}

QString qtPatterns(const QString& patterns) {
    QStringList out;
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
        const QString pattern = p.trimmed();
        out << (pattern == "*.*" ? QString("*") : pattern);
    }
    return out.join(' ');
}

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromUtf8(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        if (patterns.isEmpty()) {
            continue;
        }
        QString description = descriptionOnly(parts[i]);
        if (description.isEmpty()) {
            description = patterns;
        }
        filters << QString("%1 (%2)").arg(description, patterns);
    }
    if (filters.isEmpty()) {
        filters << "All Files (*)";
    }
    return filters;
}

QString qtFilterSuffix(const QString& nameFilter) {
    const qsizetype open = nameFilter.lastIndexOf('(');
    if (open < 0 || !nameFilter.endsWith(')')) {
        return {};
    }
    const QString pattern = nameFilter.mid(open + 1, nameFilter.size() - open - 2).trimmed();
    if (!pattern.startsWith("*.") || pattern.contains(' ') || pattern.mid(2).contains('*') ||
        pattern.mid(2).contains('?')) {
        return {};
    }
    return pattern.mid(2);
}

QString qtDefaultSuffix(const std::string& defaultExtension) {
    QString suffix = QString::fromUtf8(defaultExtension).trimmed();
    while (suffix.startsWith('*') || suffix.startsWith('.')) {
        suffix.remove(0, 1);
    }
    return suffix.contains('*') ? QString() : suffix;
}

}  // namespace murmelix
