#pragma once
// What the image libraries say while they read. libtiff prints its warnings
// and errors on standard error unless a program takes them; here they go to
// the log category "zephrin.imageio" instead (off unless asked for, e.g.
// QT_LOGGING_RULES="zephrin.imageio*=true"), as do libpng's (PngReader),
// libheif's errors and the messages of its AV1 decoder, dav1d, and a TIFF read
// learns whether the decoder complained about the data it was given. libde265
// prints nothing; its warnings are logged by HeifHevcDecoder.

#include <QLoggingCategory>

namespace zephrin {

Q_DECLARE_LOGGING_CATEGORY(imageLibraryLog)

// Takes libtiff's messages into imageLibraryLog and keeps libde265 quiet,
// once for the process. Every TIFF and HEIF read calls it; programs call it
// at their start (through quietImageReaderWarnings).
void routeLibraryMessages();

// The messages libtiff gives on this thread while one lives about the pixel
// data it decodes: a codec's warnings (a JPEG strip that ends early or is of
// another size than the strip), failed reads of strips or tiles. Messages
// about a directory's fields (unknown tags and the like) are not counted.
class TiffDataMessages {
public:
    TiffDataMessages();
    ~TiffDataMessages();
    TiffDataMessages(const TiffDataMessages&) = delete;
    TiffDataMessages& operator=(const TiffDataMessages&) = delete;

    int count() const { return m_count; }
    // Called by the message handler.
    void noted() { ++m_count; }

private:
    int m_count = 0;
    TiffDataMessages* m_outer;
};

} // namespace zephrin
