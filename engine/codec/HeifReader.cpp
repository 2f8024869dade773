#include "engine/codec/HeifReader.h"

#include "engine/codec/ColourProfile.h"
#include "engine/codec/HeifBoxes.h"
#include "engine/codec/HeifHevcDecoder.h"
#include "engine/codec/LibraryMessages.h"
#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/Premultiply.h"

#include <QColorSpace>

#include <libheif/heif.h>

#include <algorithm>
#include <memory>

namespace zephrin {

namespace {

struct ContextDeleter {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleDeleter {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageDeleter {
    void operator()(heif_image* image) const { heif_image_release(image); }
};

// libheif's errors say what was wrong with a file: they go to the log.
bool ok(const heif_error& error)
{
    if (error.code == heif_error_Ok)
        return true;
    qCInfo(imageLibraryLog, "libheif: %s", error.message != nullptr ? error.message : "");
    return false;
}

// How far a coded picture may reach past the picture it holds (see longestSide).
constexpr int kCodedMargin = 128;

// nclx colour primaries 12: SMPTE EG 432-1, the Display P3 of phone cameras.
constexpr int kDisplayP3Primaries = 12;

QColorSpace colorSpaceOf(const heif_image_handle* handle, const QImage& decoded)
{
    switch (heif_image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_prof:
    case heif_color_profile_type_rICC: {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        if (!ok(heif_image_handle_get_raw_color_profile(handle, icc.data())))
            return {};
        return profileForDecodedRgb(icc, decoded);
    }
    case heif_color_profile_type_nclx: {
        heif_color_profile_nclx* nclx = nullptr;
        if (!ok(heif_image_handle_get_nclx_color_profile(handle, &nclx)))
            return {};
        const bool displayP3 = nclx->color_primaries == kDisplayP3Primaries;
        heif_nclx_color_profile_free(nclx);
        if (displayP3)
            return QColorSpace(QColorSpace::Primaries::DciP3D65, QColorSpace::TransferFunction::SRgb);
        return {};
    }
    default: return {};
    }
}

// libheif's decoded picture as premultiplied RGBA, over libheif's own plane:
// a copy of it would double what the decode costs (a 16384 × 16384 grid
// peaked at 2.1 GB, 1.8 of them libheif's). Straight colour is premultiplied
// in place.
QImage pictureOf(std::unique_ptr<heif_image, ImageDeleter> image, bool straight)
{
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (plane == nullptr || width <= 0 || height <= 0 || stride < width * 4)
        return {};
    if (straight)
        parallelRows(height, width, [&](int first, int end) {
            for (int y = first; y < end; ++y) {
                uint8_t* row = plane + size_t(y) * size_t(stride);
                premultiplyRow(row, row, width);
            }
        });
    QImage picture(plane, width, height, stride, QImage::Format_RGBA8888_Premultiplied,
                   [](void* owned) { heif_image_release(static_cast<heif_image*>(owned)); }, image.get());
    if (!picture.isNull())
        image.release(); // the picture's now
    return picture;
}

std::unique_ptr<heif_context, ContextDeleter> contextOf(QByteArrayView bytes)
{
    routeLibraryMessages();
    useCheckedHevcDecoder();
    std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
    if (!context
        || !ok(heif_context_read_from_memory_without_copy(context.get(), bytes.data(), size_t(bytes.size()),
                                                          nullptr)))
        return nullptr;
    return context;
}

std::unique_ptr<heif_image_handle, HandleDeleter> primaryOf(heif_context* context)
{
    heif_image_handle* primary = nullptr;
    if (context == nullptr || !ok(heif_context_get_primary_image_handle(context, &primary)))
        return nullptr;
    return std::unique_ptr<heif_image_handle, HandleDeleter>(primary);
}

// A grid or overlay put together at another size than its 'ispe' property
// says: libheif decodes at the former, every check before it sees the latter.
bool sizesAgree(QByteArrayView bytes, const heif_image_handle* handle)
{
    const HeifPrimaryItem primary = heifPrimaryItem(bytes);
    return !primary.derived
           || primary.derivedSize
                  == QSize(heif_image_handle_get_ispe_width(handle), heif_image_handle_get_ispe_height(handle));
}

// An alpha plane the boxes give the picture and libheif leaves out (a
// damaged size property) would make an opaque picture of a transparent one.
bool alphaKept(QByteArrayView bytes, const heif_image_handle* handle)
{
    return heif_image_handle_has_alpha_channel(handle) || !heifPrimaryHasAlphaItem(bytes);
}

// The longest side of any picture libheif puts together for the primary
// image (a grid, its tiles, an overlay, a coded picture), but for the margin
// of the coded picture (HEVC codes whole blocks of up to 64 pixels and crops
// them: 37 × 23 pixels are coded as 64 × 64).
int longestSide(const heif_image_handle* handle)
{
    return std::max({heif_image_handle_get_width(handle), heif_image_handle_get_height(handle),
                     heif_image_handle_get_ispe_width(handle), heif_image_handle_get_ispe_height(handle)})
           + kCodedMargin;
}

// What every read checks of the boxes before libheif decodes anything.
bool boxesSound(QByteArrayView bytes, const heif_image_handle* handle)
{
    return sizesAgree(bytes, handle) && alphaKept(bytes, handle) && heifGridTilesFit(bytes)
           && heifOverlayCoversCanvas(bytes)
           && heifParameterSetsSound(bytes, quint32(std::max(longestSide(handle), 0)));
}

} // namespace

bool isHeif(QByteArrayView bytes) { return heifNamesReadBrand(bytes); }

std::optional<QSize> heifSize(QByteArrayView bytes)
{
    const auto context = contextOf(bytes);
    const auto handle = primaryOf(context.get());
    if (!handle || !boxesSound(bytes, handle.get()))
        return std::nullopt;
    return QSize(heif_image_handle_get_width(handle.get()), heif_image_handle_get_height(handle.get()));
}

std::optional<QImage> readHeif(QByteArrayView bytes, qint64 maxPixels)
{
    const auto context = contextOf(bytes);
    const auto handle = primaryOf(context.get());
    if (!handle)
        return std::nullopt;

    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0 || qint64(width) * height > maxPixels || !boxesSound(bytes, handle.get()))
        return std::nullopt;
    // No image the decoder puts together may be larger.
    heif_context_set_maximum_image_size_limit(context.get(), longestSide(handle.get()));

    heif_image* decoded = nullptr;
    if (!ok(heif_decode_image(handle.get(), &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr)))
        return std::nullopt;
    std::unique_ptr<heif_image, ImageDeleter> image(decoded);
    // Checked again on what was decoded.
    if (heif_image_get_width(image.get(), heif_channel_interleaved) != width
        || heif_image_get_height(image.get(), heif_channel_interleaved) != height)
        return std::nullopt;
    const bool straight = heif_image_handle_has_alpha_channel(handle.get())
                          && !heif_image_handle_is_premultiplied_alpha(handle.get());
    QImage result = pictureOf(std::move(image), straight);
    if (result.isNull())
        return std::nullopt;
    result.setColorSpace(colorSpaceOf(handle.get(), result));
    return result;
}

} // namespace zephrin
