// The display commands (font, background colour, decimal places, defaults) and the edit
// commands of the workspaces.

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "matrix/report.h"
#include "ui/dialogs.h"
#include "ui/workspace_window.h"

namespace koravin {
namespace {

constexpr int kDefaultFontSize = 9;

QString SelectedText(const QPlainTextEdit& pane) {
    QString text = pane.textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

}  // namespace

void WorkspaceWindow::showPaneStyle() {
    for (QPlainTextEdit* pane : {editor_, result_}) {
        pane->setFont(paneFont_);
        QPalette palette = pane->palette();
        palette.setColor(QPalette::Text, textColor_);
        palette.setColor(QPalette::Base, backgroundColor_);
        pane->setPalette(palette);
    }
}

void WorkspaceWindow::chooseFont() {
    const std::optional<FontChoice> choice = dialogs_.chooseFont(this, {paneFont_, textColor_});
    if (!choice) return;
    QFont font = paneFont_;
    if (!choice->font.family().trimmed().isEmpty()) font.setFamily(choice->font.family());
    font.setPointSizeF(choice->font.pointSizeF());
    font.setBold(choice->font.bold());
    font.setItalic(choice->font.italic());
    font.setStrikeOut(choice->font.strikeOut());
    font.setUnderline(choice->font.underline());
    paneFont_ = font;
    textColor_ = choice->color;
    showPaneStyle();
}

void WorkspaceWindow::chooseBackgroundColor() {
    const std::optional<QColor> color = dialogs_.chooseColor(this, backgroundColor_);
    if (!color) return;
    backgroundColor_ = *color;
    showPaneStyle();
}

void WorkspaceWindow::askDecimalDigits() {
    const std::string reply =
        dialogs_.ask(this, {"输入要设置小数数位 n：", "设置小数数位", std::to_string(decimalDigits_)});
    decimalDigits_ = DecimalDigitsFromReply(reply);
}

void WorkspaceWindow::restoreDefaultDisplay() {
    QFont font(kind_ == WorkspaceKind::Linear ? QStringLiteral("宋体") : paneFont_.family(), kDefaultFontSize);
    paneFont_ = font;
    textColor_ = QApplication::palette().color(QPalette::Text);
    backgroundColor_ = QApplication::palette().color(QPalette::Base);
    if (kind_ == WorkspaceKind::Linear) decimalDigits_ = 6;
    showPaneStyle();
}

void WorkspaceWindow::copySelection() { QApplication::clipboard()->setText(SelectedText(*editor_)); }

void WorkspaceWindow::cutSelection() {
    copySelection();
    editor_->textCursor().removeSelectedText();
}

void WorkspaceWindow::pasteClipboard() { editor_->textCursor().insertText(QApplication::clipboard()->text()); }

void WorkspaceWindow::selectAllText() { editor_->selectAll(); }

// One character after the caret, unless something is selected; a line end goes whole.
void WorkspaceWindow::deleteForward() {
    QTextCursor cursor = editor_->textCursor();
    if (!cursor.hasSelection()) {
        if (cursor.atEnd()) return;
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
    editor_->setTextCursor(cursor);
}

}  // namespace koravin
