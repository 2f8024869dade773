#include "support/ChildProcess.h"

#include <QElapsedTimer>

#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zephrin::testing {

ChildRun runChild(const std::string& program, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment, int timeoutSeconds,
                  const std::function<void(pid_t, const QByteArray&)>& watch)
{
    std::vector<std::string> argumentBytes{program};
    argumentBytes.insert(argumentBytes.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> settings = environment;

    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return {};
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::unsetenv("QT_LOGGING_RULES");
        for (std::string& setting : settings)
            ::putenv(setting.data());
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    ChildRun run;
    pollfd streams[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    QByteArray* targets[2] = {&run.out, &run.err};
    for (int open = 2; open > 0;) {
        const qint64 left = qint64(timeoutSeconds) * 1000 - clock.elapsed();
        if (left <= 0 || ::poll(streams, 2, int(left)) <= 0) {
            ::kill(pid, SIGKILL);
            run.timedOut = true;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || !(streams[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t got = ::read(streams[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                ::close(streams[i].fd);
                streams[i].fd = -1;
                --open;
                continue;
            }
            targets[i]->append(buffer, got);
            if (i == 1 && watch)
                watch(pid, run.err);
        }
    }
    for (const pollfd& stream : streams)
        if (stream.fd >= 0)
            ::close(stream.fd);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

} // namespace zephrin::testing
