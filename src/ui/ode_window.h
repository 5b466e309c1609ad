#pragma once

// The three differential-equation windows UsDi_Euler, UsDi_RungeKutta and UsDi_Adams: f(x, y)
// in Text1, the bounds in Text2 and Text3, the division count in Text4 with its spinner
// UpDown1, the compute button Command1 and the table of two methods side by side in Text5.

#include <memory>

#include <QWidget>

#include "examples/examples.h"
#include "ui/command_runner.h"
#include "ui/paper_job.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace koravin {

class Dialogs;
class PicturePane;

enum class OdeMethod { Euler, RungeKutta, Adams };

class OdeWindow : public QWidget {
    Q_OBJECT
public:
    OdeWindow(OdeMethod method, Dialogs& dialogs, QWidget* parent = nullptr);
    ~OdeWindow() override;

    OdeMethod method() const { return method_; }
    QPlainTextEdit* resultPane() const { return result_; }
    PicturePane* picturePane() const { return picture_; }
    bool commandRunning() const { return runner_->running(); }
    bool paperRunning() const { return paper_->running(); }

    // Command1: runs the window's method on the fields as typed.
    void compute();
    void stopCommand();
    // UpDown1: moves the division count up (positive) or down by `steps`, within 1..32767.
    void stepDivisions(int steps);
    // 示例: fills the fields (and the exact solution, where one is known) and says what to answer.
    void chooseExample(const Example& example);
    // The line beside 示例 that says what to answer for an example until a run ends, and which
    // file 导出PDF… or 导出图片… wrote.
    QString statusLine() const;

    // 打印… and 导出PDF… of the report with its picture; the buttons beside 示例 trigger them.
    QAction* printAction() const { return print_; }
    QAction* exportPdfAction() const { return exportPdf_; }
    void printReport();
    void exportPdf();

signals:
    void commandEnded(koravin::CommandEnd end);
    void paperEnded(koravin::PaperEnd end);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildSpinner();
    QLayout* buildExampleRow();
    void applyDivisionRule();
    int divisionCount() const;
    void enableSpinner();
    void setBusy(bool busy);
    PaperReport paperReport() const;

    const OdeMethod method_;
    Dialogs& dialogs_;
    QLineEdit* function_ = nullptr;
    QLineEdit* lower_ = nullptr;
    QLineEdit* upper_ = nullptr;
    QLineEdit* divisions_ = nullptr;
    QToolButton* stepUp_ = nullptr;
    QToolButton* stepDown_ = nullptr;
    QPushButton* compute_ = nullptr;
    QPlainTextEdit* result_ = nullptr;
    // The picture of both columns under the table, with the exact solution y(x) when one is typed.
    QLineEdit* exact_ = nullptr;
    QCheckBox* checks_ = nullptr;  // the check block under the table
    PicturePane* picture_ = nullptr;
    std::string runExact_;
    QString runEquation_;     // y'=f(x, y) of the running or last run
    QString reportEquation_;  // that of the run whose table the pane holds
    QAction* stop_ = nullptr;
    QAction* print_ = nullptr;
    QAction* exportPdf_ = nullptr;
    QLabel* statusLine_ = nullptr;
    std::unique_ptr<CommandRunner> runner_;
    std::unique_ptr<PaperJob> paper_;
    // Disabling the focused Command1 pushes the focus on; it comes back when the run ends.
    bool computeHadFocus_ = false;
};

}  // namespace koravin
