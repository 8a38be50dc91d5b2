#include "core/output.h"

#include <cstdio>

QString escapeControls(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control) {
            escaped += c;
            continue;
        }
        escaped += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0');
    }
    return escaped;
}

void printLine(const QString& line)
{
    const QByteArray bytes = escapeControls(line).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
