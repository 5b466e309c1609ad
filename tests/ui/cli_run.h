#pragma once

// koravin-cli run on the same input as a window, to compare what the window shows with it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace koravin::testing {

struct CliRun {
    QByteArray report;  // stdout: the result pane's bytes
    QByteArray trace;   // stderr: the --trace lines, without the last line end
};

// `koravin-cli run COMMAND --trace OPTIONS...`, with the editor text (LF line ends become CR LF)
// given through --editor when it is not empty.
CliRun RunCli(const QString& command, const QStringList& options, const QString& editorText = {});

}  // namespace koravin::testing
