// The file commands of the workspaces: new, open, save and save as. Opening loads the editor
// pane; saving writes the result pane.

#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSaveFile>
#include <QTextCursor>

#include "command/document_text.h"
#include "numbers/text_utilities.h"
#include "ui/dialogs.h"
#include "ui/example_menu.h"
#include "ui/pane_text.h"
#include "ui/workspace_window.h"

namespace koravin {
namespace {

constexpr qint64 kLargestQuietOpen = 1500;
// Loading is shown on the progress bar in pieces of this many characters.
constexpr qsizetype kLoadPiece = 64 * 1024;

std::string_view Bytes(const QByteArray& bytes) { return {bytes.constData(), static_cast<std::size_t>(bytes.size())}; }

// The first line that holds more than blanks, as the file holds it; nothing when there is none.
std::optional<std::string> FirstNonBlankLine(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = text.substr(0, end);
        if (!TrimBlanks(line).empty()) return std::string(line);
        text.remove_prefix(end);
        if (text.starts_with("\r\n")) text.remove_prefix(2);
        else if (!text.empty()) text.remove_prefix(1);
    }
    return std::nullopt;
}

}  // namespace

void WorkspaceWindow::newDocument() {
    editor_->clear();
    result_->clear();
    if (kind_ == WorkspaceKind::Linear) setStatus(QStringLiteral("状态"));
}

void WorkspaceWindow::fileFailed(const char* message) {
    dialogs_.tell(this, message);
    openDialogName_.clear();
}

void WorkspaceWindow::openDocument() {
    const QString name = dialogs_.openFileName(this, openDialogName_);
    if (name.isEmpty()) {
        dialogs_.tell(this, "没有打开任何文件。");
        openDialogName_.clear();
        return;
    }
    openDialogName_ = name;
    const char* failure = kind_ == WorkspaceKind::Linear ? "操作有误#" : "操作有误！";
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return fileFailed(failure);

    if (kind_ == WorkspaceKind::Nonlinear) {
        editor_->clear();
        result_->clear();
        const QByteArray bytes = file.readAll();
        const std::optional<std::string> line = FirstNonBlankLine(DecodeDocument(Bytes(bytes)));
        if (file.error() != QFileDevice::NoError || !line) return fileFailed(failure);
        editor_->setPlainText(QString::fromStdString(*line));
    } else {
        const qint64 size = file.size();
        if (size > kLargestQuietOpen &&
            !dialogs_.confirm(this, "文件太大，如果打开可能要等一段时间，是否仍要继续？", "温馨提示")) {
            editor_->setPlainText(QString::number(size));
            return;
        }
        editor_->clear();
        result_->clear();
        if (size == 0) {
            dialogs_.tell(this, "文件为空，请重新选择文件！");
            return;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError || bytes.size() != size) return fileFailed(failure);
        loadDocumentText(bytes);
    }
    openedText_ = editor_->toPlainText();
    savedName_.clear();
    setStatus(ShownFileName(name));
}

// The editor fills piece by piece while the progress bar under it counts the bytes.
void WorkspaceWindow::loadDocumentText(const QByteArray& bytes) {
    const QString text = FromReportText(DecodeDocument(Bytes(bytes)));
    const int byteCount = static_cast<int>(std::min<qsizetype>(bytes.size(), INT_MAX));
    progress_->setRange(0, byteCount);
    progress_->setValue(0);
    progress_->show();
    QTextCursor end(editor_->document());
    for (qsizetype start = 0; start < text.size();) {
        qsizetype length = std::min(kLoadPiece, text.size() - start);
        if (start + length < text.size() && text.at(start + length - 1).isHighSurrogate()) ++length;
        end.movePosition(QTextCursor::End);
        end.insertText(text.mid(start, length));
        start += length;
        progress_->setValue(static_cast<int>(static_cast<double>(byteCount) * static_cast<double>(start) /
                                             static_cast<double>(text.size())));
        progress_->repaint();
    }
    progress_->setValue(0);
    progress_->hide();
}

bool WorkspaceWindow::editorHoldsOnlyKnownText() const {
    const QString text = editor_->toPlainText();
    if (text.trimmed().isEmpty() || text == openedText_) return true;
    return std::any_of(examples_.begin(), examples_.end(),
                       [&text](const Example& example) { return FromReportText(example.editorText) == text; });
}

void WorkspaceWindow::chooseExample(const Example& example) {
    if (!editorHoldsOnlyKnownText() &&
        !dialogs_.confirm(this, "编辑区中的内容没有保存，要用示例替换它吗？", "示例")) {
        return;
    }
    editor_->setPlainText(FromReportText(example.editorText));
    QString hint = QStringLiteral("选择 ") + MenuPath(findChild<QAction*>(QString::fromStdString(example.command)));
    if (!example.hint.empty()) hint += QStringLiteral("，") + FromReportText(example.hint);
    exampleHint_ = hint;
    setStatus(hint);
}

bool WorkspaceWindow::writeResult(const QString& fileName) {
    // The old file stays whole until the new one is written completely. A write that fails
    // half way shows only when the buffer is flushed: commit() alone would still replace the old
    // file by the truncated new one.
    QSaveFile file(fileName);
    const std::string text = PaneText(*result_);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.flush() || !file.commit()) {
        dialogs_.tell(this, "操作有误#");
        return false;
    }
    setStatus(ShownFileName(fileName));
    return true;
}

void WorkspaceWindow::saveResult() {
    if (result_->document()->isEmpty()) {
        dialogs_.tell(this, "结果为空，不能保存#");
        return;
    }
    if (saveDialogName_.isEmpty() || savedName_.isEmpty()) saveDialogName_ = dialogs_.saveFileName(this, saveDialogName_);
    savedName_ = saveDialogName_;
    if (savedName_.isEmpty()) {
        dialogs_.tell(this, "你没有存盘,数据没有被保存下来#");
        return;
    }
    writeResult(savedName_);
}

void WorkspaceWindow::saveResultAs() {
    openDialogName_.clear();
    const QString name = dialogs_.saveFileName(this, openDialogName_);
    if (name.isEmpty()) {
        dialogs_.tell(this, "没有保存文件。");
        return;
    }
    openDialogName_ = name;
    writeResult(name);
}

}  // namespace koravin
