#include "ui/report_paper.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace koravin {
namespace {

constexpr char16_t kFirstWideCharacter = 0x3400;
constexpr qreal kHeaderPointSize = 8;
constexpr qreal kPageMarginMillimetres = 15;

QString PageNumberLine(int page, int pageCount) { return QStringLiteral("第 %1 页 / 共 %2 页").arg(page).arg(pageCount); }

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// The pane holds LF between lines; a report copied from elsewhere may hold CR LF.
QStringList ReportLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    }
    if (lines.size() > 1 && lines.constLast().isEmpty()) lines.removeLast();
    return lines;
}

qreal PointSizeOf(const QFont& font) { return font.pointSizeF() > 0 ? font.pointSizeF() : 9; }

// A size that fits `width` into `room`, rounded down to a hundredth of a point so that it fits.
qreal ShrunkSize(qreal pointSize, qreal width, qreal room) { return std::floor(pointSize * room / width * 100) / 100; }

qreal PrintableWidth(const QPagedPaintDevice& device, QPageLayout::Orientation orientation) {
    QPageLayout layout = device.pageLayout();
    layout.setOrientation(orientation);
    return layout.paintRectPixels(device.logicalDpiX()).width();
}

QFont Resized(QFont font, qreal pointSize) {
    font.setPointSizeF(pointSize);
    return font;
}

// The font as the paper draws it: each character with the glyph the font's character map gives
// it. Shaping may draw a character with a glyph the map does not reach (an ellipsis after a
// letter), and such a glyph has no character in the PDF's text; a report's columns want no
// kerning either.
QFont Unshaped(QFont font) {
    font.setStyleStrategy(static_cast<QFont::StyleStrategy>(font.styleStrategy() | QFont::PreferNoShaping));
    return font;
}

class PagePainter {
public:
    PagePainter(QPainter& painter, const PaperReport& report, const QFont& body, QPaintDevice* device)
        : painter_(painter), report_(report), body_(body), bodyMetrics_(body, device),
          header_(Resized(body, kHeaderPointSize)), headerMetrics_(header_, device),
          area_(0, 0, device->width(), device->height()), margin_(headerMetrics_.lineSpacing() * 1.6) {}

    int linesPerPage() const {
        const qreal room = area_.height() - 2 * margin_;
        return std::max(1, static_cast<int>(room / bodyMetrics_.lineSpacing()));
    }

    // The header line and the rule under it, the page number at the foot.
    void frame(int page, int pageCount) {
        painter_.setFont(header_);
        const qreal line = headerMetrics_.lineSpacing();
        const QRectF top(area_.left(), area_.top(), area_.width(), line);
        painter_.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, report_.title);
        painter_.drawText(top, Qt::AlignRight | Qt::AlignVCenter, report_.date);
        // The input stands centred between the two, so it may take twice the room the wider leaves.
        const qreal sides = 2 * std::max(headerMetrics_.horizontalAdvance(report_.title),
                                         headerMetrics_.horizontalAdvance(report_.date)) +
                            4 * headerMetrics_.averageCharWidth();
        painter_.drawText(top, Qt::AlignHCenter | Qt::AlignVCenter,
                          headerMetrics_.elidedText(report_.firstLine, Qt::ElideRight,
                                                    std::max<qreal>(0, area_.width() - sides)));
        painter_.drawLine(QPointF(area_.left(), line * 1.3), QPointF(area_.right(), line * 1.3));
        painter_.drawText(QRectF(area_.left(), area_.bottom() - line, area_.width(), line),
                          Qt::AlignHCenter | Qt::AlignVCenter,
                          PageNumberLine(page, pageCount));
    }

    void lines(const std::vector<QString>& lines, std::size_t first, std::size_t count) {
        painter_.setFont(body_);
        qreal baseline = area_.top() + margin_ + bodyMetrics_.ascent();
        for (std::size_t i = first; i < std::min(lines.size(), first + count); ++i) {
            painter_.drawText(QPointF(area_.left(), baseline), lines[i]);
            baseline += bodyMetrics_.lineSpacing();
        }
    }

    void picture() {
        const QRectF room(area_.left(), area_.top() + margin_, area_.width(), area_.height() - 2 * margin_);
        QSizeF size = report_.picture.size();
        size.scale(room.size(), Qt::KeepAspectRatio);
        painter_.drawImage(QRectF(room.topLeft(), size), report_.picture);
    }

private:
    QPainter& painter_;
    const PaperReport& report_;
    QFont body_;
    QFontMetricsF bodyMetrics_;
    QFont header_;
    QFontMetricsF headerMetrics_;
    QRectF area_;
    qreal margin_;  // above the first line for the header, below the last for the page number
};

}  // namespace

TextWidths::TextWidths(const QFont& font, QPaintDevice* device)
    : font_(font), device_(device), pointSize_(PointSizeOf(font)), basic_(kFirstWideCharacter, -1) {
    wide_ = QFontMetricsF(font_, device_).horizontalAdvance(QChar(0x4E2D));
}

qreal TextWidths::width(QStringView text) {
    qreal sum = 0;
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (c >= kFirstWideCharacter) {
            if (!IsLowSurrogate(c)) sum += wide_;
            continue;
        }
        if (basic_[c] < 0) basic_[c] = QFontMetricsF(font_, device_).horizontalAdvance(character);
        sum += basic_[c];
    }
    return sum;
}

PaperFit FitToPage(qreal widest, qreal pointSize, qreal portraitWidth, qreal landscapeWidth) {
    if (widest <= portraitWidth) return {QPageLayout::Portrait, pointSize, 0};
    if (const qreal size = ShrunkSize(pointSize, widest, portraitWidth); size >= kSmallestPaperPointSize) {
        return {QPageLayout::Portrait, size, 0};
    }
    if (widest <= landscapeWidth) return {QPageLayout::Landscape, pointSize, 0};
    if (const qreal size = ShrunkSize(pointSize, widest, landscapeWidth); size >= kSmallestPaperPointSize) {
        return {QPageLayout::Landscape, size, 0};
    }
    return {QPageLayout::Landscape, kSmallestPaperPointSize, landscapeWidth};
}

std::vector<QString> BreakLine(const QString& line, qreal breakWidth, TextWidths& widths, qreal pointSize) {
    std::vector<QString> parts;
    const qsizetype length = line.size();
    const qreal markWidth = widths.width(kContinuationMark, pointSize);
    qsizetype start = 0;
    while (true) {
        const qreal room = parts.empty() ? breakWidth : breakWidth - markWidth;
        qreal used = 0;
        qsizetype lastBlank = -1;
        qsizetype i = start;
        for (; i < length; ++i) {
            const qreal width = widths.width(QStringView(line).mid(i, 1), pointSize);
            if (used + width > room) break;
            if (line[i] == QLatin1Char(' ') && i > start) lastBlank = i;
            used += width;
        }
        qsizetype end = length;
        if (i < length) end = lastBlank > start ? lastBlank : std::max(i, start + 1);
        // A cut between the two halves of a surrogate pair would leave neither half printable.
        if (end < length && line[end].isLowSurrogate() && end > start + 1) --end;
        const QString part = line.mid(start, end - start);
        parts.push_back(parts.empty() ? part : kContinuationMark + part);
        start = end;
        while (start < length && line[start] == QLatin1Char(' ')) ++start;
        if (start >= length) break;
    }
    return parts;
}

QString PaintedText(const PaperReport& report) {
    return report.title + report.firstLine + report.date + PageNumberLine(1234567890, 0) + kContinuationMark +
           report.text;
}

bool PaintReport(QPagedPaintDevice& device, const PaperReport& report, const std::function<bool(int, int)>& onPage) {
    device.setPageMargins(QMarginsF(kPageMarginMillimetres, kPageMarginMillimetres, kPageMarginMillimetres,
                                    kPageMarginMillimetres),
                          QPageLayout::Millimeter);
    device.setPageOrientation(QPageLayout::Portrait);
    const QStringList reportLines = ReportLines(report.text);
    const QFont font = Unshaped(report.font);
    TextWidths widths(font, &device);
    qreal widest = 0;
    for (const QString& line : reportLines) widest = std::max(widest, widths.width(line));
    const PaperFit fit = FitToPage(widest, PointSizeOf(font), PrintableWidth(device, QPageLayout::Portrait),
                                   PrintableWidth(device, QPageLayout::Landscape));
    device.setPageOrientation(fit.orientation);

    std::vector<QString> lines;
    lines.reserve(static_cast<std::size_t>(reportLines.size()));
    for (const QString& line : reportLines) {
        if (fit.breakWidth > 0 && widths.width(line, fit.pointSize) > fit.breakWidth) {
            std::vector<QString> parts = BreakLine(line, fit.breakWidth, widths, fit.pointSize);
            std::move(parts.begin(), parts.end(), std::back_inserter(lines));
        } else {
            lines.push_back(line);
        }
    }

    QPainter painter;
    if (!painter.begin(&device)) return false;
    PagePainter pages(painter, report, Resized(font, fit.pointSize), &device);
    const std::size_t perPage = static_cast<std::size_t>(pages.linesPerPage());
    const int textPages = std::max(1, static_cast<int>((lines.size() + perPage - 1) / perPage));
    const int pageCount = textPages + (report.picture.isNull() ? 0 : 1);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0) device.newPage();
        pages.frame(page + 1, pageCount);
        if (page < textPages) pages.lines(lines, static_cast<std::size_t>(page) * perPage, perPage);
        else pages.picture();
        if (!onPage(page + 1, pageCount)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

}  // namespace koravin
