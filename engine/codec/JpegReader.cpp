#include "engine/codec/JpegReader.h"

#include "engine/codec/ColourProfile.h"
#include "engine/codec/ExifOrientation.h"
#include "engine/codec/JpegScans.h"
#include "engine/codec/ReadSteps.h"
#include "engine/pixel/PixelBuffer.h"

#include <QColorSpace>
#include <QImage>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstring>
#include <optional>

#include <jpeglib.h>
// After jpeglib.h: which messages exist depends on its configuration.
#include <jerror.h>

namespace zephrin {

namespace {

// Progressive files have about ten scans; each one is a pass over every block
// of its components, however little it codes, so a file of thousands of tiny
// scans would take minutes. Typical scripts come to four to eight passes over
// the picture's blocks; a hundred full passes over 16384 x 16384 took 17.6 s.
// Work below kWorkAlwaysAllowed block visits (about a second) always goes.
constexpr int kMaxScans = 100;
constexpr qint64 kMaxPassesOverBlocks = 16;
constexpr qint64 kWorkAlwaysAllowed = qint64(1) << 25;
constexpr int kRowsPerRead = 16;

// libjpeg reports errors through error_exit, which must not return: it jumps
// back to the setjmp of the step that was running. Every function below that
// calls setjmp holds only plain data, so no destructor is skipped.
struct ErrorManager {
    jpeg_error_mgr base; // first: libjpeg sees only this part
    std::jmp_buf jump;
};

struct Session {
    jpeg_decompress_struct info;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    QByteArrayView bytes; // what libjpeg reads
    bool oneScan = false; // set before decoding
    int scansCounted = 0;
    qint64 blockVisits = 0; // by the scans counted
    // In an arithmetic-coded file of one scan: the iMCU rows decoded when its
    // data was found to end at a marker before its last row; -1 otherwise.
    int rowsBeforeDataEnded = -1;
};

Session& sessionOf(j_common_ptr info) { return *static_cast<Session*>(info->client_data); }

void stop(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

bool isRestartMarker(int marker) { return marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7; }

// libjpeg skipped `count` bytes to reach the marker it reads now. In an
// arithmetic-coded file past its first scan header these are scan data the
// decoder did not need: the picture ended before its data did, so the data
// was not the picture's (a piece cut out of it, or data made up to look large
// enough). Zero bytes code nothing and are let be.
bool skippedScanData(j_common_ptr common, int count)
{
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (!info->arith_code || info->input_scan_number == 0)
        return false;
    const QByteArrayView bytes = sessionOf(common).bytes;
    const auto* at = reinterpret_cast<const char*>(info->src->next_input_byte);
    if (count <= 0 || at < bytes.data() + count || at > bytes.data() + bytes.size())
        return true;
    return std::any_of(at - count, at, [](char byte) { return byte != 0; });
}

// libjpeg goes on after these warnings, filling the blocks it has no data for
// with grey, or (a scan refining coefficients it refined already) taking as
// long as a scan over every block, again and again; here they end the read.
void onMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    const int code = info->err->msg_code;
    if (code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF || code == JWRN_ARITH_BAD_CODE
        || code == JWRN_BOGUS_PROGRESSION
        || (code == JWRN_EXTRANEOUS_DATA && skippedScanData(info, info->err->msg_parm.i[0])))
        stop(info);
}

// libjpeg's arithmetic decoder takes zeros once its data meets a marker and
// says nothing, where the Huffman decoder warns (JWRN_HIT_MARKER). The rows
// decoded by then are noted here; what follows is judged once decoded.
void onProgress(j_common_ptr common)
{
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxScans)
        stop(common);
    Session& session = sessionOf(common);
    if (info->input_scan_number != session.scansCounted) {
        session.scansCounted = info->input_scan_number;
        qint64 blocks = 0;
        for (int c = 0; c < info->num_components; ++c)
            blocks += qint64(info->comp_info[c].width_in_blocks) * info->comp_info[c].height_in_blocks;
        for (int c = 0; c < info->comps_in_scan; ++c)
            session.blockVisits +=
                qint64(info->cur_comp_info[c]->width_in_blocks) * info->cur_comp_info[c]->height_in_blocks;
        if (session.blockVisits > std::max(kMaxPassesOverBlocks * blocks, kWorkAlwaysAllowed))
            stop(common);
    }
    if (session.oneScan && info->arith_code && session.rowsBeforeDataEnded < 0 && info->unread_marker != 0
        && !isRestartMarker(info->unread_marker) && info->input_iMCU_row < info->total_iMCU_rows)
        session.rowsBeforeDataEnded = int(info->input_iMCU_row);
}

bool readHeader(Session& session, QByteArrayView bytes)
{
    if (setjmp(session.errors.jump))
        return false;
    jpeg_mem_src(&session.info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&session.info, JPEG_APP0 + 1, 0xFFFF); // Exif
    jpeg_save_markers(&session.info, JPEG_APP0 + 2, 0xFFFF); // ICC profile
    jpeg_read_header(&session.info, TRUE);
    return true;
}

bool chooseOutput(Session& session, unsigned scaleNumerator, J_COLOR_SPACE space)
{
    if (setjmp(session.errors.jump))
        return false;
    session.info.scale_num = scaleNumerator;
    session.info.scale_denom = 8;
    session.info.out_color_space = space;
    jpeg_calc_output_dimensions(&session.info);
    return true;
}

// CMYK as Adobe writes it (inverted): each colour channel times K, into
// R, G, B, 255 or B, G, R, 255.
void cmykToFourBytes(const unsigned char* in, unsigned char* out, JDIMENSION width, bool bgra)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 4) {
        const int k = in[3];
        const auto r = (unsigned char)(k * in[0] / 255);
        const auto g = (unsigned char)(k * in[1] / 255);
        const auto b = (unsigned char)(k * in[2] / 255);
        out[0] = bgra ? b : r;
        out[1] = g;
        out[2] = bgra ? r : b;
        out[3] = 0xFF;
    }
}

bool decodeRows(Session& session, unsigned char* first, size_t step, bool cmyk, bool bgra)
{
    if (setjmp(session.errors.jump))
        return false;
    jpeg_decompress_struct& info = session.info;
    jpeg_start_decompress(&info);
    JSAMPARRAY cmykRow = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                           info.output_width * 4, 1)
                              : nullptr;
    JSAMPROW rows[kRowsPerRead];
    while (info.output_scanline < info.output_height) {
        unsigned char* row = first + size_t(info.output_scanline) * step;
        if (cmyk) {
            jpeg_read_scanlines(&info, cmykRow, 1);
            cmykToFourBytes(cmykRow[0], row, info.output_width, bgra);
            continue;
        }
        const JDIMENSION count = std::min<JDIMENSION>(kRowsPerRead, info.output_height - info.output_scanline);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = row + i * step;
        jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Every block of the full-resolution grid costs a Huffman-coded scan at least
// one bit (its DC difference). Arithmetic coding has no such floor: a decoder
// reads zeros past the end of its data, and a flat picture costs next to
// nothing, so a few bytes claiming 65500 × 65500 pixels decoded to flat grey.
// It gets one bit per 64 blocks instead, far below any photograph or drawing.
// Only the scans' data counts: padding after the end marker or large comment
// segments made such a file look large enough.
constexpr qint64 kArithmeticBlocksPerBit = 64;

bool dataCanHoldBlocks(const jpeg_decompress_struct& info, qint64 scanBytes)
{
    const qint64 blocks = qint64((info.image_width + 7) / 8) * qint64((info.image_height + 7) / 8);
    return scanBytes * 8 * (info.arith_code ? kArithmeticBlocksPerBit : 1) >= blocks;
}

// Where the rows an arithmetic-coded scan decoded from its decoder's zeros
// alone start for certain: past the iMCU row noted in rowsBeforeDataEnded,
// whose first rows mix in chroma upsampled from the row before.
int firstZeroFilledRow(const jpeg_decompress_struct& info, int rowsBeforeDataEnded)
{
#if JPEG_LIB_VERSION >= 70
    const int scaled = info.min_DCT_v_scaled_size;
#else
    const int scaled = info.min_DCT_scaled_size;
#endif
    return (rowsBeforeDataEnded + 1) * info.max_v_samp_factor * scaled;
}

// Rows decoded from zeros are the picture's own only where it has nothing
// more to code: the arithmetic coder leaves out the zero bytes a flat end (a
// white band, a blank page) comes to. The same zeros after a scan cut short
// paint whatever the decoder's adapted state makes of them.
bool rowsFromAreFlat(const cv::Mat& pixels, int first)
{
    if (first >= pixels.rows)
        return true;
    const size_t pixel = pixels.elemSize();
    const uchar* colour = pixels.ptr(first);
    for (int y = first; y < pixels.rows; ++y) {
        const uchar* row = pixels.ptr(y);
        for (int x = 0; x < pixels.cols; ++x)
            if (std::memcmp(row + size_t(x) * pixel, colour, pixel) != 0)
                return false;
    }
    return true;
}

// What libjpeg keeps besides the output rows: a file of several scans is held
// as coefficients (64 of 2 bytes a block) until its last scan.
qint64 coefficientBytes(const jpeg_decompress_struct& info)
{
    if (!jpeg_has_multiple_scans(const_cast<j_decompress_ptr>(&info)))
        return 0;
    qint64 bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        const auto roundUp = [](qint64 n, qint64 m) { return (n + m - 1) / m * m; };
        bytes += roundUp(component.width_in_blocks, component.h_samp_factor)
            * roundUp(component.height_in_blocks, component.v_samp_factor) * qint64(sizeof(JBLOCK));
    }
    return bytes;
}

// libjpeg's M/8 for a picture of `stored` size wanted at `wanted`: the smallest
// that still covers it, as Qt's reader chooses.
unsigned scaleNumerator(QSize stored, QSize wanted)
{
    if (wanted == stored)
        return 8;
    const double factor = std::min(double(stored.width()) / wanted.width(), double(stored.height()) / wanted.height());
    return unsigned(std::clamp(int(std::ceil(8 / factor)), 1, 8));
}

// Qt's scale (see scaleNumerator), or where its decode would take more than
// `maxBytes` the largest smaller eighth that does not; tooLarge when even 1/8
// would, unreadable when libjpeg refuses.
std::optional<ReadFailure> chooseScale(Session& session, unsigned numerator, bool cmyk, qint64 maxBytes)
{
    const jpeg_decompress_struct& info = session.info;
    for (;; --numerator) {
        if (!chooseOutput(session, numerator, cmyk ? JCS_CMYK : JCS_EXT_RGBA))
            return ReadFailure::unreadable;
        if (qint64(info.output_width) * info.output_height * 4 + coefficientBytes(info) <= maxBytes)
            return std::nullopt;
        if (numerator == 1)
            return ReadFailure::tooLarge;
    }
}

struct Markers {
    QByteArray exif; // the first APP1 payload that is an Exif block
    QByteArray icc;  // ICC profile chunks, in file order
};

Markers savedMarkers(const jpeg_decompress_struct& info)
{
    constexpr unsigned kIccHeader = 14; // "ICC_PROFILE\0", chunk number, chunk count
    Markers markers;
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        const auto* data = reinterpret_cast<const char*>(marker->data);
        const QByteArrayView payload(data, marker->data_length);
        // Editors put an XMP block (also APP1) before or after the Exif block.
        if (marker->marker == JPEG_APP0 + 1 && markers.exif.isEmpty() && isExifBlock(payload))
            markers.exif = payload.toByteArray();
        else if (marker->marker == JPEG_APP0 + 2 && marker->data_length > 128 + 4 + kIccHeader
                 && std::strcmp(data, "ICC_PROFILE") == 0)
            markers.icc.append(data + kIccHeader, marker->data_length - kIccHeader);
    }
    return markers;
}

// How the decoded rows are laid out, chosen so that each later step is the one
// Qt takes on a picture of its own JPEG reader, with the same results.
enum class Layout {
    rgba, // R, G, B, 255: the Image itself
    bgra, // Qt's RGB32 (B, G, R, X in memory), converted to sRGB in place
    grey, // Qt's Grayscale8, for grey pictures that are scaled or converted
};

QImage viewOf(const cv::Mat& pixels, QImage::Format format)
{
    return QImage(pixels.data, pixels.cols, pixels.rows, qsizetype(pixels.step), format);
}

cv::Mat copyOf(const QImage& image)
{
    return cv::Mat(image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.constBits()),
                   size_t(image.bytesPerLine()))
        .clone();
}

// Scaled smoothly to `wanted`, then converted from `profile` (when valid) to
// sRGB, in Qt's formats: RGBX8888 and RGB32 share Qt's RGB32 arithmetic.
Image finishedColour(cv::Mat pixels, bool bgra, QSize wanted, const QColorSpace& profile)
{
    const QImage::Format format = bgra ? QImage::Format_RGB32 : QImage::Format_RGBX8888;
    if (QSize(pixels.cols, pixels.rows) != wanted)
        pixels = copyOf(viewOf(pixels, format).scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    if (profile.isValid()) {
        QImage view = viewOf(pixels, format);
        view.setColorSpace(profile);
        view.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
        if (view.constBits() != pixels.data)
            pixels = copyOf(view);
    }
    if (bgra)
        cv::cvtColor(pixels, pixels, cv::COLOR_BGRA2RGBA);
    return Image(pixels);
}

Image finishedGrey(const cv::Mat& grey, QSize wanted, const QColorSpace& profile)
{
    QImage picture = viewOf(grey, QImage::Format_Grayscale8);
    if (picture.size() != wanted)
        picture = picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (profile.isValid()) {
        picture.setColorSpace(profile);
        picture.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    }
    return imageFromQImage(picture);
}

class SessionGuard {
public:
    explicit SessionGuard(Session& session) : m_session(session)
    {
        session.info.err = jpeg_std_error(&session.errors.base);
        session.errors.base.error_exit = stop;
        session.errors.base.emit_message = onMessage;
        session.progress.progress_monitor = onProgress;
        jpeg_create_decompress(&session.info);
        session.info.progress = &session.progress;
        session.info.client_data = &session;
    }
    ~SessionGuard() { jpeg_destroy_decompress(&m_session.info); }
    SessionGuard(const SessionGuard&) = delete;
    SessionGuard& operator=(const SessionGuard&) = delete;

private:
    Session& m_session;
};

// Everything readJpeg decides before it decodes: the header read, the data's
// floor, the scale. `wanted` is the size the picture is given.
std::optional<ReadFailure> prepare(Session& session, QByteArrayView bytes, const ReadLimits& limits, QSize& wanted,
                                   bool& cmyk)
{
    const std::optional<qint64> scanBytes = jpegScanBytes(bytes);
    if (!scanBytes || !readHeader(session, bytes) || !dataCanHoldBlocks(session.info, *scanBytes))
        return ReadFailure::unreadable;
    const jpeg_decompress_struct& info = session.info;
    cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const QSize stored(int(info.image_width), int(info.image_height));
    wanted = boundedSize(stored, limits.maxLongEdge);
    if (const std::optional<ReadFailure> failure =
            chooseScale(session, scaleNumerator(stored, wanted), cmyk, limits.maxDecodeBytes))
        return failure;
    // A smaller scale than Qt's keeps its picture: nothing is scaled up.
    const QSize decoded(int(info.output_width), int(info.output_height));
    if (decoded.width() < wanted.width() || decoded.height() < wanted.height())
        wanted = decoded;
    return std::nullopt;
}

} // namespace

bool isJpeg(QByteArrayView bytes)
{
    return bytes.size() >= 2 && quint8(bytes[0]) == 0xFF && quint8(bytes[1]) == 0xD8;
}

std::optional<ReadFailure> jpegRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    Session session{};
    session.bytes = bytes;
    const SessionGuard guard(session);
    QSize wanted;
    bool cmyk = false;
    return prepare(session, bytes, limits, wanted, cmyk);
}

ImageRead readJpeg(QByteArrayView bytes, const ReadLimits& limits)
{
    Session session{};
    session.bytes = bytes;
    const SessionGuard guard(session);
    QSize wanted;
    bool cmyk = false;
    if (const std::optional<ReadFailure> refusal = prepare(session, bytes, limits, wanted, cmyk))
        return failed(*refusal);
    jpeg_decompress_struct& info = session.info;
    const Markers markers = savedMarkers(info);
    const StoredColours colours = info.jpeg_color_space == JCS_GRAYSCALE ? StoredColours::grey
                                  : cmyk                                 ? StoredColours::cmyk
                                                                         : StoredColours::rgb;
    const QColorSpace profile = limits.convertToSRgb ? profileFor(markers.icc, colours) : QColorSpace();
    const bool convert = profile.isValid() && profile != QColorSpace(QColorSpace::SRgb);
    const QSize decoded(int(info.output_width), int(info.output_height));
    info.mem->max_memory_to_use = long(limits.maxDecodeBytes);

    const Layout layout = info.jpeg_color_space == JCS_GRAYSCALE && (decoded != wanted || convert) ? Layout::grey
                          : convert                                                             ? Layout::bgra
                                                                                                : Layout::rgba;
    if (!cmyk)
        info.out_color_space = layout == Layout::grey ? JCS_GRAYSCALE
                               : layout == Layout::bgra ? JCS_EXT_BGRA
                                                        : JCS_EXT_RGBA;
    // The decoder writes on one thread: a pooled buffer is mapped in already.
    cv::Mat pixels = newPixelBuffer({decoded.width(), decoded.height()}, layout == Layout::grey ? CV_8UC1 : CV_8UC4);
    session.oneScan = !jpeg_has_multiple_scans(&info);
    if (!decodeRows(session, pixels.data, pixels.step, cmyk, layout == Layout::bgra))
        return failed(ReadFailure::unreadable);
    if (session.rowsBeforeDataEnded >= 0
        && !rowsFromAreFlat(pixels, firstZeroFilledRow(info, session.rowsBeforeDataEnded)))
        return failed(ReadFailure::unreadable);

    const QColorSpace conversion = convert ? profile : QColorSpace();
    Image picture = layout == Layout::grey ? finishedGrey(pixels, wanted, conversion)
                                           : finishedColour(pixels, layout == Layout::bgra, wanted, conversion);
    const int orientation = limits.applyOrientation ? exifOrientation(markers.exif) : 0;
    if (orientation > 1)
        picture = uprightImage(picture, orientation);
    return ImageRead{picture, ReadFailure::unreadable};
}

} // namespace zephrin
