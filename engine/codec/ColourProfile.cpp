#include "engine/codec/ColourProfile.h"

namespace zephrin {

namespace {

// The header field that names the colour space of the data (bytes 16 to 19).
constexpr qsizetype kDataColourSpace = 16;

bool names(QByteArrayView icc, StoredColours colours)
{
    if (icc.size() < kDataColourSpace + 4)
        return false;
    const QByteArrayView space = icc.sliced(kDataColourSpace, 4);
    switch (colours) {
    case StoredColours::grey: return space == "GRAY";
    case StoredColours::rgb: return space == "RGB ";
    case StoredColours::cmyk: return space == "CMYK";
    case StoredColours::other: return false;
    }
    return false;
}

// Whether every pixel of a picture of four bytes a pixel has R = G = B, in
// whichever order its format keeps them.
bool isGrey(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qRed(row[x]) != qGreen(row[x]) || qGreen(row[x]) != qBlue(row[x]))
                return false;
    }
    return true;
}

} // namespace

QColorSpace profileFor(QByteArrayView icc, StoredColours colours)
{
    if (!names(icc, colours))
        return {};
    return QColorSpace::fromIccProfile(icc.toByteArray());
}

void dropMismatchedProfile(QImage& picture, StoredColours colours)
{
    if (picture.colorSpace().isValid() && !names(picture.colorSpace().iccProfile(), colours))
        picture.setColorSpace(QColorSpace());
}

QColorSpace profileForDecodedRgb(QByteArrayView icc, const QImage& picture)
{
    const bool grey = names(icc, StoredColours::grey) && isGrey(picture);
    return profileFor(icc, grey ? StoredColours::grey : StoredColours::rgb);
}

} // namespace zephrin
