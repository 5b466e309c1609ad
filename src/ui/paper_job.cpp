#include "ui/paper_job.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QEventLoop>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProgressBar>
#include <QSaveFile>
#include <QWidget>

#include "ui/dialogs.h"
#include "ui/pdf_text.h"
#include "ui/picture_pane.h"

namespace koravin {
namespace {

// Replaces the file with `bytes` whole, or leaves it as it was.
bool WriteWhole(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    // commit() alone can report success after a write that failed.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// The PDF is written into memory, so that its text can be corrected before it becomes the file.
class PdfFile : public PaperJob::Target {
public:
    PdfFile(QString fileName, const PaperReport& report)
        : fileName_(std::move(fileName)), title_(report.title), painted_(PaintedText(report)), font_(report.font) {}

    QPagedPaintDevice* open() override {
        if (!buffer_.open(QIODevice::WriteOnly)) return nullptr;
        writer_ = std::make_unique<QPdfWriter>(&buffer_);
        writer_->setTitle(title_);
        writer_->setCreator(QStringLiteral("Koravin"));
        writer_->setPageSize(QPageSize(QPageSize::A4));
        return writer_.get();
    }

    bool close(bool complete) override {
        writer_.reset();
        if (!complete) return false;
        return WriteWhole(fileName_, WithCorrectedText(buffer_.data(), GlyphNameCorrections(painted_, font_)));
    }

private:
    QString fileName_;
    QString title_;
    QString painted_;
    QFont font_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> writer_;
};

class Printer : public PaperJob::Target {
public:
    Printer(std::unique_ptr<QPrinter> printer, const PaperReport& report)
        : printer_(std::move(printer)), painted_(PaintedText(report)), font_(report.font) {}
    QPagedPaintDevice* open() override { return printer_.get(); }
    bool close(bool complete) override {
        if (!complete) {
            printer_->abort();
            return false;
        }
        // Printed to a PDF file, it is a PDF the program wrote: its text is corrected as an export's.
        const QString fileName = printer_->outputFileName();
        if (printer_->outputFormat() != QPrinter::PdfFormat || fileName.isEmpty()) return true;
        printer_.reset();
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray written = file.readAll();
        file.close();
        const QByteArray corrected = WithCorrectedText(written, GlyphNameCorrections(painted_, font_));
        return corrected == written || WriteWhole(fileName, corrected);
    }

private:
    std::unique_ptr<QPrinter> printer_;
    QString painted_;
    QFont font_;
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
    fileName_ = name;
    auto target = std::make_unique<PdfFile>(name, report);
    start(std::move(report), std::move(target));
}

void PaperJob::print(PaperReport report) {
    if (running()) return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(report.title);
    if (!dialogs_.setUpPrinter(window_, *printer)) return;
    fileName_ = printer->outputFormat() == QPrinter::PdfFormat ? printer->outputFileName() : QString();
    auto target = std::make_unique<Printer>(std::move(printer), report);
    start(std::move(report), std::move(target));
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
