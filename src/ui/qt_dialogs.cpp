#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs.h"
#include "ui/pane_text.h"

namespace koravin {
namespace {

QString DialogText(std::string_view text) { return FromReportText(text); }

QString TitleOrApplicationTitle(std::string_view title) {
    return DialogText(title.empty() ? kApplicationTitle : title);
}

// The font dialog with a text colour beside the effects, as the panes take both at once.
class FontAndColorDialog : public QDialog {
public:
    FontAndColorDialog(QWidget* owner, const FontChoice& current) : QDialog(owner), color_(current.color) {
        setWindowTitle(QStringLiteral("字体"));
        fonts_ = new QFontDialog(current.font, this);
        fonts_->setWindowFlags(Qt::Widget);
        fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);

        auto* colorLabel = new QLabel(QStringLiteral("颜色(&C):"), this);
        colorButton_ = new QPushButton(this);
        colorButton_->setAccessibleName(QStringLiteral("颜色"));
        colorLabel->setBuddy(colorButton_);
        showColor();
        connect(colorButton_, &QPushButton::clicked, this, [this] {
            const QColor chosen = QColorDialog::getColor(color_, this, QStringLiteral("颜色"));
            if (chosen.isValid()) {
                color_ = chosen;
                showColor();
            }
        });

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* colorRow = new QHBoxLayout;
        colorRow->addWidget(colorLabel);
        colorRow->addWidget(colorButton_);
        colorRow->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(fonts_);
        layout->addLayout(colorRow);
        layout->addWidget(buttons);
    }

    FontChoice choice() const { return {fonts_->currentFont(), color_}; }

private:
    void showColor() {
        QPixmap swatch(32, 16);
        swatch.fill(color_);
        colorButton_->setIcon(QIcon(swatch));
        colorButton_->setText(color_.name());
    }

    QFontDialog* fonts_;
    QPushButton* colorButton_;
    QColor color_;
};

// `suffix` is added to a name typed without one when saving.
QString FileName(QWidget* owner, const QString& remembered, QFileDialog::AcceptMode mode, const QString& title,
                 const QString& filter, const QString& suffix) {
    const bool saving = mode == QFileDialog::AcceptSave;
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (saving) dialog.setDefaultSuffix(suffix);
    if (!remembered.isEmpty()) dialog.selectFile(remembered);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString ShownFileName(const QString& fileName) { return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()); }

std::string QtDialogs::ask(QWidget* owner, const Prompt& prompt) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(TitleOrApplicationTitle(prompt.title));
    dialog.setLabelText(DialogText(prompt.text));
    dialog.setTextValue(DialogText(prompt.defaultReply));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

void QtDialogs::tell(QWidget* owner, std::string_view message) {
    QMessageBox box(QMessageBox::NoIcon, TitleOrApplicationTitle({}), DialogText(message), QMessageBox::Ok, owner);
    box.exec();
}

bool QtDialogs::confirm(QWidget* owner, std::string_view question, std::string_view title) {
    QMessageBox box(QMessageBox::Question, TitleOrApplicationTitle(title), DialogText(question),
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::openFileName(QWidget* owner, const QString& remembered) {
    return FileName(owner, remembered, QFileDialog::AcceptOpen, QStringLiteral("打开"), kDocumentFilter, {});
}

QString QtDialogs::saveFileName(QWidget* owner, const QString& remembered) {
    return FileName(owner, remembered, QFileDialog::AcceptSave, QStringLiteral("另存为"), kDocumentFilter,
                    QStringLiteral("txt"));
}

QString QtDialogs::savePdfName(QWidget* owner, const QString& remembered) {
    return FileName(owner, remembered, QFileDialog::AcceptSave, QStringLiteral("导出PDF"), kPdfFilter,
                    QStringLiteral("pdf"));
}

bool QtDialogs::setUpPrinter(QWidget* owner, QPrinter& printer) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<FontChoice> QtDialogs::chooseFont(QWidget* owner, const FontChoice& current) {
    // A family such as "宋体" that is drawn by a substitute is offered as the substitute, in the
    // style it is drawn with (without one the dialog takes the first it lists, "Bold"), so that
    // OK without a new choice keeps the panes as they are.
    FontChoice shown = current;
    const QFontInfo drawn(current.font);
    shown.font.setFamily(drawn.family());
    shown.font.setStyleName(drawn.styleName());
    FontAndColorDialog dialog(owner, shown);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* owner, const QColor& current) {
    const QColor chosen = QColorDialog::getColor(current, owner, QStringLiteral("背景色"));
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

}  // namespace koravin
