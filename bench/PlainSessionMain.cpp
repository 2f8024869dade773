// bench_plain_session: the IS-Net model in a plain ONNX Runtime session, the
// yardstick the runner's speed is held to. It links nothing of ours, so none
// of our tuning (allocator, thread budget, session options) reaches it: the
// session has the runtime's default options and reads the model file itself.
//
//   bench_plain_session MODEL INPUT
//
// INPUT holds the network's input, 3 × 1024 × 1024 floats in the machine's
// byte order. Prints "loaded MS" once the session exists, then answers each
// line "run" on its standard input with "run MS", the wall time of one Run;
// ends at the end of its input. A failure prints "failed REASON" and exits 1.

#include <onnxruntime_cxx_api.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kSide = 1024;

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

std::vector<float> readInput(const char* path)
{
    std::vector<float> input(std::size_t(3 * kSide * kSide));
    std::ifstream file(path, std::ios::binary);
    const auto bytes = std::streamsize(input.size() * sizeof(float));
    if (!file.read(reinterpret_cast<char*>(input.data()), bytes))
        throw std::runtime_error("the input file holds fewer than 3 x 1024 x 1024 floats");
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_plain_session MODEL INPUT\n");
        return 2;
    }
    // Nothing about a run leaves the machine, here as in the programs.
    setenv("ORT_DISABLE_TELEMETRY", "1", 1);
    try {
        std::vector<float> input = readInput(argv[2]);
        const auto start = std::chrono::steady_clock::now();
        Ort::Env env(ORT_LOGGING_LEVEL_WARNING, "plain");
        env.DisableTelemetryEvents();
        Ort::Session session(env, argv[1], Ort::SessionOptions());
        std::printf("loaded %.1f\n", msSince(start));
        std::fflush(stdout);

        const std::int64_t shape[] = {1, 3, kSide, kSide};
        const Ort::MemoryInfo memory = Ort::MemoryInfo::CreateCpu(OrtArenaAllocator, OrtMemTypeDefault);
        const Ort::Value tensor = Ort::Value::CreateTensor<float>(memory, input.data(), input.size(), shape, 4);
        const char* inputName = "input_image";
        const char* outputName = "output_image";
        std::string line;
        while (std::getline(std::cin, line)) {
            if (line != "run")
                continue;
            const auto began = std::chrono::steady_clock::now();
            session.Run(Ort::RunOptions{nullptr}, &inputName, &tensor, 1, &outputName, 1);
            std::printf("run %.1f\n", msSince(began));
            std::fflush(stdout);
        }
    } catch (const std::exception& failure) {
        std::printf("failed %s\n", failure.what());
        return 1;
    }
    return 0;
}
