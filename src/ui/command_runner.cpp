#include "ui/command_runner.h"

#include <algorithm>
#include <mutex>
#include <new>

#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "checks/checks.h"
#include "checks/iteration_matrix.h"
#include "checks/sweep_radius.h"
#include "ui/dialogs.h"
#include "ui/pane_text.h"

namespace koravin {

namespace {

constexpr std::string_view kOutOfMemoryMessage = "内存不足，无法完成计算！";

// A new thread starts with a copy of the window thread's vector registers. When their upper
// halves are in use (the drawing code uses AVX), every SSE instruction of the computation pays
// for merging them and runs several times slower, until something happens to clear them.
#if defined(__x86_64__)
__attribute__((target("avx"))) void ClearUpperHalvesWithAvx() { __builtin_ia32_vzeroupper(); }
void ClearUpperVectorHalves() {
    if (__builtin_cpu_supports("avx")) ClearUpperHalvesWithAvx();
}
#else
void ClearUpperVectorHalves() {}
#endif

}  // namespace

// What the command writes, gathered on the worker thread until the window's thread takes it.
class CommandRunner::BufferedPane : public Pane {
public:
    struct Changes {
        bool cleared = false;
        std::string appended;
    };

    void clear() override {
        const std::lock_guard lock(mutex_);
        changes_ = {true, {}};
    }
    void append(std::string_view text) override {
        const std::lock_guard lock(mutex_);
        changes_.appended.append(text);
    }
    Changes take() {
        const std::lock_guard lock(mutex_);
        return std::exchange(changes_, {});
    }

private:
    std::mutex mutex_;
    Changes changes_;
};

// The command's questions, asked on the window's thread while the worker waits for the answer.
class CommandRunner::WindowInteraction : public Interaction {
public:
    WindowInteraction(CommandRunner& runner, const StopRequest& stop) : runner_(runner), stop_(stop) {}

    std::string ask(const Prompt& prompt) override {
        return OnWindowThread<std::string>([&] { return runner_.dialogs_.ask(runner_.window_, prompt); });
    }
    void tell(std::string_view message) override {
        OnWindowThread<bool>([&] {
            runner_.dialogs_.tell(runner_.window_, message);
            return true;
        });
    }
    bool confirm(std::string_view question, std::string_view title) override {
        return OnWindowThread<bool>([&] { return runner_.dialogs_.confirm(runner_.window_, question, title); });
    }

private:
    // A command that was asked to stop shows no further dialog: it leaves at the step before.
    template <typename Answer, typename Dialog>
    Answer OnWindowThread(Dialog dialog) {
        BetweenSteps();
        Answer answer{};
        QMetaObject::invokeMethod(
            &runner_,
            [&] {
                if (stop_.requested()) return;
                runner_.flushPane();
                answer = dialog();
            },
            Qt::BlockingQueuedConnection);
        BetweenSteps();
        return answer;
    }

    CommandRunner& runner_;
    const StopRequest& stop_;
};

CommandRunner::CommandRunner(QWidget* window, QPlainTextEdit* resultPane, Dialogs& dialogs)
    : window_(window), resultPane_(resultPane), dialogs_(dialogs) {}

CommandRunner::~CommandRunner() { stopAndWait(); }

void CommandRunner::start(const CommandInfo& command, CommandInput input) {
    if (running()) return;
    paneBefore_.reset();
    wrotePane_ = false;
    stopRequest_ = std::make_unique<StopRequest>();
    pane_ = std::make_unique<BufferedPane>();
    interaction_ = std::make_unique<WindowInteraction>(*this, *stopRequest_);
    picture_ = {};
    picture_.radiusOrderLimit = kSpectralRadiusOrderLimit;
    worker_ = std::thread([this, command, input = std::move(input)]() mutable {
        ClearUpperVectorHalves();
        CommandContext context{std::move(input.editorText), *pane_, *interaction_, input.decimalDigits,
                               std::move(input.fields), {}, &picture_};
        CommandEnd end = CommandEnd::Finished;
        try {
            const StopScope scope(*stopRequest_);
            CheckResults checks;
            if (input.withChecks) {
                checks = RunWithChecks(command, context);
            } else {
                command.run(context);
            }
            QMetaObject::invokeMethod(this, [this] { flushPane(); }, Qt::QueuedConnection);
            // The block has computed the radius already; the legend shows that very number.
            if (const std::optional<double>* radius = checks.find("spectral_radius")) {
                picture_.setRadius(*radius);
            } else if (const auto& run = picture_.sweepRun) {
                // For a large system it takes longer than the sweeps: the report is on its way.
                picture_.setRadius(SweepRunRadius(run->method, run->relaxation, run->order, run->system));
            }
        } catch (const CommandStopped&) {
            end = CommandEnd::Stopped;
        } catch (const std::bad_alloc&) {
            end = CommandEnd::OutOfMemory;
        }
        QMetaObject::invokeMethod(
            this, [this, end, focus = context.focusField] { finish(end, focus); }, Qt::QueuedConnection);
    });
    emit started();
}

void CommandRunner::stop() {
    if (running()) stopRequest_->request();
}

void CommandRunner::stopAndWait() {
    if (!running()) return;
    stop();
    QEventLoop loop;
    connect(this, &CommandRunner::ended, &loop, &QEventLoop::quit);
    while (running()) loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void CommandRunner::flushPane() {
    BufferedPane::Changes changes = pane_->take();
    if (!changes.cleared && changes.appended.empty()) return;
    if (!paneBefore_) paneBefore_ = resultPane_->toPlainText();
    const QString text = FromReportText(changes.appended);
    if (changes.cleared) {
        resultPane_->setPlainText(text);
    } else {
        QTextCursor end(resultPane_->document());
        end.movePosition(QTextCursor::End);
        end.insertText(text);
    }
}

void CommandRunner::finish(CommandEnd end, const std::string& focusField) {
    worker_.join();
    if (end == CommandEnd::Finished) {
        flushPane();
        wrotePane_ = paneBefore_.has_value();
    } else {
        pane_->take();
        if (paneBefore_) resultPane_->setPlainText(*paneBefore_);
    }
    paneBefore_.reset();
    if (end == CommandEnd::OutOfMemory) dialogs_.tell(window_, kOutOfMemoryMessage);
    emit ended(end, QString::fromStdString(focusField));
}

}  // namespace koravin
