// Qt's own dialogs as a person sees them: titles, texts, default answers and Chinese buttons.

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/application.h"
#include "ui/dialogs.h"

using namespace koravin;

namespace {

// Runs `look` on the modal dialog once it is up, then presses the button captioned `press`.
void WhenShown(std::function<void(QDialog*)> look, QString press) {
    QTimer::singleShot(0, [look, press] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        look(dialog);
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->text() == press) return button->click();
        }
        dialog->reject();
    });
}

QStringList ButtonCaptions(QDialog* dialog) {
    QStringList captions;
    for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>()) {
        for (QAbstractButton* button : box->buttons()) captions << button->text();
    }
    captions.sort();
    return captions;
}

}  // namespace

class RealDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void aPromptShowsItsTitleTextAndDefault() {
        QtDialogs dialogs;
        QWidget owner;
        WhenShown([](QDialog* dialog) {
            auto* input = qobject_cast<QInputDialog*>(dialog);
            QCOMPARE(input->windowTitle(), QStringLiteral("设置小数数位"));
            QCOMPARE(input->labelText(), QStringLiteral("输入要设置小数数位 n：\n第二行"));
            QCOMPARE(input->textValue(), QStringLiteral("6"));
            QCOMPARE(ButtonCaptions(dialog), (QStringList{"取消", "确定"}));
        }, "确定");
        QCOMPARE(dialogs.ask(&owner, {"输入要设置小数数位 n：\r\n第二行", "设置小数数位", "6"}), std::string("6"));
        WhenShown([](QDialog* dialog) { QCOMPARE(dialog->windowTitle(), QStringLiteral("Koravin")); }, "取消");
        QCOMPARE(dialogs.ask(&owner, {"输入矩阵的阶数 n：", "", "3"}), std::string());
    }

    void aMessageHasOneOkAndNoIcon() {
        QtDialogs dialogs;
        WhenShown([](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QCOMPARE(box->windowTitle(), QStringLiteral("Koravin"));
            QCOMPARE(box->text(), QStringLiteral("结果为空，不能保存#"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(ButtonCaptions(dialog), QStringList{"确定"});
        }, "确定");
        dialogs.tell(nullptr, "结果为空，不能保存#");
    }

    void aQuestionDefaultsToNo() {
        QtDialogs dialogs;
        const auto look = [](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QCOMPARE(box->windowTitle(), QStringLiteral("温馨提示"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            QCOMPARE(ButtonCaptions(dialog), (QStringList{"否(&N)", "是(&Y)"}));
        };
        WhenShown(look, "是(&Y)");
        QVERIFY(dialogs.confirm(nullptr, "文件太大，如果打开可能要等一段时间，是否仍要继续？", "温馨提示"));
        WhenShown(look, "否(&N)");
        QVERIFY(!dialogs.confirm(nullptr, "文件太大，如果打开可能要等一段时间，是否仍要继续？", "温馨提示"));
    }

    void fileDialogsOfferTextFilesThenAllFiles() {
        QtDialogs dialogs;
        WhenShown([](QDialog* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            QCOMPARE(files->nameFilters(), (QStringList{"文本文件(*.txt)", "所有文件(*.*)"}));
            QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
        }, "取消");
        QCOMPARE(dialogs.saveFileName(nullptr, {}), QString());
    }

    // OK without a new choice keeps the panes' font: the substitute family in its regular style.
    void theFontDialogStartsFromThePanesFont() {
        QtDialogs dialogs;
        const QFont panes(QStringLiteral("宋体"), 9);
        QString title;
        QTimer::singleShot(0, [&title] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            title = dialog->windowTitle();
            dialog->accept();
        });
        const std::optional<FontChoice> choice = dialogs.chooseFont(nullptr, {panes, Qt::black});
        QCOMPARE(title, QStringLiteral("字体"));
        QVERIFY(choice);
        QCOMPARE(choice->font.family(), QFontInfo(panes).family());
        QVERIFY(!choice->font.bold());
        QVERIFY(!choice->font.italic());
        QCOMPARE(choice->font.pointSizeF(), 9.0);
    }
};

QTEST_MAIN(RealDialogsTest)
#include "real_dialogs_test.moc"
