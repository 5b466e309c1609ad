#include "ui/scripted_dialogs.h"

#include <QPrinter>

namespace koravin::testing {

void ScriptedDialogs::script(std::vector<std::string> replies, std::vector<bool> answers, QStringList fileNames) {
    answers_ = ScriptedInteraction(std::move(replies), std::move(answers));
    answers_.onEvent([this](const InteractionEvent& event) { shown(TraceLine(event)); });
    fileNames_.assign(fileNames.begin(), fileNames.end());
    trace_.clear();
}

void ScriptedDialogs::shown(std::string line) {
    trace_.push_back(std::move(line));
    if (whileShown) whileShown();
}

std::string ScriptedDialogs::ask(QWidget*, const Prompt& prompt) { return answers_.ask(prompt); }

void ScriptedDialogs::tell(QWidget*, std::string_view message) { answers_.tell(message); }

bool ScriptedDialogs::confirm(QWidget*, std::string_view question, std::string_view title) {
    return answers_.confirm(question, title);
}

QString ScriptedDialogs::nextFileName() {
    if (fileNames_.empty()) return {};
    QString name = fileNames_.front();
    fileNames_.pop_front();
    return name;
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& remembered) {
    shown("open-file\t" + remembered.toStdString());
    return nextFileName();
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString& remembered) {
    shown("save-file\t" + remembered.toStdString());
    return nextFileName();
}

QString ScriptedDialogs::savePdfName(QWidget*, const QString& remembered) {
    shown("save-pdf\t" + remembered.toStdString());
    return nextFileName();
}

bool ScriptedDialogs::setUpPrinter(QWidget*, QPrinter& printer) {
    shown("print");
    const QString name = nextFileName();
    if (name.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(name);
    return true;
}

std::optional<FontChoice> ScriptedDialogs::chooseFont(QWidget*, const FontChoice&) {
    shown("font");
    return fontChoice;
}

std::optional<QColor> ScriptedDialogs::chooseColor(QWidget*, const QColor&) {
    shown("color");
    return colorChoice;
}

std::string ScriptedDialogs::trace() const {
    std::string text;
    for (const std::string& line : trace_) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

}  // namespace koravin::testing
