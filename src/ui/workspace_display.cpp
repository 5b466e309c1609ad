// The display commands (font, background colour, decimal places, defaults) and the edit
// commands of the workspaces.

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "numbers/number_conversions.h"
#include "ui/dialogs.h"
#include "ui/workspace_window.h"

namespace koravin {
namespace {

constexpr int kFewestDecimalDigits = 1;
constexpr int kMostDecimalDigits = 16;
constexpr int kDefaultFontSize = 9;

// The reply read as an integer, kept within 1 to 16; a value beyond the 16-bit range lands on
// the nearer end.
int DecimalDigitsFromReply(std::string_view reply) {
    const double value = ReadLeadingNumber(reply);
    const std::optional<std::int16_t> wanted = ToInteger16(value);
    if (!wanted) return value > 0 ? kMostDecimalDigits : kFewestDecimalDigits;
    return std::clamp<int>(*wanted, kFewestDecimalDigits, kMostDecimalDigits);
}

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
