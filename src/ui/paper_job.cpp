#include "ui/paper_job.h"

#include <QDate>
#include <QEventLoop>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProgressBar>
#include <QSaveFile>
#include <QWidget>

#include "ui/dialogs.h"
#include "ui/picture_pane.h"

namespace koravin {
namespace {

class PdfFile : public PaperJob::Target {
public:
    PdfFile(QString fileName, QString title) : fileName_(std::move(fileName)), title_(std::move(title)) {}

    QPagedPaintDevice* open() override {
        file_ = std::make_unique<QSaveFile>(fileName_);
        if (!file_->open(QIODevice::WriteOnly)) return nullptr;
        writer_ = std::make_unique<QPdfWriter>(file_.get());
        writer_->setTitle(title_);
        writer_->setCreator(QStringLiteral("Koravin"));
        writer_->setPageSize(QPageSize(QPageSize::A4));
        return writer_.get();
    }

    bool close(bool complete) override {
        writer_.reset();
        if (file_ == nullptr) return false;
        if (!complete) {
            file_->cancelWriting();
            return false;
        }
        return file_->flush() && file_->commit();
    }

private:
    QString fileName_;
    QString title_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
};

class Printer : public PaperJob::Target {
public:
    explicit Printer(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}
    QPagedPaintDevice* open() override { return printer_.get(); }
    bool close(bool complete) override {
        if (!complete) printer_->abort();
        return complete;
    }

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace

QString PaperDate() { return QDate::currentDate().toString(Qt::ISODate); }

QImage ShownPicture(PicturePane* picture) {
    if (picture == nullptr || !picture->isVisible() || picture->isEmpty()) return {};
    constexpr int kScale = 3;
    QImage image(picture->size() * kScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(kScale, kScale);
    picture->render(&painter);
    return image;
}

void ShowPagesDone(const PaperJob& job, QProgressBar* bar) {
    bar->hide();
    QObject::connect(&job, &PaperJob::started, bar, [bar] {
        bar->setRange(0, 0);
        bar->show();
    });
    QObject::connect(&job, &PaperJob::progressed, bar, [bar](int page, int pageCount) {
        bar->setRange(0, pageCount);
        bar->setValue(page);
    });
    QObject::connect(&job, &PaperJob::ended, bar, &QWidget::hide);
}

PaperJob::PaperJob(QWidget* window, Dialogs& dialogs) : window_(window), dialogs_(dialogs) {}

PaperJob::~PaperJob() { stopAndWait(); }

void PaperJob::exportPdf(PaperReport report) {
    if (running()) return;
    const QString name = dialogs_.savePdfName(window_, pdfName_);
    if (name.isEmpty()) return;
    pdfName_ = name;
    const QString title = report.title;
    start(std::move(report), std::make_unique<PdfFile>(name, title));
}

void PaperJob::print(PaperReport report) {
    if (running()) return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(report.title);
    if (!dialogs_.setUpPrinter(window_, *printer)) return;
    start(std::move(report), std::make_unique<Printer>(std::move(printer)));
}

void PaperJob::start(PaperReport report, std::unique_ptr<Target> target) {
    stopRequested_ = false;
    worker_ = std::thread([this, report = std::move(report), target = std::move(target)] {
        PaperEnd end = PaperEnd::Failed;
        if (QPagedPaintDevice* device = target->open()) {
            const bool painted = PaintReport(*device, report, [this](int page, int pageCount) {
                emit progressed(page, pageCount);
                return !stopRequested_;
            });
            const bool closed = target->close(painted);
            end = closed ? PaperEnd::Written : stopRequested_ ? PaperEnd::Stopped : PaperEnd::Failed;
        }
        QMetaObject::invokeMethod(this, [this, end] { finish(end); }, Qt::QueuedConnection);
    });
    emit started();
}

void PaperJob::finish(PaperEnd end) {
    worker_.join();
    if (end == PaperEnd::Failed) dialogs_.tell(window_, "操作有误#");
    emit ended(end);
}

void PaperJob::stopAndWait() {
    if (!running()) return;
    stop();
    QEventLoop loop;
    connect(this, &PaperJob::ended, &loop, &QEventLoop::quit);
    while (running()) loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace koravin
