#pragma once

// The text panes hold lines; the commands and the files speak of them with CR LF line ends.

#include <string>
#include <string_view>

#include <QString>

class QPlainTextEdit;

namespace koravin {

// A pane's text with CR LF between its lines, as a command reads it and a file stores it.
std::string PaneText(const QPlainTextEdit& pane);

// Whether the pane holds nothing but blanks.
bool PaneIsBlank(const QPlainTextEdit& pane);

// UTF-8 text for a pane or a dialog; each of CR LF, CR and LF ends a line.
QString FromReportText(std::string_view text);

}  // namespace koravin
