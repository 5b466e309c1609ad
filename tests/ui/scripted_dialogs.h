#pragma once

// Dialogs that answer from a script and write down what they were asked, one trace line each:
// the command dialogs as koravin-cli --trace writes them, the file dialogs as
// "open-file<TAB>remembered", "save-file<TAB>remembered", "save-pdf<TAB>remembered" and "print".

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QStringList>

#include "command/scripted_interaction.h"
#include "ui/dialogs.h"

namespace koravin::testing {

class ScriptedDialogs : public Dialogs {
public:
    // Replies answer the prompts in order, then Cancel; answers the questions, then Yes; file
    // names the file dialogs, then Cancel.
    void script(std::vector<std::string> replies, std::vector<bool> answers = {}, QStringList fileNames = {});

    std::string ask(QWidget* owner, const Prompt& prompt) override;
    void tell(QWidget* owner, std::string_view message) override;
    bool confirm(QWidget* owner, std::string_view question, std::string_view title) override;
    QString openFileName(QWidget* owner, const QString& remembered) override;
    QString saveFileName(QWidget* owner, const QString& remembered) override;
    QString savePdfName(QWidget* owner, const QString& remembered) override;
    // "print": the printer writes a PDF file, the next file name; Cancel when there is none.
    bool setUpPrinter(QWidget* owner, QPrinter& printer) override;
    std::optional<FontChoice> chooseFont(QWidget* owner, const FontChoice& current) override;
    std::optional<QColor> chooseColor(QWidget* owner, const QColor& current) override;

    // The trace lines since the last script, joined by "\n".
    std::string trace() const;

    std::optional<FontChoice> fontChoice;
    std::optional<QColor> colorChoice;
    // Runs while each dialog is up, before it is answered.
    std::function<void()> whileShown;

private:
    void shown(std::string line);
    QString nextFileName();

    ScriptedInteraction answers_{{}, {}};
    std::deque<QString> fileNames_;
    std::vector<std::string> trace_;
};

}  // namespace koravin::testing
