#include "engine/codec/HeifHevcDecoder.h"

#include "engine/codec/LibraryMessages.h"

#include <libde265/de265.h>
#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace zephrin {

namespace {

// Above libheif's own libde265 decoder (100): libheif takes the highest.
constexpr int kPriority = 200;
// libde265's vector code reads a few bytes past a plane's last sample.
constexpr std::size_t kPadding = 64;
constexpr std::size_t kAlignment = 64;
// The narrowest block HEVC codes, and the alignment of every block.
constexpr int kRun = 8;

heif_error error(heif_error_code code, heif_suberror_code subcode, const char* message)
{
    return heif_error{code, subcode, message};
}
const heif_error kOk{heif_error_Ok, heif_suberror_Unspecified, "Success"};

// ---- Planes whose undecoded samples show ------------------------------------

// The value a luma sample holds until the decoder writes it: no smooth run,
// different from row to row.
template <typename Sample>
void markRow(Sample* row, int width, int y)
{
    const unsigned base = unsigned(y) * 101u + 91u;
    for (int x = 0; x < width; ++x)
        row[x] = Sample(base + unsigned(x) * 37u);
}

// One plane of the coded picture, as libde265 is given it: all of it, the
// part the conformance window crops away included.
struct CodedPlane {
    std::uint8_t* samples = nullptr;
    std::size_t stride = 0; // bytes
    int width = 0;
    int height = 0;
    int bytesPerSample = 1;

    ~CodedPlane() { std::free(samples); }
};

template <typename Sample>
bool keepsMarkedRun(const CodedPlane& plane)
{
    std::vector<Sample> marks(std::size_t(plane.width));
    for (int y = 0; y < plane.height; ++y) {
        markRow(marks.data(), plane.width, y);
        const auto* row = reinterpret_cast<const Sample*>(plane.samples + std::size_t(y) * plane.stride);
        for (int x = 0; x + kRun <= plane.width; x += kRun)
            if (std::memcmp(row + x, marks.data() + x, kRun * sizeof(Sample)) == 0)
                return true;
    }
    return false;
}

// Whether the decoder left a block of the picture unwritten (see the header).
bool leftUndecoded(const de265_image* picture)
{
    const auto* luma = static_cast<const CodedPlane*>(de265_get_image_plane_user_data(picture, 0));
    if (luma == nullptr)
        return true;
    return luma->bytesPerSample == 1 ? keepsMarkedRun<std::uint8_t>(*luma) : keepsMarkedRun<std::uint16_t>(*luma);
}

CodedPlane* newPlane(int width, int height, int bitDepth)
{
    auto* plane = new (std::nothrow) CodedPlane;
    if (plane == nullptr || width <= 0 || height <= 0 || bitDepth < 8 || bitDepth > 16) {
        delete plane;
        return nullptr;
    }
    plane->width = width;
    plane->height = height;
    plane->bytesPerSample = (bitDepth + 7) / 8;
    const std::size_t rowBytes = std::size_t(width) * std::size_t(plane->bytesPerSample);
    plane->stride = (rowBytes + kAlignment - 1) / kAlignment * kAlignment;
    const std::size_t bytes = (plane->stride * std::size_t(height) + kPadding + kAlignment - 1) / kAlignment
                              * kAlignment;
    plane->samples = static_cast<std::uint8_t*>(std::aligned_alloc(kAlignment, bytes));
    if (plane->samples == nullptr) {
        delete plane;
        return nullptr;
    }
    std::memset(plane->samples + plane->stride * std::size_t(height), 0, bytes - plane->stride * std::size_t(height));
    return plane;
}

void releasePlanes(de265_decoder_context*, de265_image* picture, void*)
{
    for (int c = 0; c < 3; ++c)
        delete static_cast<CodedPlane*>(de265_get_image_plane_user_data(picture, c));
}

int allocatePlanes(de265_decoder_context*, de265_image_spec* spec, de265_image* picture, void*)
{
    int subWidth = 2;
    int subHeight = 2;
    switch (spec->format) {
    case de265_image_format_mono8: subWidth = subHeight = 0; break;
    case de265_image_format_YUV420P8: break;
    case de265_image_format_YUV422P8: subHeight = 1; break;
    case de265_image_format_YUV444P8: subWidth = subHeight = 1; break;
    default: return 0;
    }
    for (int c = 0; c < 3; ++c) {
        const bool chroma = c > 0;
        if (chroma && subWidth == 0)
            break;
        CodedPlane* plane = newPlane(chroma ? spec->width / subWidth : spec->width,
                                     chroma ? spec->height / subHeight : spec->height,
                                     de265_get_bits_per_pixel(picture, c));
        if (plane == nullptr) {
            // libde265 releases no plane of a picture it could not allocate.
            for (int done = 0; done < c; ++done) {
                delete static_cast<CodedPlane*>(de265_get_image_plane_user_data(picture, done));
                de265_set_image_plane(picture, done, nullptr, 0, nullptr);
            }
            return 0;
        }
        if (!chroma) {
            for (int y = 0; y < plane->height; ++y) {
                std::uint8_t* row = plane->samples + std::size_t(y) * plane->stride;
                if (plane->bytesPerSample == 1)
                    markRow(row, plane->width, y);
                else
                    markRow(reinterpret_cast<std::uint16_t*>(row), plane->width, y);
            }
        } else {
            std::memset(plane->samples, 0, plane->stride * std::size_t(plane->height));
        }
        de265_set_image_plane(picture, c, plane->samples, int(plane->stride), plane);
    }
    return 1;
}

de265_image_allocation kMarkedPlanes{allocatePlanes, releasePlanes};

// ---- The decoded picture, as libheif takes it ---------------------------------

// The visible part of each plane into a new libheif image, with the colour
// description of the stream (libheif uses it where the file gives none).
heif_error heifImageOf(const de265_image* picture, heif_image** out)
{
    const de265_chroma chroma = de265_get_chroma_format(picture);
    const bool mono = chroma == de265_chroma_mono;
    heif_image* image = nullptr;
    heif_error result = heif_image_create(de265_get_image_width(picture, 0), de265_get_image_height(picture, 0),
                                          mono ? heif_colorspace_monochrome : heif_colorspace_YCbCr,
                                          heif_chroma(chroma), &image);
    if (result.code != heif_error_Ok)
        return result;
    const int bitDepth = de265_get_bits_per_pixel(picture, 0);
    constexpr heif_channel kChannels[3] = {heif_channel_Y, heif_channel_Cb, heif_channel_Cr};
    for (int c = 0; c < (mono ? 1 : 3); ++c) {
        const int width = de265_get_image_width(picture, c);
        const int height = de265_get_image_height(picture, c);
        if (de265_get_bits_per_pixel(picture, c) != bitDepth || width <= 0 || height <= 0) {
            heif_image_release(image);
            return error(heif_error_Decoder_plugin_error, heif_suberror_Unsupported_color_conversion,
                         "planes of different depths or no size");
        }
        result = heif_image_add_plane(image, kChannels[c], width, height, bitDepth);
        if (result.code != heif_error_Ok) {
            heif_image_release(image);
            return result;
        }
        int fromStride = 0;
        int toStride = 0;
        const std::uint8_t* from = de265_get_image_plane(picture, c, &fromStride);
        std::uint8_t* to = heif_image_get_plane(image, kChannels[c], &toStride);
        const std::size_t rowBytes = std::size_t(width) * std::size_t((bitDepth + 7) / 8);
        for (int y = 0; y < height; ++y)
            std::memcpy(to + std::size_t(y) * std::size_t(toStride), from + std::size_t(y) * std::size_t(fromStride),
                        rowBytes);
    }

    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    if (nclx != nullptr) {
        heif_nclx_color_profile_set_color_primaries(nclx, std::uint16_t(de265_get_image_colour_primaries(picture)));
        heif_nclx_color_profile_set_transfer_characteristics(
            nclx, std::uint16_t(de265_get_image_transfer_characteristics(picture)));
        heif_nclx_color_profile_set_matrix_coefficients(nclx,
                                                        std::uint16_t(de265_get_image_matrix_coefficients(picture)));
        nclx->full_range_flag = std::uint8_t(de265_get_image_full_range_flag(picture) != 0);
        heif_image_set_nclx_color_profile(image, nclx);
        heif_nclx_color_profile_free(nclx);
    }
    *out = image;
    return kOk;
}

// ---- The plugin ---------------------------------------------------------------

const char* pluginName() { return "libde265 HEVC decoder, undecoded blocks refused"; }
void initPlugin() { de265_init(); }
void deinitPlugin() { de265_free(); }
int supports(heif_compression_format format) { return format == heif_compression_HEVC ? kPriority : 0; }

heif_error newDecoder(void** decoder)
{
    de265_decoder_context* context = de265_new_decoder();
    if (context == nullptr)
        return error(heif_error_Memory_allocation_error, heif_suberror_Unspecified, "no HEVC decoder");
    de265_set_image_allocation_functions(context, &kMarkedPlanes, nullptr);
    // As libheif's own: one worker thread, decoding beside the caller.
    de265_start_worker_threads(context, 1);
    *decoder = context;
    return kOk;
}

void freeDecoder(void* decoder) { de265_free_decoder(static_cast<de265_decoder_context*>(decoder)); }

// libheif hands over the parameter sets and the image's data as NAL units,
// each after its size in four bytes.
heif_error pushData(void* decoder, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t at = 0; at < size;) {
        if (size - at < 4)
            return error(heif_error_Decoder_plugin_error, heif_suberror_End_of_data, "NAL size cut short");
        const std::size_t length = std::size_t(bytes[at]) << 24 | std::size_t(bytes[at + 1]) << 16
                                   | std::size_t(bytes[at + 2]) << 8 | std::size_t(bytes[at + 3]);
        at += 4;
        if (length > size - at)
            return error(heif_error_Decoder_plugin_error, heif_suberror_End_of_data, "NAL past the data");
        de265_push_NAL(static_cast<de265_decoder_context*>(decoder), bytes + at, int(length), 0, nullptr);
        at += length;
    }
    return kOk;
}

// Every warning of libde265's but these two says the data was damaged (see
// the header).
bool aboutData(de265_error warning)
{
    return warning != DE265_WARNING_NO_WPP_CANNOT_USE_MULTITHREADING
           && warning != DE265_WARNING_NUMBER_OF_THREADS_LIMITED_TO_MAXIMUM;
}

heif_error decodeImage(void* decoder, heif_image** out)
{
    auto* context = static_cast<de265_decoder_context*>(decoder);
    *out = nullptr;
    de265_flush_data(context);
    heif_error result = error(heif_error_Decoder_plugin_error, heif_suberror_Unspecified, "no picture decoded");
    bool refused = false;
    int more = 0;
    do {
        more = 0;
        if (de265_decode(context, &more) != DE265_OK)
            break;
        const de265_image* picture = de265_get_next_picture(context);
        if (picture == nullptr)
            continue;
        // The stream's last picture is the image, as in libheif's own decoder.
        heif_image_release(*out);
        *out = nullptr;
        result = leftUndecoded(picture)
                     ? error(heif_error_Decoder_plugin_error, heif_suberror_Unspecified,
                             "the coded data leaves part of the picture undecoded")
                     : heifImageOf(picture, out);
        refused = result.code != heif_error_Ok;
        de265_release_next_picture(context);
    } while (more != 0 && !refused);
    for (de265_error warning = de265_get_warning(context); warning != DE265_OK;
         warning = de265_get_warning(context)) {
        if (!aboutData(warning))
            continue;
        qCInfo(imageLibraryLog, "libde265: %s", de265_get_error_text(warning));
        if (result.code == heif_error_Ok)
            result = error(heif_error_Decoder_plugin_error, heif_suberror_Unspecified, de265_get_error_text(warning));
    }
    if (result.code != heif_error_Ok) {
        heif_image_release(*out);
        *out = nullptr;
    }
    return result;
}

void setStrictDecoding(void*, int) {}

// Version 3 of libheif's decoder plugins, as libheif's own libde265 decoder.
const heif_decoder_plugin kPlugin{
    3, pluginName, initPlugin, deinitPlugin, supports, newDecoder, freeDecoder, pushData, decodeImage,
    setStrictDecoding, "zephrin-libde265",
};

} // namespace

void useCheckedHevcDecoder()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (heif_register_decoder_plugin(&kPlugin).code != heif_error_Ok)
            qCWarning(imageLibraryLog, "libheif: the HEVC decoder could not be registered");
    });
}

} // namespace zephrin
