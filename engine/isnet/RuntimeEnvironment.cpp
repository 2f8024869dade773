#include "engine/isnet/RuntimeEnvironment.h"

#include <onnxruntime_cxx_api.h>

#include <cstdlib>
#include <cstring>

namespace zephrin {

namespace {
constexpr const char* kTelemetrySwitch = "ORT_DISABLE_TELEMETRY";
}

void keepRuntimeTelemetryOff()
{
    const char* value = std::getenv(kTelemetrySwitch);
    if (!value || std::strcmp(value, "1") != 0)
        ::setenv(kTelemetrySwitch, "1", 1);
}

Ort::Env& runtimeEnvironment()
{
    static Ort::Env& env = [] () -> Ort::Env& {
        // Programs did this in main(); a test or a tool that did not still
        // gets an environment that keeps to itself.
        keepRuntimeTelemetryOff();
        auto* made = new Ort::Env(ORT_LOGGING_LEVEL_WARNING, "IS-Net");
        made->DisableTelemetryEvents();
        return *made;
    }();
    return env;
}

} // namespace zephrin
