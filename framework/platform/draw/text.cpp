#include "framework/platform/draw/text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/core/strings.h"

struct Glyph {
    int left = 0;  // bitmap offset from the pen position
    int top = 0;   // rows above the baseline
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

struct RealisedFont {
    FT_Face face = nullptr;
    bool emboldenSynthetic = false;
    bool obliqueSynthetic = false;
    bool monochrome = false;  // rendered without grey levels
    bool strike = false;      // a bitmap strike of the face, not its outlines
    int ascent = 0;
    int descent = 0;
    std::string file;
    std::unordered_map<std::uint32_t, Glyph> glyphs;
};

namespace {

// Where Debian's fonts-wine package puts the classic faces. Fontconfig is
// not told about that folder, so the program adds the two faces it uses.
constexpr const char* kClassicFaceFiles[] = {
    "/usr/share/wine/fonts/ms_sans_serif.ttf",
    "/usr/share/wine/fonts/marlett.ttf",
};

// The stand-in for a face that is not installed.
constexpr const char* kFallbackFamily = "DejaVu Sans";

struct TextState {
    FT_Library library = nullptr;
    bool fontconfigReady = false;
    JFaceLookup lookup = nullptr;  // null: fontconfig
    std::vector<JFont*> fonts;     // every live font
    std::vector<JFont*> realised;  // oldest first
};

TextState& State() {
    static TextState state;
    return state;
}

FT_Library Library() {
    TextState& state = State();
    if (state.library == nullptr && FT_Init_FreeType(&state.library) != 0) {
        state.library = nullptr;
    }
    return state.library;
}

bool FontconfigReady() {
    TextState& state = State();
    if (!state.fontconfigReady) {
        state.fontconfigReady = FcInit() == FcTrue;
        for (const char* file : kClassicFaceFiles) {
            if (state.fontconfigReady) {
                FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file));
            }
        }
    }
    return state.fontconfigReady;
}

// Asks fontconfig for the face; false when the family is not installed.
bool MatchFace(const char* family, int style, JFaceFile* result, bool exactFamily) {
    if (!FontconfigReady()) {
        return false;
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, style & kFontBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, style & kFontItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult outcome = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &outcome);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return false;
    }
    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found && exactFamily) {
        found = FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
                JStrEqualNoCase(reinterpret_cast<const char*>(matchedFamily), family);
    }
    if (found) {
        result->path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &result->index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        result->bold = weight >= FC_WEIGHT_DEMIBOLD;
        result->italic = slant != FC_SLANT_ROMAN;
        // Fontconfig reports the weight and slant it was asked for when it
        // means them to be made up; the face itself has neither then.
        FcBool embolden = FcFalse;
        FcMatrix* shear = nullptr;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden) {
            result->bold = false;
        }
        if (FcPatternGetMatrix(match, FC_MATRIX, 0, &shear) == FcResultMatch) {
            result->italic = false;
        }
    }
    FcPatternDestroy(match);
    return found;
}

// The font units of the cell (ascent and descent as the system measures them).
void CellUnits(FT_Face face, int* ascent, int* descent) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        *ascent = os2->usWinAscent;
        *descent = os2->usWinDescent;
        return;
    }
    *ascent = face->ascender;
    *descent = -face->descender;
}

void SetCharSize(RealisedFont* realised, int size, double horizontalScale) {
    int ascentUnits = 0;
    int descentUnits = 0;
    CellUnits(realised->face, &ascentUnits, &descentUnits);
    const int cellUnits = std::max(ascentUnits + descentUnits, 1);
    const double ppem = static_cast<double>(size) * realised->face->units_per_EM / cellUnits;
    const auto height = static_cast<FT_F26Dot6>(std::lround(ppem * 64));
    const auto width =
        static_cast<FT_F26Dot6>(std::max(1L, std::lround(ppem * horizontalScale * 64)));
    FT_Set_Char_Size(realised->face, width, height, 72, 72);
    realised->ascent =
        static_cast<int>(std::lround(static_cast<double>(size) * ascentUnits / cellUnits));
    realised->descent = size - realised->ascent;
}

// The cell of a bitmap strike: the strike's own ascent and descent, the rest
// of the requested height going above as leading, so that a strike smaller
// than the request keeps the layout of the requested size.
void SetStrike(RealisedFont* realised, int strike, int size) {
    FT_Select_Size(realised->face, strike);
    const FT_Size_Metrics& metrics = realised->face->size->metrics;
    realised->descent = static_cast<int>(std::min<FT_Pos>(-metrics.descender >> 6, size / 2));
    realised->ascent = size - realised->descent;
}

// The largest strike whose cell fits in `size` and falls short of it by at
// most three rows (15 takes the 13-pixel strike, the classic 8 points at
// 96 dpi); -1 when none does, and the outlines of another face are drawn.
int StrikeFor(FT_Face face, int size) {
    constexpr int kMostRowsShort = 3;
    int best = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const int height = face->available_sizes[i].height;
        if (height <= size && height >= size - kMostRowsShort &&
            (best < 0 || height > face->available_sizes[best].height)) {
            best = i;
        }
    }
    return best;
}

// Symbol faces map their characters from U+F000 upwards.
FT_UInt GlyphIndex(FT_Face face, std::uint32_t code) {
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 && face->charmap != nullptr &&
        face->charmap->encoding == FT_ENCODING_MS_SYMBOL && code < 0x100) {
        index = FT_Get_Char_Index(face, 0xF000 | code);
    }
    return index;
}

void CopyBitmap(const FT_Bitmap& bitmap, Glyph* glyph) {
    glyph->width = static_cast<int>(bitmap.width);
    glyph->height = static_cast<int>(bitmap.rows);
    glyph->coverage.assign(static_cast<std::size_t>(glyph->width) * glyph->height, 0);
    for (int row = 0; row < glyph->height; ++row) {
        const std::uint8_t* source =
            bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        std::uint8_t* target = glyph->coverage.data() + row * glyph->width;
        for (int x = 0; x < glyph->width; ++x) {
            target[x] = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                            ? ((source[x >> 3] >> (7 - (x & 7))) & 1) * 255
                            : source[x];
        }
    }
}

// Bold from a bitmap as the classic system made it: every column inked
// again one pixel to the right, one pixel wider and one pixel further.
void EmboldenStrike(Glyph* glyph) {
    if (glyph->width == 0) {
        ++glyph->advance;
        return;
    }
    const int width = glyph->width + 1;
    std::vector<std::uint8_t> bold(static_cast<std::size_t>(width) * glyph->height, 0);
    for (int row = 0; row < glyph->height; ++row) {
        const std::uint8_t* source = glyph->coverage.data() + row * glyph->width;
        std::uint8_t* target = bold.data() + row * width;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t here = x < glyph->width ? source[x] : 0;
            const std::uint8_t left = x > 0 ? source[x - 1] : 0;
            target[x] = std::max(here, left);
        }
    }
    glyph->coverage = std::move(bold);
    glyph->width = width;
    ++glyph->advance;
}

const Glyph& LoadGlyph(RealisedFont* realised, std::uint32_t code) {
    auto found = realised->glyphs.find(code);
    if (found != realised->glyphs.end()) {
        return found->second;
    }
    Glyph& glyph = realised->glyphs[code];
    FT_Face face = realised->face;
    FT_Int32 flags = realised->monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_DEFAULT;
    if (!realised->strike) {
        flags |= FT_LOAD_NO_BITMAP;
    }
    if (FT_Load_Glyph(face, GlyphIndex(face, code), flags) != 0) {
        return glyph;
    }
    if (!realised->strike && realised->obliqueSynthetic) {
        FT_GlyphSlot_Oblique(face->glyph);
    }
    if (!realised->strike && realised->emboldenSynthetic) {
        FT_GlyphSlot_Embolden(face->glyph);
    }
    glyph.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    const FT_Render_Mode mode = realised->monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
    if (face->glyph->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(face->glyph, mode) != 0) {
        return glyph;
    }
    glyph.left = face->glyph->bitmap_left;
    glyph.top = face->glyph->bitmap_top;
    CopyBitmap(face->glyph->bitmap, &glyph);
    if (realised->strike && realised->emboldenSynthetic) {
        EmboldenStrike(&glyph);
    }
    return glyph;
}

// Next character of a UTF-8 text; a byte that starts no valid sequence is
// taken as a Latin-1 character.
std::uint32_t NextCharacter(const unsigned char** cursor) {
    const unsigned char* p = *cursor;
    const unsigned char lead = *p;
    int length = lead < 0x80         ? 1
                 : (lead >> 5) == 6  ? 2
                 : (lead >> 4) == 14 ? 3
                 : (lead >> 3) == 30 ? 4
                                     : 0;
    std::uint32_t code = length == 1   ? lead
                         : length == 2 ? lead & 0x1F
                         : length == 3 ? lead & 0x0F
                                       : lead & 0x07;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            length = 0;
            break;
        }
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (length == 0) {
        *cursor = p + 1;
        return lead;
    }
    *cursor = p + length;
    return code;
}

template <typename Visit>
void ForEachGlyph(RealisedFont* realised, const char* text, Visit visit) {
    const auto* cursor = reinterpret_cast<const unsigned char*>(text);
    int penX = 0;
    while (*cursor != 0) {
        const Glyph& glyph = LoadGlyph(realised, NextCharacter(&cursor));
        visit(glyph, penX);
        penX += glyph.advance;
    }
}

void GiveBackFace(JFont* font) {
    if (font->realised == nullptr) {
        return;
    }
    FT_Done_Face(font->realised->face);
    delete font->realised;
    font->realised = nullptr;
    auto& realised = State().realised;
    realised.erase(std::remove(realised.begin(), realised.end(), font), realised.end());
}

// Keeps at most six faces, giving back the oldest that is not selected.
void TrimRealised() {
    auto& realised = State().realised;
    while (static_cast<int>(realised.size()) > kMaxRealisedFonts) {
        auto oldest = std::find_if(realised.begin(), realised.end(),
                                   [](const JFont* f) { return f->selections == 0; });
        if (oldest == realised.end()) {
            return;
        }
        GiveBackFace(*oldest);
    }
}

bool IsClassicFace(const char* family) {
    return JStrEqualNoCase(family, kDefaultFontFace) || JStrEqualNoCase(family, kSymbolFontFace);
}

std::unique_ptr<RealisedFont> OpenFile(const JFaceFile& file, int style) {
    FT_Library library = Library();
    FT_Face face = nullptr;
    if (library == nullptr || FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) {
        return nullptr;
    }
    auto realised = std::make_unique<RealisedFont>();
    realised->face = face;
    realised->file = file.path;
    realised->emboldenSynthetic = (style & kFontBold) != 0 && !file.bold;
    realised->obliqueSynthetic = (style & kFontItalic) != 0 && !file.italic;
    return realised;
}

void CloseFace(std::unique_ptr<RealisedFont> realised) {
    if (realised != nullptr) {
        FT_Done_Face(realised->face);
    }
}

// The named face when it is installed and can serve the font: a face made
// of bitmap strikes serves only sizes near a strike, upright and at the
// normal width.
std::unique_ptr<RealisedFont> OpenNamedFace(const JFont& font, double horizontalScale) {
    JFaceFile file;
    const JFaceLookup lookup = State().lookup != nullptr ? State().lookup : JFontConfigLookup;
    if (!lookup(font.face.c_str(), font.style, &file)) {
        return nullptr;
    }
    std::unique_ptr<RealisedFont> realised = OpenFile(file, font.style);
    if (realised == nullptr) {
        return nullptr;
    }
    realised->monochrome = IsClassicFace(font.face.c_str());
    if (FT_IS_SCALABLE(realised->face)) {
        SetCharSize(realised.get(), font.size, horizontalScale);
        return realised;
    }
    const int strike = StrikeFor(realised->face, font.size);
    if (strike < 0 || horizontalScale != 1.0 || realised->obliqueSynthetic) {
        CloseFace(std::move(realised));
        return nullptr;
    }
    realised->strike = true;
    SetStrike(realised.get(), strike, font.size);
    return realised;
}

RealisedFont* OpenFace(const JFont& font, double horizontalScale) {
    std::unique_ptr<RealisedFont> realised = OpenNamedFace(font, horizontalScale);
    if (realised == nullptr) {
        JFaceFile file;
        if (!MatchFace(kFallbackFamily, font.style, &file, false)) {
            return nullptr;
        }
        realised = OpenFile(file, font.style);
        if (realised == nullptr) {
            return nullptr;
        }
        SetCharSize(realised.get(), font.size, horizontalScale);
    }
    return realised.release();
}

int AverageWidth(RealisedFont* realised) {
    int total = 0;
    ForEachGlyph(realised, "abcdefghijklmnopqrstuvwxyz",
                 [&](const Glyph& g, int) { total += g.advance; });
    return (total + 13) / 26;
}

// The horizontal scale that gives the plain font's average width times the
// factor, rounded down, at least 1.
double HorizontalScale(const JFont& font) {
    if (font.widthFactor == 1.0) {
        return 1.0;
    }
    RealisedFont* plain = OpenFace(font, 1.0);
    if (plain == nullptr) {
        return 1.0;
    }
    const int average = std::max(AverageWidth(plain), 1);
    FT_Done_Face(plain->face);
    delete plain;
    const int wanted = std::max(1, static_cast<int>(std::floor(average * font.widthFactor)));
    return static_cast<double>(wanted) / average;
}

RealisedFont* Realise(JFont* font) {
    if (font->realised == nullptr) {
        font->realised = OpenFace(*font, HorizontalScale(*font));
        if (font->realised == nullptr) {
            return nullptr;
        }
        State().realised.push_back(font);
        ++font->selections;  // the font in hand must not be the one given back
        TrimRealised();
        --font->selections;
    }
    return font->realised;
}

void BlendPixel(std::uint32_t* pixel, std::uint32_t colour, std::uint32_t alpha) {
    const std::uint32_t d = *pixel;
    auto mix = [&](std::uint32_t shift) {
        const std::uint32_t dc = (d >> shift) & 0xFF;
        const std::uint32_t sc = (colour >> shift) & 0xFF;
        return ((dc * (255 - alpha) + sc * alpha + 127) / 255) << shift;
    };
    *pixel = mix(16) | mix(8) | mix(0);
}

void DrawGlyph(const Glyph& glyph, const RasterTarget& target, int x, int y, std::uint32_t colour) {
    const std::uint32_t monoColour = RasterToMono(colour);
    for (int row = 0; row < glyph.height; ++row) {
        const int py = y - glyph.top + row;
        const int px = x + glyph.left;
        const std::uint8_t* coverage = glyph.coverage.data() + row * glyph.width;
        RasterForEachClippedSpan(target, py, px, px + glyph.width, [&](int sy, int sx0, int sx1) {
            std::uint32_t* pixels = target.surface->Row(sy);
            for (int sx = sx0; sx < sx1; ++sx) {
                const std::uint32_t alpha = coverage[sx - target.originX - px];
                if (target.mono) {
                    if (alpha >= 128) {
                        pixels[sx] = monoColour;
                    }
                } else if (alpha == 255) {
                    pixels[sx] = colour;
                } else if (alpha != 0) {
                    BlendPixel(&pixels[sx], colour, alpha);
                }
            }
        });
    }
}

}  // namespace

JFont* JFontGet(const char* face, int size, int style, double widthFactor) {
    for (JFont* font : State().fonts) {
        if (font->size == size && font->style == style && font->widthFactor == widthFactor &&
            JStrEqualNoCase(font->face.c_str(), face)) {
            return JFontRetain(font);
        }
    }
    auto* font = new JFont;
    font->face = face;
    font->size = std::max(size, 1);
    font->style = style;
    font->widthFactor = widthFactor > 0 ? widthFactor : 1.0;
    State().fonts.push_back(font);
    return JFontRetain(font);
}

JFont* JFontRetain(JFont* font) {
    ++font->references;
    return font;
}

void JFontRelease(JFont* font) {
    if (font == nullptr || --font->references > 0) {
        return;
    }
    GiveBackFace(font);
    auto& fonts = State().fonts;
    fonts.erase(std::remove(fonts.begin(), fonts.end(), font), fonts.end());
    delete font;
}

void JFontSelect(JFont* font) {
    ++font->selections;
}

void JFontDeselect(JFont* font) {
    font->selections = std::max(font->selections - 1, 0);
}

JTextExtent JFontMeasure(JFont* font, const char* text) {
    RealisedFont* realised = Realise(font);
    if (realised == nullptr) {
        return JTextExtent{};
    }
    JTextExtent extent{0, realised->ascent, realised->descent};
    ForEachGlyph(realised, text, [&](const Glyph& g, int) { extent.width += g.advance; });
    return extent;
}

int JFontAverageCharWidth(JFont* font) {
    RealisedFont* realised = Realise(font);
    return realised == nullptr ? 0 : AverageWidth(realised);
}

void JFontDraw(JFont* font, const RasterTarget& target, int x, int y, const char* text,
               std::uint32_t colour) {
    RealisedFont* realised = Realise(font);
    if (realised == nullptr) {
        return;
    }
    ForEachGlyph(realised, text, [&](const Glyph& glyph, int penX) {
        DrawGlyph(glyph, target, x + penX, y, colour);
    });
}

int JRealisedFontCount() {
    return static_cast<int>(State().realised.size());
}

bool JFontIsRealised(const JFont* font) {
    return font->realised != nullptr;
}

std::string JFontFile(JFont* font) {
    RealisedFont* realised = Realise(font);
    return realised == nullptr ? std::string() : realised->file;
}

bool JFontConfigLookup(const char* family, int style, JFaceFile* file) {
    return MatchFace(family, style, file, true);
}

void JTextSetFaceLookup(JFaceLookup lookup) {
    TextState& state = State();
    state.lookup = lookup;
    while (!state.realised.empty()) {
        GiveBackFace(state.realised.front());
    }
}

bool JFontFaceAvailable(const char* family) {
    JFaceFile file;
    const JFaceLookup lookup = State().lookup != nullptr ? State().lookup : JFontConfigLookup;
    return lookup(family, 0, &file);
}

bool JFontIsMonochrome(JFont* font) {
    RealisedFont* realised = Realise(font);
    return realised != nullptr && realised->monochrome;
}

void JTextShutdown() {
    TextState& state = State();
    while (!state.realised.empty()) {
        GiveBackFace(state.realised.front());
    }
    if (state.library != nullptr) {
        FT_Done_FreeType(state.library);
        state.library = nullptr;
    }
    if (state.fontconfigReady) {
        FcFini();
        state.fontconfigReady = false;
    }
}
