#pragma once

// The text of a PDF that Qt wrote, as a reader copies and searches it. Each font of the PDF has a
// map from its glyphs to the characters they stand for, and Qt makes it from the font's character
// map, naming each glyph by the lowest code point that reaches it. A CJK font draws 方 and the
// Kangxi radical U+2F45 with one glyph, and 页 and the radical U+2EDA with another, so the page
// shows 方 and the text says U+2F45. Knowing which characters were drawn, the maps are rewritten
// so that each glyph names the character drawn with it.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QFont>
#include <QString>

namespace koravin {

// Code point → character, for each code point that Qt's map would name instead of a character of
// `text` drawn in `font` (or a font that stands in for it): the lowest code point reaching the
// same glyph, when the text itself never uses it. Only characters of the Basic Multilingual Plane
// are named wrongly: Qt's map covers no other.
using GlyphNames = std::map<char16_t, char16_t>;
GlyphNames GlyphNameCorrections(const QString& text, const QFont& font);

// A ToUnicode map (a CMap) with every glyph that names a corrected code point naming its character
// instead; nothing when no glyph does.
std::optional<std::string> CorrectedCMap(std::string_view cmap, const GlyphNames& corrections);

// The PDF with the map of each of its fonts corrected; `pdf` as it is when nothing needs it or
// it cannot be read.
QByteArray WithCorrectedText(const QByteArray& pdf, const GlyphNames& corrections);

}  // namespace koravin
