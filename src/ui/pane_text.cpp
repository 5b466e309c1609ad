#include "ui/pane_text.h"

#include <algorithm>

#include <QPlainTextEdit>


namespace koravin {

std::string PaneText(const QPlainTextEdit& pane) {
    QString text = pane.toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text.toStdString();
}

bool PaneIsBlank(const QPlainTextEdit& pane) {
    const QString text = pane.toPlainText();
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

QString FromReportText(std::string_view text) {
    QString converted = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    converted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    converted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return converted;
}

}  // namespace koravin
