#include "engine/codec/LibraryMessages.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <libde265/de265.h>
#include <tiffio.h>

namespace zephrin {

Q_LOGGING_CATEGORY(imageLibraryLog, "zephrin.imageio", QtCriticalMsg)

namespace {

thread_local TiffDataMessages* t_watch = nullptr;

// libtiff names the function a message comes from. Those that read a
// directory speak of its fields, whatever the pixel data holds.
bool isAboutFields(const char* module)
{
    return module != nullptr
           && (std::strstr(module, "Directory") != nullptr || std::strncmp(module, "TIFFFetch", 9) == 0
               || std::strstr(module, "SetField") != nullptr || std::strstr(module, "GetField") != nullptr);
}

void note(bool error, const char* module, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    if (error)
        qCWarning(imageLibraryLog, "libtiff error: %s: %s", module ? module : "", text);
    else
        qCInfo(imageLibraryLog, "libtiff: %s: %s", module ? module : "", text);
    if (t_watch != nullptr && !isAboutFields(module))
        t_watch->noted();
}

void onWarning(const char* module, const char* format, va_list arguments) { note(false, module, format, arguments); }
void onError(const char* module, const char* format, va_list arguments) { note(true, module, format, arguments); }

} // namespace

void routeLibraryMessages()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetWarningHandler(onWarning);
        TIFFSetErrorHandler(onError);
        // libde265 (libheif's HEVC decoder) has no handler to take its
        // messages: they are kept off; libheif's errors are logged instead.
        de265_disable_logging();
        de265_set_verbosity(0);
    });
}

TiffDataMessages::TiffDataMessages() : m_outer(t_watch)
{
    routeLibraryMessages();
    t_watch = this;
}

TiffDataMessages::~TiffDataMessages() { t_watch = m_outer; }

} // namespace zephrin
