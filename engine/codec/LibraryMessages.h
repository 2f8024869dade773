#pragma once
// What the image libraries say while they read. libtiff prints its warnings
// and errors on standard error unless a program takes them; here they go to
// the log category "zephrin.imageio" instead (off unless asked for, e.g.
// QT_LOGGING_RULES="zephrin.imageio*=true"), as do libpng's (PngReader),
// what Qt logs while its readers decode (QtMessagesToLog), libheif's errors
// and the messages of its AV1 decoder, dav1d, and a TIFF read learns whether
// the decoder complained about the data it was given. libde265 prints
// nothing; its warnings are logged by HeifHevcDecoder.

#include <QLoggingCategory>

namespace zephrin {

Q_DECLARE_LOGGING_CATEGORY(imageLibraryLog)

// Takes libtiff's messages into imageLibraryLog, installs the Qt message
// handler of QtMessagesToLog and keeps libde265 quiet, once for the process.
// Every TIFF, HEIF and Qt read calls it; programs call it at their start
// (through quietImageReaderWarnings).
void routeLibraryMessages();

// While one lives, what Qt logs on this thread goes to imageLibraryLog rather
// than the terminal: its image classes' own warnings ("QImage::setColor:
// Index out of bound 2", once for each colour a 1-bit BMP's header counts
// past two) along with its readers'. Wraps a decode by Qt's readers; the
// handler, installed once (routeLibraryMessages), passes every other message
// on to the one before it. A fatal message stays fatal.
class QtMessagesToLog {
public:
    QtMessagesToLog();
    ~QtMessagesToLog();
    QtMessagesToLog(const QtMessagesToLog&) = delete;
    QtMessagesToLog& operator=(const QtMessagesToLog&) = delete;
};

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
