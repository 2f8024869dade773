#pragma once
// The ONNX Runtime's one environment per process, with its telemetry off.
//
// Left to itself the runtime keeps a usage store and a device id under the
// user's cache folder, writes a session file into $TMPDIR (following a link
// planted there) and, in runs of more than a few seconds, looks up a host to
// send its events to. Nothing of an image, and nothing about one, leaves the
// machine: every program that may load a network calls
// `keepRuntimeTelemetryOff()` first thing in main(), and the environment turns
// the runtime's events off again when it is made.

namespace Ort {
struct Env;
}

namespace zephrin {

// Sets ORT_DISABLE_TELEMETRY=1 in the process environment, which the runtime
// reads when its environment is made. Call it in main() before any thread
// starts (setenv is not safe beside another thread's getenv); later calls,
// when it is already set, only read.
void keepRuntimeTelemetryOff();

// The runtime's environment, made on first use with telemetry off (both the
// variable above and the runtime's own switch) and never destroyed: sessions
// may still be alive while static objects are torn down at exit, and the
// environment must outlive them.
Ort::Env& runtimeEnvironment();

} // namespace zephrin
