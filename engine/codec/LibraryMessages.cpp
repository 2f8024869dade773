#include "engine/codec/LibraryMessages.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <dav1d/dav1d.h>
#include <dlfcn.h>
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

thread_local int t_qtDecodes = 0;
std::atomic<QtMessageHandler> g_previousQtHandler{nullptr};

// Qt prints a message logged from inside its handler straight to standard
// error: the message is handed on under the log's category instead.
void noteQt(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QtMessageHandler previous = g_previousQtHandler;
    if (t_qtDecodes == 0 || type == QtFatalMsg) {
        if (previous != nullptr)
            previous(type, context, message);
        return;
    }
    const QtMsgType level = type == QtDebugMsg || type == QtInfoMsg ? QtInfoMsg : QtWarningMsg;
    if (previous == nullptr || !imageLibraryLog().isEnabled(level))
        return;
    const QMessageLogContext logged(context.file, context.line, context.function, imageLibraryLog().categoryName());
    previous(level, logged, QStringLiteral("Qt: ") + message);
}

void noteDav1d(void*, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    text[std::strcspn(text, "\n")] = '\0';
    qCInfo(imageLibraryLog, "dav1d: %s", text);
}

} // namespace

// dav1d (libheif's AV1 decoder) prints its messages ("Unknown OBU type 14 of
// size 121", "Error parsing OBU data") on standard error unless the settings
// it is opened with name a logger, and libheif names none. libheif takes
// those settings from dav1d_default_settings: this one, which the program
// exports in place of dav1d's, gives dav1d's defaults with a logger into the
// log.
extern "C" void dav1d_default_settings(Dav1dSettings* settings)
{
    using Defaults = void (*)(Dav1dSettings*);
    // dav1d's own: loaded, since its only caller is linked to it.
    static const auto dav1dDefaults = reinterpret_cast<Defaults>(::dlsym(RTLD_NEXT, "dav1d_default_settings"));
    if (dav1dDefaults == nullptr)
        std::abort();
    dav1dDefaults(settings);
    settings->logger = Dav1dLogger{nullptr, noteDav1d};
}

void routeLibraryMessages()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetWarningHandler(onWarning);
        TIFFSetErrorHandler(onError);
        g_previousQtHandler = qInstallMessageHandler(noteQt);
        // libde265 (libheif's HEVC decoder) has no handler to take its
        // messages: they are kept off; libheif's errors are logged instead.
        de265_disable_logging();
        de265_set_verbosity(0);
    });
}

QtMessagesToLog::QtMessagesToLog()
{
    routeLibraryMessages();
    ++t_qtDecodes;
}

QtMessagesToLog::~QtMessagesToLog() { --t_qtDecodes; }

TiffDataMessages::TiffDataMessages() : m_outer(t_watch)
{
    routeLibraryMessages();
    t_watch = this;
}

TiffDataMessages::~TiffDataMessages() { t_watch = m_outer; }

} // namespace zephrin
