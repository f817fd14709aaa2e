// Start-up: from exec to the first frame on screen, the program opening Shell32.dll beside a bare
// Qt Widgets window built in the same tree; whole process beside whole process, in interleaved
// pairs, median. Also the peak resident memory (VmHWM) of each at that frame, and which media
// libraries the program has mapped by then (none: they come with the first medium shown).
// Both run with first_frame_probe preloaded, which reports the first flush of a window and ends
// the process. Without a display the offscreen platform is used.
// Usage: bench_startup [pairs]
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {
struct Start {
    double ms = -1;    // exec to the first frame
    double cpuMs = -1; // processor time (user and system) used up to then
    long peakKiB = -1; // VmHWM at that frame
    std::string media; // media libraries mapped at that frame
};

long long NowNs() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

Start Run(const std::string &program, const std::string &probe) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return {};
    // The write end is the child's: it alone survives exec.
    const int childFd = ::fcntl(fds[1], F_DUPFD, 3);
    ::close(fds[1]);
    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e) {
        const std::string v = *e;
        if (v.rfind("LD_PRELOAD=", 0) != 0 && v.rfind("FIRST_FRAME_FD=", 0) != 0) env.push_back(v);
    }
    env.push_back("LD_PRELOAD=" + probe);
    env.push_back("FIRST_FRAME_FD=" + std::to_string(childFd));
    std::vector<char *> envp;
    for (std::string &v : env)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string arg0 = program;
    char *argv[] = {arg0.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const long long start = NowNs();
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(childFd);
    Start result;
    if (spawned == 0) {
        std::string line;
        pollfd p{fds[0], POLLIN, 0};
        char buffer[512];
        while (line.find('\n') == std::string::npos && ::poll(&p, 1, 30000) > 0) {
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            line.append(buffer, static_cast<std::size_t>(n));
        }
        long long frameNs = 0;
        long peak = -1;
        int used = 0;
        if (std::sscanf(line.c_str(), "%lld %ld%n", &frameNs, &peak, &used) >= 2) {
            result.ms = static_cast<double>(frameNs - start) / 1e6;
            result.peakKiB = peak;
            result.media = line.substr(static_cast<std::size_t>(used));
            result.media.erase(result.media.find_last_not_of(" \n") + 1);
        }
        ::kill(pid, SIGKILL); // a program that never painted
        rusage usage{};
        int status = 0;
        ::wait4(pid, &status, 0, &usage);
        if (result.ms >= 0)
            result.cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    ::close(fds[0]);
    return result;
}

template <typename T> T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    // The folder of this program holds the others; no application object is needed for that.
    const std::string dir = QFileInfo(QStringLiteral("/proc/self/exe"))
                                .canonicalFilePath()
                                .section(QLatin1Char('/'), 0, -2)
                                .toStdString();
    const std::string zorvika = dir + "/zorvika", bare = dir + "/bare_window",
                      probe = dir + "/first_frame_probe.so";
    for (const std::string &f : {zorvika, bare, probe})
        if (::access(f.c_str(), R_OK) != 0) {
            std::fprintf(stderr,
                         "missing %s (build the targets zorvika, bare_window and first_frame_probe)\n",
                         f.c_str());
            return 1;
        }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray platform = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? QByteArray("the display's")
                                                                               : qgetenv("QT_QPA_PLATFORM");

    // One unmeasured pair fills the file cache.
    Run(zorvika, probe);
    Run(bare, probe);
    std::vector<double> ourMs, bareMs, ourCpu, bareCpu;
    std::vector<long> ourKiB, bareKiB;
    std::string media;
    int failures = 0;
    for (int i = 0; i < pairs; ++i) {
        // Alternate which of the two goes first, so neither always runs on a warmer machine.
        Start ours, peer;
        if (i % 2 == 0) {
            ours = Run(zorvika, probe);
            peer = Run(bare, probe);
        } else {
            peer = Run(bare, probe);
            ours = Run(zorvika, probe);
        }
        if (ours.ms < 0 || peer.ms < 0) {
            ++failures;
            continue;
        }
        ourMs.push_back(ours.ms);
        bareMs.push_back(peer.ms);
        ourCpu.push_back(ours.cpuMs);
        bareCpu.push_back(peer.cpuMs);
        ourKiB.push_back(ours.peakKiB);
        bareKiB.push_back(peer.peakKiB);
        if (!ours.media.empty()) media = ours.media;
    }
    if (ourMs.empty()) {
        std::fprintf(stderr, "no run reached its first frame\n");
        return 1;
    }
    const double t = Median(ourMs), tb = Median(bareMs);
    const double m = static_cast<double>(Median(ourKiB)) / 1024,
                 mb = static_cast<double>(Median(bareKiB)) / 1024;
    std::printf("exec -> first frame, median of %zu interleaved pairs (%s platform)%s\n", ourMs.size(),
                platform.constData(), failures ? " [some runs failed]" : "");
    const double c = Median(ourCpu), cb = Median(bareCpu);
    std::printf("  zorvika on Shell32.dll  %7.1f ms (processor %6.1f ms)  peak %6.1f MiB\n", t, c, m);
    std::printf("  bare Qt Widgets window  %7.1f ms (processor %6.1f ms)  peak %6.1f MiB\n", tb, cb, mb);
    std::printf("  ratio: time %.2f (goal <= 1.3), processor time %.2f, peak memory %.2f (goal <= 1.5)\n",
                t / tb, c / cb, m / mb);
    std::printf("  media libraries mapped at the first frame: %s\n", media.empty() ? "none" : media.c_str());
    return 0;
}
