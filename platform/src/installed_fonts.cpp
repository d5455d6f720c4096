// The Fonts key's values, from fontconfig's list of installed fonts.
//
// Windows names each installed face by its full name and format, "Arial Bold
// (TrueType)", and keeps its file name as the value's data (an absolute path
// for fonts installed per user). We list every TrueType or OpenType face that
// fontconfig knows, and, under the well-known Windows family names, the
// metric-compatible families that fontconfig substitutes for them (Arial is
// served by Liberation Sans), so that software asking for the well-known faces
// finds fonts with the same widths.
#include "installed_fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <tuple>

#include "platform/control.h"
#include "text.h"

namespace platform::detail {
namespace {

// Order of the styles within a family.
enum class Style { Regular, Bold, Italic, BoldItalic, Other };

struct Face {
    std::string family;    // the family it is grouped under
    Style style;
    std::string fullName;  // the value's name without the format
    std::string format;    // "TrueType" or "OpenType"
    std::string file;      // native absolute path
};

std::string folded(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string stringOf(FcPattern* pattern, const char* object) {
    FcChar8* text = nullptr;
    if (FcPatternGetString(pattern, object, 0, &text) != FcResultMatch || text == nullptr) return {};
    return reinterpret_cast<const char*>(text);
}

int intOf(FcPattern* pattern, const char* object, int fallback) {
    int value = fallback;
    return FcPatternGetInteger(pattern, object, 0, &value) == FcResultMatch ? value : fallback;
}

Style styleOf(FcPattern* pattern) {
    if (intOf(pattern, FC_WIDTH, FC_WIDTH_NORMAL) != FC_WIDTH_NORMAL) return Style::Other;
    const int weight = intOf(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    const int slant = intOf(pattern, FC_SLANT, FC_SLANT_ROMAN);
    const bool upright = slant == FC_SLANT_ROMAN;
    const bool sloped = slant == FC_SLANT_ITALIC || slant == FC_SLANT_OBLIQUE;
    if (weight == FC_WEIGHT_REGULAR && upright) return Style::Regular;
    if (weight == FC_WEIGHT_BOLD && upright) return Style::Bold;
    if (weight == FC_WEIGHT_REGULAR && sloped) return Style::Italic;
    if (weight == FC_WEIGHT_BOLD && sloped) return Style::BoldItalic;
    return Style::Other;
}

// TrueType outlines are named "(TrueType)", PostScript (CFF) outlines
// "(OpenType)"; anything else (bitmap and Type 1 fonts) is not listed.
std::string formatOf(FcPattern* pattern) {
    const std::string format = stringOf(pattern, FC_FONTFORMAT);
    if (format == "TrueType") return "TrueType";
    if (format == "CFF") return "OpenType";
    return {};
}

// FreeType opens the first face of a file, so faces further into a
// collection (or named instances of a variable font) are not listed.
bool isFirstFaceOfFile(FcPattern* pattern) { return intOf(pattern, FC_INDEX, 0) == 0; }

std::vector<Face> listedFaces(FcConfig* config) {
    std::vector<Face> faces;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FULLNAME, FC_FILE, FC_INDEX, FC_WEIGHT,
                                            FC_SLANT, FC_WIDTH, FC_FONTFORMAT, nullptr);
    FcFontSet* set = FcFontList(config, all, objects);
    for (int i = 0; set != nullptr && i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        Face face{stringOf(font, FC_FAMILY), styleOf(font), stringOf(font, FC_FULLNAME), formatOf(font),
                  stringOf(font, FC_FILE)};
        if (face.family.empty() || face.format.empty() || face.file.empty() || !isFirstFaceOfFile(font)) continue;
        if (face.fullName.empty()) face.fullName = face.family + " " + stringOf(font, FC_STYLE);
        faces.push_back(std::move(face));
    }
    if (set != nullptr) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(all);
    return faces;
}

// Well-known Windows families and the metric-compatible families that may
// stand in for them.
struct WellKnownFamily {
    const char* name;
    std::array<const char*, 2> compatible;
};
constexpr std::array<WellKnownFamily, 3> wellKnownFamilies{{
    {"Arial", {"Liberation Sans", "Arimo"}},
    {"Times New Roman", {"Liberation Serif", "Tinos"}},
    {"Courier New", {"Liberation Mono", "Cousine"}},
}};

struct StyleQuery {
    Style style;
    const char* suffix;
    int weight;
    int slant;
};
constexpr std::array<StyleQuery, 4> styleQueries{{
    {Style::Regular, "", FC_WEIGHT_REGULAR, FC_SLANT_ROMAN},
    {Style::Bold, " Bold", FC_WEIGHT_BOLD, FC_SLANT_ROMAN},
    {Style::Italic, " Italic", FC_WEIGHT_REGULAR, FC_SLANT_ITALIC},
    {Style::BoldItalic, " Bold Italic", FC_WEIGHT_BOLD, FC_SLANT_ITALIC},
}};

// The face fontconfig answers for a family in one style. Fontconfig resolves
// family names only, so "Arial Bold" is asked for as family "Arial" with a
// bold weight (the family "Arial Bold" would fall back to a default face).
FcPattern* matchOf(FcConfig* config, const char* family, const StyleQuery& query) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, query.weight);
    FcPatternAddInteger(pattern, FC_SLANT, query.slant);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
}

// The stand-ins fontconfig substitutes for the well-known families that are
// not installed themselves, one face per style that really exists in it.
std::vector<Face> substitutedFaces(FcConfig* config, const std::vector<Face>& installed) {
    std::set<std::string> installedFamilies;
    for (const Face& face : installed) installedFamilies.insert(folded(face.family));
    std::vector<Face> faces;
    for (const WellKnownFamily& known : wellKnownFamilies) {
        if (installedFamilies.count(folded(known.name)) != 0) continue;
        for (const StyleQuery& query : styleQueries) {
            FcPattern* match = matchOf(config, known.name, query);
            if (match == nullptr) continue;
            const std::string family = stringOf(match, FC_FAMILY);
            const bool compatible = std::find(known.compatible.begin(), known.compatible.end(), family) !=
                                    known.compatible.end();
            Face face{known.name, query.style, std::string(known.name) + query.suffix, formatOf(match),
                      stringOf(match, FC_FILE)};
            if (compatible && styleOf(match) == query.style && !face.format.empty() && !face.file.empty() &&
                isFirstFaceOfFile(match))
                faces.push_back(std::move(face));
            FcPatternDestroy(match);
        }
    }
    return faces;
}

}  // namespace

std::vector<std::pair<std::wstring, std::wstring>> installedFonts() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) return {};
    std::vector<Face> faces = listedFaces(config);
    std::vector<Face> substituted = substitutedFaces(config, faces);
    FcConfigDestroy(config);
    faces.insert(faces.end(), substituted.begin(), substituted.end());

    std::sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) {
        return std::tuple(folded(a.family), a.style, folded(a.fullName), a.file) <
               std::tuple(folded(b.family), b.style, folded(b.fullName), b.file);
    });
    std::vector<std::pair<std::wstring, std::wstring>> values;
    std::set<std::string> names;
    for (const Face& face : faces) {
        const std::string name = face.fullName + " (" + face.format + ")";
        if (!names.insert(folded(name)).second) continue;  // the same face found twice
        values.emplace_back(wideOfUtf8(name), windowsPath(face.file));
    }
    return values;
}

}  // namespace platform::detail
