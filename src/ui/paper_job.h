#pragma once

// 打印… and 导出PDF… of a window: the print or save dialog on the window's thread, then the
// pages painted on a worker thread, so that a report of many megabytes goes to paper while the
// window keeps answering, shows the pages done, and can stop. A stopped or failed export leaves
// an existing file as it was.

#include <atomic>
#include <memory>
#include <thread>

#include <QObject>
#include <QString>

#include "ui/report_paper.h"

class QPagedPaintDevice;
class QProgressBar;
class QWidget;

namespace koravin {

class Dialogs;
class PicturePane;

enum class PaperEnd { Written, Stopped, Failed };

class PaperJob : public QObject {
    Q_OBJECT
public:
    PaperJob(QWidget* window, Dialogs& dialogs);
    ~PaperJob() override;

    bool running() const { return worker_.joinable(); }
    // Ask for a PDF file name (remembering the last one) and write the report there.
    void exportPdf(PaperReport report);
    // The print dialog, then the report onto the printer chosen there.
    void print(PaperReport report);
    void stop() { stopRequested_ = true; }
    // The file the running or last job writes: the PDF, or the file the printer prints to; ""
    // for paper.
    QString fileName() const { return fileName_; }
    // Stops the job and returns once it has ended.
    void stopAndWait();

    // Where the pages go; made and finished on the worker thread.
    class Target {
    public:
        virtual ~Target() = default;
        virtual QPagedPaintDevice* open() = 0;
        // Whether what was painted is now where it belongs; `complete` is false after a stop.
        virtual bool close(bool complete) = 0;
    };

signals:
    void started();
    void progressed(int page, int pageCount);
    void ended(koravin::PaperEnd end);

private:
    void start(PaperReport report, std::unique_ptr<Target> target);
    void finish(PaperEnd end);

    QWidget* window_;
    Dialogs& dialogs_;
    QString pdfName_;
    QString fileName_;
    std::atomic<bool> stopRequested_ = false;
    std::thread worker_;
};

// Today's date as the header line shows it.
QString PaperDate();

// The picture pane as it is on screen, at three times its size so that it prints sharply; a null
// image when there is no picture or it is hidden.
QImage ShownPicture(PicturePane* picture);

// The bar, hidden between jobs, counts the pages of the running job.
void ShowPagesDone(const PaperJob& job, QProgressBar* bar);

}  // namespace koravin
