#include "engine/codec/WebpReader.h"

#include "picturehead/Bytes.h"
#include "engine/codec/ColourProfile.h"
#include "engine/codec/ExifOrientation.h"
#include "engine/codec/ReadSteps.h"

#include <QColorSpace>
#include <QRect>

#include <algorithm>
#include <memory>

#include <webp/decode.h>
#include <webp/demux.h>

namespace zephrin {

namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};
using Demuxer = std::unique_ptr<WebPDemuxer, DemuxDeleter>;

// The first frame of a whole file (a still picture is a single frame that
// covers its canvas), what decoding it takes, and the size it decodes at.
struct WebpLayout {
    Demuxer demuxer;
    QSize canvas;
    QRect frame;
    WebPData bitstream{}; // the frame's own VP8/VP8L data, with its alpha
    bool scaledWhileDecoding = false;
    QSize decoded;        // the frame's size as decoded
    qint64 memory = 0;    // the decoded picture and libwebp's own buffers
};

// The size libwebp decodes a frame at: that of the bitstream in the ANMF
// body `frame` (its sub-chunks, an optional ALPH before the VP8 or VP8L
// chunk). None when there is no bitstream libwebp can parse.
std::optional<QSize> bitstreamSize(QByteArrayView frame)
{
    const Bytes chunks(frame);
    for (qsizetype at = 0; chunks.has(at, 8);) {
        const qsizetype size = *chunks.little32(at + 4);
        const QByteArrayView type = frame.sliced(at, 4);
        if (type == "VP8 " || type == "VP8L") {
            const qsizetype length = std::min(8 + size, frame.size() - at);
            WebPBitstreamFeatures features;
            if (WebPGetFeatures(reinterpret_cast<const uint8_t*>(frame.data() + at), size_t(length), &features)
                != VP8_STATUS_OK)
                return std::nullopt;
            return QSize(features.width, features.height);
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

// How many canvas pixels the frames of an animation cover, added up frame
// by frame (at most the canvas's), each at the size its bitstream decodes
// at; the first frame's area for a file without ANMF chunks (a still
// picture). None when a frame's header gives it another size than its
// bitstream has: libwebp decodes the bitstream, and a 16000 x 16000 header
// around one pixel is a picture the file does not hold. The chunks are
// walked here, once: libwebp finds a frame by counting from the first, so
// asking it for every frame in turn took time growing with the square of
// their number (80000 frames of a 4 MB file: 6 s).
std::optional<qint64> coveredPixels(QByteArrayView bytes, QSize canvas, QRect first)
{
    const Bytes file(bytes);
    const QRect whole(QPoint(0, 0), canvas);
    const qint64 canvasPixels = qint64(canvas.width()) * canvas.height();
    qint64 covered = 0;
    bool animated = false;
    // The RIFF header, then chunks: a type, a 32-bit size, the body padded to
    // an even length. An ANMF body begins with X / 2, Y / 2, width - 1 and
    // height - 1, 24 bits each, then three bytes of duration and one of flags.
    for (qsizetype at = 12; file.has(at, 8);) {
        const quint32 size = *file.little32(at + 4);
        if (bytes.sliced(at, 4) == "ANMF" && size >= 16 && file.has(at, 24)) {
            animated = true;
            const auto field = [&](qsizetype offset) { return int(*file.little24(at + 8 + offset)); };
            const QRect header(2 * field(0), 2 * field(3), field(6) + 1, field(9) + 1);
            const qsizetype bodyEnd = std::min(at + 8 + qsizetype(size), bytes.size());
            const std::optional<QSize> coded = bitstreamSize(bytes.sliced(at + 24, bodyEnd - (at + 24)));
            if (!coded || *coded != header.size())
                return std::nullopt;
            const QRect shown = header & whole;
            covered = std::min(canvasPixels, covered + qint64(shown.width()) * shown.height());
        }
        at += 8 + qsizetype(size) + qsizetype(size & 1);
    }
    if (animated)
        return covered;
    const QRect shown = first & whole;
    return qint64(shown.width()) * shown.height();
}

std::optional<WebpLayout> webpLayout(QByteArrayView bytes, const ReadLimits& limits)
{
    WebpLayout layout;
    const WebPData data{reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size())};
    layout.demuxer.reset(WebPDemux(&data)); // none for a file cut short
    if (!layout.demuxer)
        return std::nullopt;
    layout.canvas = QSize(int(WebPDemuxGetI(layout.demuxer.get(), WEBP_FF_CANVAS_WIDTH)),
                          int(WebPDemuxGetI(layout.demuxer.get(), WEBP_FF_CANVAS_HEIGHT)));
    WebPIterator frame;
    if (!WebPDemuxGetFrame(layout.demuxer.get(), 1, &frame))
        return std::nullopt;
    layout.frame = QRect(frame.x_offset, frame.y_offset, frame.width, frame.height);
    layout.bitstream = frame.fragment;
    WebPDemuxReleaseIterator(&frame);
    WebPBitstreamFeatures features;
    if (layout.canvas.isEmpty() || layout.frame.isEmpty() || !QRect(QPoint(0, 0), layout.canvas).contains(layout.frame)
        || WebPGetFeatures(layout.bitstream.bytes, layout.bitstream.size, &features) != VP8_STATUS_OK
        || features.width != layout.frame.width() || features.height != layout.frame.height())
        return std::nullopt;
    if (const std::optional<qint64> covered = coveredPixels(bytes, layout.canvas, layout.frame);
        !covered || !framesCoverCanvas(layout.canvas, *covered))
        return std::nullopt;

    // libwebp scales a frame that covers the canvas while decoding it; a
    // smaller frame is placed on the canvas whole, and scaled after.
    const QSize bounded = boundedSize(layout.canvas, limits.maxLongEdge);
    layout.scaledWhileDecoding = layout.frame == QRect(QPoint(0, 0), layout.canvas);
    layout.decoded = layout.scaledWhileDecoding ? bounded : layout.frame.size();
    const qint64 framePixels = qint64(layout.frame.width()) * layout.frame.height();
    // A lossless frame is decoded whole into ARGB before it is scaled; a lossy
    // one keeps a few rows, and a full plane for its alpha.
    const qint64 working = features.format == 2 ? 4 * framePixels : features.has_alpha ? framePixels : 0;
    layout.memory = pictureBytes(layout.scaledWhileDecoding ? bounded : layout.canvas) + working;
    return layout;
}

std::optional<ReadFailure> refusalOf(const std::optional<WebpLayout>& layout, const ReadLimits& limits)
{
    if (!layout)
        return ReadFailure::unreadable;
    if (layout->memory > limits.maxDecodeBytes)
        return ReadFailure::tooLarge;
    return std::nullopt;
}

// The orientation of the file's EXIF chunk; 0 without one.
int orientationOf(const WebpLayout& layout)
{
    WebPChunkIterator chunk;
    if (!WebPDemuxGetChunk(layout.demuxer.get(), "EXIF", 1, &chunk))
        return 0;
    const int orientation = bareExifOrientation(
        QByteArrayView(reinterpret_cast<const char*>(chunk.chunk.bytes), qsizetype(chunk.chunk.size)));
    WebPDemuxReleaseChunkIterator(&chunk);
    return orientation;
}

// The colour space of the file's ICC profile; none without one, or with one
// that is not for RGB: WebP stores RGB alone (lossy frames as YCbCr).
QColorSpace profileOf(const WebpLayout& layout)
{
    WebPChunkIterator chunk;
    if (!WebPDemuxGetChunk(layout.demuxer.get(), "ICCP", 1, &chunk))
        return {};
    const QByteArrayView icc(reinterpret_cast<const char*>(chunk.chunk.bytes), qsizetype(chunk.chunk.size));
    const QColorSpace profile = profileFor(icc, StoredColours::rgb);
    WebPDemuxReleaseChunkIterator(&chunk);
    return profile;
}

} // namespace

std::optional<ReadFailure> webpRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    return refusalOf(webpLayout(bytes, limits), limits);
}

ImageRead readWebp(QByteArrayView bytes, const ReadLimits& limits)
{
    const std::optional<WebpLayout> layout = webpLayout(bytes, limits);
    if (const std::optional<ReadFailure> refusal = refusalOf(layout, limits))
        return failed(*refusal);
    const QSize pictureSize = layout->scaledWhileDecoding ? layout->decoded : layout->canvas;
    cv::Mat picture(pictureSize.height(), pictureSize.width(), CV_8UC4, cv::Scalar::all(0));
    const cv::Mat target = picture(cv::Rect(layout->scaledWhileDecoding ? 0 : layout->frame.x(),
                                            layout->scaledWhileDecoding ? 0 : layout->frame.y(),
                                            layout->decoded.width(), layout->decoded.height()));

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return failed(ReadFailure::unreadable);
    config.options.use_scaling = layout->decoded != layout->frame.size();
    config.options.scaled_width = layout->decoded.width();
    config.options.scaled_height = layout->decoded.height();
    config.output.colorspace = MODE_rgbA; // premultiplied RGBA, as an Image holds it
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = target.data;
    config.output.u.RGBA.stride = int(target.step);
    config.output.u.RGBA.size = size_t(target.step) * size_t(target.rows - 1) + size_t(target.cols) * 4;
    const VP8StatusCode status = WebPDecode(layout->bitstream.bytes, layout->bitstream.size, &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK)
        return failed(ReadFailure::unreadable);
    ImageRead read = finishedImage(Image(picture), limits, profileOf(*layout));
    if (const int orientation = limits.applyOrientation ? orientationOf(*layout) : 0; read.image && orientation > 1)
        read.image = uprightImage(*read.image, orientation);
    return read;
}

} // namespace zephrin
