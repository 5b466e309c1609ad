#pragma once

// Every dialog a window opens goes through Dialogs: Qt's own dialogs for a person, scripted
// answers in the tests.

#include <optional>
#include <string>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QString>

#include "command/interaction.h"

class QPrinter;
class QWidget;

namespace koravin {

// The two entries of every document dialog: text files, all files.
inline const QString kDocumentFilter = QStringLiteral("文本文件(*.txt);;所有文件(*.*)");
inline const QString kPdfFilter = QStringLiteral("PDF文件(*.pdf);;所有文件(*.*)");

// A file's name as the windows show it once it is opened or written: absolute, with this
// platform's separators.
QString ShownFileName(const QString& fileName);

// What the font dialog delivers: the font with its effects, and the text colour.
struct FontChoice {
    QFont font;
    QColor color;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An input prompt; Cancel answers "".
    virtual std::string ask(QWidget* owner, const Prompt& prompt) = 0;
    // A message box: one OK button, no icon, the application's title.
    virtual void tell(QWidget* owner, std::string_view message) = 0;
    // Yes and No, No the default; true for Yes.
    virtual bool confirm(QWidget* owner, std::string_view question, std::string_view title) = 0;

    // A file name to open, or to save to; "" when the person cancels.
    virtual QString openFileName(QWidget* owner, const QString& remembered) = 0;
    virtual QString saveFileName(QWidget* owner, const QString& remembered) = 0;
    // A PDF file name to export to; "" when the person cancels.
    virtual QString savePdfName(QWidget* owner, const QString& remembered) = 0;
    // The print dialog on `printer`; false when the person cancels.
    virtual bool setUpPrinter(QWidget* owner, QPrinter& printer) = 0;

    virtual std::optional<FontChoice> chooseFont(QWidget* owner, const FontChoice& current) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* owner, const QColor& current) = 0;
};

// Qt's dialogs, modal to their owner's window.
class QtDialogs : public Dialogs {
public:
    std::string ask(QWidget* owner, const Prompt& prompt) override;
    void tell(QWidget* owner, std::string_view message) override;
    bool confirm(QWidget* owner, std::string_view question, std::string_view title) override;
    QString openFileName(QWidget* owner, const QString& remembered) override;
    QString saveFileName(QWidget* owner, const QString& remembered) override;
    QString savePdfName(QWidget* owner, const QString& remembered) override;
    bool setUpPrinter(QWidget* owner, QPrinter& printer) override;
    std::optional<FontChoice> chooseFont(QWidget* owner, const FontChoice& current) override;
    std::optional<QColor> chooseColor(QWidget* owner, const QColor& current) override;
};

}  // namespace koravin
