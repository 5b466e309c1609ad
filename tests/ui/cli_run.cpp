#include "ui/cli_run.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace koravin::testing {

CliRun RunCli(const QString& command, const QStringList& options, const QString& editorText) {
    QTemporaryDir folder;
    QStringList arguments{"run", command, "--trace"};
    if (!editorText.isEmpty()) {
        QFile editor(folder.filePath("editor.txt"));
        editor.open(QIODevice::WriteOnly);
        editor.write(QString(editorText).replace("\n", "\r\n").toUtf8());
        editor.close();
        arguments << "--editor" << editor.fileName();
    }
    QProcess cli;
    cli.start(KORAVIN_CLI_PATH, arguments + options);
    cli.waitForFinished(60000);
    QByteArray trace = cli.readAllStandardError();
    if (trace.endsWith('\n')) trace.chop(1);
    return {cli.readAllStandardOutput(), trace};
}

}  // namespace koravin::testing
