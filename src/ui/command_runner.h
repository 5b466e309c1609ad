#pragma once

// Runs a window's commands on a worker thread, so that the window keeps repainting and can stop
// a long computation. The command's prompts, messages and questions still appear one at a time,
// in its order, as modal dialogs of the window; its report reaches the result pane before each
// dialog and at its end. A stopped command leaves the pane as it was before it began.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QObject>
#include <QString>

#include "command/interaction.h"
#include "plot/collected_picture.h"
#include "steps/stop_request.h"

class QPlainTextEdit;
class QWidget;

namespace koravin {

class Dialogs;

struct CommandInput {
    std::string editorText;
    int decimalDigits = 6;
    std::map<std::string, std::string> fields;
    bool withChecks = false;  // the check block follows the report
};

enum class CommandEnd { Finished, Stopped, OutOfMemory };

class CommandRunner : public QObject {
    Q_OBJECT
public:
    CommandRunner(QWidget* window, QPlainTextEdit* resultPane, Dialogs& dialogs);
    ~CommandRunner() override;

    bool running() const { return worker_.joinable(); }
    // Starts the command unless one is running already.
    void start(const CommandInfo& command, CommandInput input);
    // Asks the running command to stop at its next step.
    void stop();
    // Stops the running command and returns once it has ended, answering its dialogs meanwhile.
    void stopAndWait();
    // Whether the last run finished and changed the result pane: the pane holds its report.
    bool lastRunWrotePane() const { return wrotePane_; }
    // What the last run drew, read once it has ended.
    const CollectedPicture& picture() const { return picture_; }

signals:
    void started();
    // focusField: the field a command asked the focus to move to ("" for none).
    void ended(koravin::CommandEnd end, const QString& focusField);

private:
    class BufferedPane;
    class WindowInteraction;

    void flushPane();
    void finish(CommandEnd end, const std::string& focusField);

    QWidget* window_;
    QPlainTextEdit* resultPane_;
    Dialogs& dialogs_;
    std::unique_ptr<BufferedPane> pane_;
    std::unique_ptr<WindowInteraction> interaction_;
    std::unique_ptr<StopRequest> stopRequest_;
    CollectedPicture picture_;
    std::thread worker_;
    // What the pane held before the command first changed it, to restore after a stop.
    std::optional<QString> paneBefore_;
    bool wrotePane_ = false;
};

}  // namespace koravin
