#include "ui/pdf_text.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <memory>
#include <unordered_map>
#include <vector>

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

namespace koravin {
namespace {

constexpr std::size_t kCodeCount = 0x10000;
// A CMap block holds at most this many mappings.
constexpr std::size_t kMostPerBlock = 100;

bool IsSurrogate(std::size_t code) { return code >= 0xD800 && code < 0xE000; }

// The glyph of every code point of the Basic Multilingual Plane in one font (0 for none).
std::vector<quint32> GlyphsOfEveryCode(const QRawFont& font) {
    std::vector<QChar> codes(kCodeCount, QChar(u' '));
    for (std::size_t code = 1; code < kCodeCount; ++code) {
        if (!IsSurrogate(code)) codes[code] = QChar(static_cast<char16_t>(code));
    }
    codes[0] = QChar(u' ');
    std::vector<quint32> glyphs(kCodeCount, 0);
    int count = static_cast<int>(kCodeCount);
    if (!font.glyphIndexesForChars(codes.data(), count, glyphs.data(), &count)) return {};
    glyphs[0] = 0;
    return glyphs;
}

// The font and the fonts that stand in for it where it has no glyph, as they draw `text`.
std::vector<QRawFont> DrawingFonts(const QString& text, const QFont& font) {
    std::vector<QRawFont> fonts{QRawFont::fromFont(font)};
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const bool known = std::any_of(fonts.begin(), fonts.end(), [&raw](const QRawFont& other) {
            return other.familyName() == raw.familyName() && other.styleName() == raw.styleName();
        });
        if (!known && raw.isValid()) fonts.push_back(raw);
    }
    return fonts;
}

struct Token {
    enum class Kind { Hex, Open, Close, Word };
    Kind kind;
    std::string_view text;  // the digits of a hex string, without its brackets
};

std::vector<Token> Tokens(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '%') {
            while (i < text.size() && text[i] != '\n' && text[i] != '\r') ++i;
        } else if (c == '<') {
            const std::size_t end = text.find('>', i);
            if (end == std::string_view::npos) return {};
            tokens.push_back({Token::Kind::Hex, text.substr(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c == '[' || c == ']') {
            tokens.push_back({c == '[' ? Token::Kind::Open : Token::Kind::Close, text.substr(i, 1)});
            ++i;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '<' &&
                   text[i] != '[' && text[i] != ']') {
                ++i;
            }
            tokens.push_back({Token::Kind::Word, text.substr(start, i - start)});
        }
    }
    return tokens;
}

std::optional<unsigned long> HexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    unsigned long value = 0;
    for (const char digit : digits) {
        const int c = std::tolower(static_cast<unsigned char>(digit));
        if (!std::isxdigit(c)) return std::nullopt;
        value = value * 16 + static_cast<unsigned long>(std::isdigit(c) ? c - '0' : c - 'a' + 10);
    }
    return value;
}

// A target in UTF-16 code units, four hex digits each.
std::optional<std::u16string> Units(std::string_view digits) {
    if (digits.empty() || digits.size() % 4 != 0) return std::nullopt;
    std::u16string units;
    for (std::size_t i = 0; i < digits.size(); i += 4) {
        const auto unit = HexNumber(digits.substr(i, 4));
        if (!unit) return std::nullopt;
        units += static_cast<char16_t>(*unit);
    }
    return units;
}

std::string Hex(unsigned long value, std::size_t digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex(digits, '0');
    for (std::size_t i = digits; i-- > 0; value /= 16) hex[i] = kDigits[value % 16];
    return hex;
}

struct Mapping {
    unsigned long code;
    std::size_t codeDigits;
    std::u16string target;
};

// The mappings of the bfchar and bfrange blocks, each code alone; nothing when they cannot be read.
std::optional<std::vector<Mapping>> Mappings(const std::vector<Token>& tokens) {
    std::vector<Mapping> mappings;
    enum class Block { None, Chars, Ranges } block = Block::None;
    for (std::size_t i = 0; i < tokens.size();) {
        const Token& token = tokens[i];
        if (token.kind == Token::Kind::Word) {
            if (token.text == "beginbfchar") block = Block::Chars;
            else if (token.text == "beginbfrange") block = Block::Ranges;
            else if (token.text == "endbfchar" || token.text == "endbfrange") block = Block::None;
            ++i;
            continue;
        }
        if (token.kind != Token::Kind::Hex || block == Block::None || i + 1 >= tokens.size()) return std::nullopt;
        const auto code = HexNumber(token.text);
        if (!code) return std::nullopt;
        if (block == Block::Chars) {
            const auto target = tokens[i + 1].kind == Token::Kind::Hex ? Units(tokens[i + 1].text) : std::nullopt;
            if (!target) return std::nullopt;
            mappings.push_back({*code, token.text.size(), *target});
            i += 2;
            continue;
        }
        const auto last = tokens[i + 1].kind == Token::Kind::Hex ? HexNumber(tokens[i + 1].text) : std::nullopt;
        if (!last || *last < *code || *last - *code > kCodeCount || i + 2 >= tokens.size()) return std::nullopt;
        i += 2;
        if (tokens[i].kind == Token::Kind::Hex) {
            // Consecutive codes to consecutive characters: the last unit counts up.
            auto target = Units(tokens[i].text);
            if (!target) return std::nullopt;
            for (unsigned long c = *code; c <= *last; ++c, ++target->back()) {
                mappings.push_back({c, token.text.size(), *target});
            }
            ++i;
        } else if (tokens[i].kind == Token::Kind::Open) {
            ++i;
            for (unsigned long c = *code; c <= *last; ++c, ++i) {
                const auto target = i < tokens.size() && tokens[i].kind == Token::Kind::Hex ? Units(tokens[i].text)
                                                                                           : std::nullopt;
                if (!target) return std::nullopt;
                mappings.push_back({c, token.text.size(), *target});
            }
            if (i >= tokens.size() || tokens[i].kind != Token::Kind::Close) return std::nullopt;
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return mappings;
}

}  // namespace

GlyphNames GlyphNameCorrections(const QString& text, const QFont& font) {
    std::vector<bool> used(kCodeCount, false);
    for (const QChar c : text) used[c.unicode()] = true;
    QString distinct;
    for (std::size_t code = 0x21; code < kCodeCount; ++code) {
        if (used[code] && !IsSurrogate(code)) distinct += QChar(static_cast<char16_t>(code));
    }
    GlyphNames corrections;
    if (distinct.isEmpty()) return corrections;
    for (const QRawFont& drawing : DrawingFonts(distinct, font)) {
        const std::vector<quint32> glyphs = GlyphsOfEveryCode(drawing);
        if (glyphs.empty()) continue;
        // The code point Qt names each glyph by: the first to reach it.
        std::unordered_map<quint32, char16_t> lowest;
        for (std::size_t code = 1; code < kCodeCount; ++code) {
            if (glyphs[code] != 0 && !IsSurrogate(code)) lowest.emplace(glyphs[code], static_cast<char16_t>(code));
        }
        for (const QChar c : distinct) {
            const quint32 glyph = glyphs[c.unicode()];
            if (glyph == 0) continue;
            const char16_t named = lowest.at(glyph);
            if (named != c.unicode() && !used[named]) corrections.emplace(named, c.unicode());
        }
    }
    return corrections;
}

std::optional<std::string> CorrectedCMap(std::string_view cmap, const GlyphNames& corrections) {
    // The blocks run from the count in front of the first to the end of the last.
    const std::size_t firstBlock = cmap.find("beginbf");
    const std::size_t lastBlock = cmap.rfind("endbf");
    if (firstBlock == std::string_view::npos || lastBlock == std::string_view::npos || lastBlock < firstBlock) {
        return std::nullopt;
    }
    std::size_t start = firstBlock;
    while (start > 0 && std::isspace(static_cast<unsigned char>(cmap[start - 1]))) --start;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(cmap[start - 1]))) --start;
    const std::size_t end = std::min(cmap.find_first_of(" \t\r\n", lastBlock), cmap.size());
    const std::string_view blocks = cmap.substr(start, end - start);

    auto mappings = Mappings(Tokens(blocks));
    if (!mappings) return std::nullopt;
    bool corrected = false;
    for (Mapping& mapping : *mappings) {
        if (mapping.target.size() != 1) continue;
        const auto found = corrections.find(mapping.target.front());
        if (found == corrections.end()) continue;
        mapping.target.front() = found->second;
        corrected = true;
    }
    if (!corrected) return std::nullopt;

    std::string text(cmap.substr(0, start));
    for (std::size_t first = 0; first < mappings->size(); first += kMostPerBlock) {
        const std::size_t count = std::min(kMostPerBlock, mappings->size() - first);
        text += std::to_string(count) + " beginbfchar\n";
        for (std::size_t i = first; i < first + count; ++i) {
            const Mapping& mapping = (*mappings)[i];
            text += '<' + Hex(mapping.code, mapping.codeDigits) + "> <";
            for (const char16_t unit : mapping.target) text += Hex(unit, 4);
            text += ">\n";
        }
        text += "endbfchar\n";
    }
    text += cmap.substr(start + blocks.size());
    return text;
}

QByteArray WithCorrectedText(const QByteArray& pdf, const GlyphNames& corrections) {
    if (corrections.empty()) return pdf;
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("report.pdf", pdf.constData(), static_cast<std::size_t>(pdf.size()));
        bool corrected = false;
        for (QPDFObjectHandle object : document.getAllObjects()) {
            if (!object.isDictionary() || !object.getKey("/Type").isNameAndEquals("/Font")) continue;
            QPDFObjectHandle map = object.getKey("/ToUnicode");
            if (!map.isStream()) continue;
            const std::shared_ptr<Buffer> data = map.getStreamData(qpdf_dl_generalized);
            const std::optional<std::string> text = CorrectedCMap(
                {reinterpret_cast<const char*>(data->getBuffer()), data->getSize()}, corrections);
            if (!text) continue;
            map.replaceStreamData(*text, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
            corrected = true;
        }
        if (!corrected) return pdf;
        QPDFWriter writer(document);
        writer.setOutputMemory();
        // The pages' streams go out as Qt compressed them.
        writer.setCompressStreams(false);
        writer.setDecodeLevel(qpdf_dl_none);
        writer.write();
        const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(written->getBuffer()), static_cast<qsizetype>(written->getSize()));
    } catch (const std::exception&) {
        // A PDF qpdf cannot read is left as Qt wrote it: its pages are right, only its text is not.
        return pdf;
    }
}

}  // namespace koravin
