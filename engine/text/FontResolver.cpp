#include "engine/text/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <QLatin1String>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <vector>

namespace zephrin {

namespace {

// Stand-ins for faces that Debian doesn't ship, by the prefix of the missing
// name (so "Helvetica" also covers every "HelveticaNeue-..."), best first.
// Unknown names get the first row, as the platform that wrote the documents
// substitutes Helvetica for a name it doesn't know.
struct StandIn {
    QLatin1String prefix;
    std::array<const char*, 2> families;
};
const StandIn kStandIns[] = {
    {QLatin1String("Helvetica"), {"Nimbus Sans", "TeX Gyre Heros"}},
};

// One face as fontconfig lists it, with what choosing between faces needs.
struct Candidate {
    FontFace face;
    int weight = FC_WEIGHT_REGULAR;  // fontconfig's scale: 80 regular, 200 bold
    int width = FC_WIDTH_NORMAL;
    bool sfnt = true;                // TrueType or CFF outlines, not Type 1
};

struct FcDelete {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
    void operator()(FcObjectSet* objects) const { FcObjectSetDestroy(objects); }
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
template <typename T>
using FcPtr = std::unique_ptr<T, FcDelete>;

QString stringOf(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

int intOf(FcPattern* pattern, const char* object, int fallback)
{
    int value = 0;
    return FcPatternGetInteger(pattern, object, 0, &value) == FcResultMatch ? value : fallback;
}

bool boolOf(FcPattern* pattern, const char* object, bool fallback)
{
    FcBool value = FcFalse;
    return FcPatternGetBool(pattern, object, 0, &value) == FcResultMatch ? value != FcFalse : fallback;
}

Candidate candidateFrom(FcPattern* pattern)
{
    Candidate candidate;
    candidate.weight = intOf(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    candidate.width = intOf(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
    const QString format = stringOf(pattern, FC_FONTFORMAT);
    candidate.sfnt = format == QLatin1String("TrueType") || format == QLatin1String("CFF");

    FontFace& face = candidate.face;
    face.family = stringOf(pattern, FC_FAMILY);
    face.foundry = stringOf(pattern, FC_FOUNDRY);
    face.styleName = stringOf(pattern, FC_STYLE);
    face.postScriptName = stringOf(pattern, FC_POSTSCRIPT_NAME);
    face.file = stringOf(pattern, FC_FILE);
    face.faceIndex = intOf(pattern, FC_INDEX, 0);
    face.weight = FcWeightToOpenType(candidate.weight);
    face.bold = candidate.weight >= FC_WEIGHT_BOLD;
    face.italic = intOf(pattern, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    return candidate;
}

// Every scalable face whose `object` (family, PostScript or full name) is
// `value`, ignoring case. Variable fonts count by their named instances.
std::vector<Candidate> listFaces(const char* object, const QString& value)
{
    std::vector<Candidate> faces;
    if (value.isEmpty())
        return faces;
    const FcPtr<FcPattern> pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), object,
                       reinterpret_cast<const FcChar8*>(value.toUtf8().constData()));
    const FcPtr<FcObjectSet> objects(FcObjectSetBuild(
        FC_FAMILY, FC_FOUNDRY, FC_STYLE, FC_POSTSCRIPT_NAME, FC_FILE, FC_INDEX, FC_WEIGHT, FC_WIDTH,
        FC_SLANT, FC_FONTFORMAT, FC_SCALABLE, FC_VARIABLE, static_cast<char*>(nullptr)));
    const FcPtr<FcFontSet> set(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!set)
        return faces;
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        if (boolOf(font, FC_SCALABLE, true) && !boolOf(font, FC_VARIABLE, false))
            faces.push_back(candidateFrom(font));
    }
    return faces;
}

// Among `faces` with exactly the traits asked for, the one nearest in weight,
// then width; sfnt files before Type 1 copies of the same face; then by path,
// so the choice never depends on fontconfig's listing order.
std::optional<Candidate> nearest(const std::vector<Candidate>& faces, bool bold, bool italic,
                                 int weight, int width)
{
    const auto rank = [&](const Candidate& c) {
        return std::make_tuple(std::abs(c.weight - weight), std::abs(c.width - width), !c.sfnt,
                               c.face.file, c.face.faceIndex);
    };
    std::optional<Candidate> best;
    for (const Candidate& candidate : faces) {
        if (candidate.face.bold != bold || candidate.face.italic != italic)
            continue;
        if (!best || rank(candidate) < rank(*best))
            best = candidate;
    }
    return best;
}

// Of several faces with one name, the one that would be chosen for its own traits.
Candidate preferred(const std::vector<Candidate>& faces)
{
    const Candidate& first = faces.front();
    return *nearest(faces, first.face.bold, first.face.italic, first.weight, first.width);
}

// What a missing face's name says of its style ("-BoldOblique", "-Italic").
bool mentionsAny(QStringView text, std::initializer_list<QLatin1String> words)
{
    return std::any_of(words.begin(), words.end(),
                       [&](QLatin1String word) { return text.contains(word, Qt::CaseInsensitive); });
}

std::optional<FontFace> standIn(const QString& name)
{
    const auto row = std::find_if(std::begin(kStandIns), std::end(kStandIns), [&](const StandIn& r) {
        return name.startsWith(r.prefix);
    });
    bool bold = false;
    bool italic = false;
    if (row != std::end(kStandIns)) {
        const QStringView style = QStringView(name).mid(row->prefix.size());
        bold = mentionsAny(style, {QLatin1String("Bold"), QLatin1String("Black"), QLatin1String("Heavy")});
        italic = mentionsAny(style, {QLatin1String("Italic"), QLatin1String("Oblique")});
    }
    const StandIn& chosen = row != std::end(kStandIns) ? *row : kStandIns[0];
    for (const char* family : chosen.families) {
        const auto faces = listFaces(FC_FAMILY, QString::fromUtf8(family));
        const int weight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
        if (const auto face = nearest(faces, bold, italic, weight, FC_WIDTH_NORMAL))
            return face->face;
    }
    return std::nullopt;
}

// fontconfig's own answer for "sans-serif", for a machine without any stand-in.
FontFace defaultFace()
{
    const FcPtr<FcPattern> pattern(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif")));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FcPtr<FcPattern> match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match) {
        FontFace none;
        none.family = QStringLiteral("sans-serif");
        return none;
    }
    return candidateFrom(match.get()).face;
}

} // namespace

QFont FontFace::font() const
{
    QFont font;
    font.setFamily(foundry.isEmpty() ? family : family + QStringLiteral(" [") + foundry + u']');
    font.setStyleName(styleName);
    // Qt weighs the style name first; weight and slant settle what it leaves open.
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    return font;
}

namespace FontResolver {

FontFace resolve(const QString& name)
{
    for (const char* object : {FC_POSTSCRIPT_NAME, FC_FULLNAME}) {
        const auto faces = listFaces(object, name);
        if (!faces.empty())
            return preferred(faces).face;
    }
    if (auto face = standIn(name))
        return *face;
    return defaultFace();
}

std::optional<FontFace> withTraits(const FontFace& face, bool bold, bool italic)
{
    const bool wantBold = bold || face.bold;
    const bool wantItalic = italic || face.italic;
    if (wantBold == face.bold && wantItalic == face.italic)
        return face;

    const auto family = listFaces(FC_FAMILY, face.family);
    const auto self = std::find_if(family.begin(), family.end(), [&](const Candidate& c) {
        return c.face.file == face.file && c.face.faceIndex == face.faceIndex;
    });
    const int weight = self != family.end() ? self->weight : FC_WEIGHT_REGULAR;
    const int width = self != family.end() ? self->width : FC_WIDTH_NORMAL;
    const auto found = nearest(family, wantBold, wantItalic,
                               wantBold && !face.bold ? FC_WEIGHT_BOLD : weight, width);
    if (!found)
        return std::nullopt;
    return found->face;
}

std::optional<FontFace> installedRegularFace(const QString& family)
{
    std::vector<Candidate> faces = listFaces(FC_FAMILY, family);
    std::erase_if(faces, [](const Candidate& c) { return c.face.postScriptName.isEmpty(); });
    const auto found = nearest(faces, false, false, FC_WEIGHT_REGULAR, FC_WIDTH_NORMAL);
    if (!found)
        return std::nullopt;
    return found->face;
}

} // namespace FontResolver

} // namespace zephrin
