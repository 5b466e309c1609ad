#pragma once

// A report on paper: its lines in the pane's font under a header line on every page (window
// title, the input's first line, date), "第 k 页 / 共 n 页" under them, and the picture beside
// the report on a last page of its own. A report wider than the page is shrunk to fit down to
// 6 pt, then laid on landscape pages, and only then are its long lines broken between numbers,
// each further part beginning with a continuation mark.

#include <functional>
#include <vector>

#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

namespace koravin {

struct PaperReport {
    QString title;      // the window's title
    QString firstLine;  // the input's first line
    QString date;
    QString text;       // the result pane's text
    QFont font;         // the result pane's font
    QImage picture;     // the picture shown beside the report; null when none is shown
};

inline constexpr qreal kSmallestPaperPointSize = 6;
// Begins each further part of a line broken to fit the page.
inline const QString kContinuationMark = QStringLiteral("→ ");

// How the report's lines go on the page: the orientation, the font size, and the longest part
// of a line in device units (0 when no line needs breaking).
struct PaperFit {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    qreal pointSize = 0;
    qreal breakWidth = 0;
};

// The width of a text in a font, one character at a time, with the advances measured once.
class TextWidths {
public:
    TextWidths(const QFont& font, QPaintDevice* device);
    qreal width(QStringView text);
    // In the same font at another size.
    qreal width(QStringView text, qreal pointSize) { return width(text) * pointSize / pointSize_; }

private:
    QFont font_;
    QPaintDevice* device_;
    qreal pointSize_;
    std::vector<qreal> basic_;  // the advances of the characters below U+3400, measured on demand
    qreal wide_ = 0;            // the advance of a CJK ideograph, taken for every character from U+3400 on
};

// The fit of lines whose widest is `widest` wide at the font's size, on a page whose printable
// width is `portraitWidth` upright and `landscapeWidth` turned.
PaperFit FitToPage(qreal widest, qreal pointSize, qreal portraitWidth, qreal landscapeWidth);

// The line broken into parts no wider than `breakWidth`, at blanks only, so that a number is
// never cut; the parts after the first begin with the continuation mark. A run of characters
// wider than a whole part is cut where it must.
std::vector<QString> BreakLine(const QString& line, qreal breakWidth, TextWidths& widths, qreal pointSize);

// Every character the report's pages show: its text, the header, the page numbers and the
// continuation mark.
QString PaintedText(const PaperReport& report);

// Paints the report page by page onto `device` (a QPdfWriter or a QPrinter, not yet painted on),
// choosing the orientation and size itself. `onPage(done, count)` is called after each page and
// returns false to stop there. False when stopped or when the device cannot be painted on.
bool PaintReport(QPagedPaintDevice& device, const PaperReport& report, const std::function<bool(int, int)>& onPage);

}  // namespace koravin
