// Start-up: from exec to the first frame on screen, the program opening Shell32.dll beside a bare
// Qt Widgets window built in the same tree; whole process beside whole process, in interleaved
// pairs, median. Also the peak resident memory (VmHWM) of each at that frame, and which media
// libraries the program has mapped by then (none: they come with the first medium shown).
// All run with first_frame_probe preloaded, which reports the first flush of a window and ends
// the process. Without a display the offscreen platform is used.
// Usage: bench_startup [rounds] [program] (another build of the program, to compare with its own)
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

Start Run(const std::string &program, const std::string &probe, const std::string &argument = {}) {
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
    std::string arg0 = program, arg1 = argument;
    char *argv[] = {arg0.data(), argument.empty() ? nullptr : arg1.data(), nullptr};

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
            result.media.erase(0, result.media.find_first_not_of(' '));
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
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    // The folder of this program holds the others; no application object is needed for that.
    const std::string dir = QFileInfo(QStringLiteral("/proc/self/exe"))
                                .canonicalFilePath()
                                .section(QLatin1Char('/'), 0, -2)
                                .toStdString();
    const std::string zorvika = argc > 2 ? std::string(argv[2]) : dir + "/zorvika",
                      bare = dir + "/bare_window", probe = dir + "/first_frame_probe.so";
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

    // The goal's peer is the bare window; the same window with one line of text is printed beside
    // it to show what the fonts that any text needs cost on this machine.
    struct Program {
        const char *label;
        std::string path, argument;
        std::vector<Start> runs;
    };
    std::vector<Program> programs{{"zorvika on Shell32.dll", zorvika, {}, {}},
                                  {"bare Qt Widgets window", bare, {}, {}},
                                  {"the same with a line of text", bare, "--text", {}}};
    for (Program &p : programs)
        Run(p.path, probe, p.argument); // fills the file cache, unmeasured
    int failures = 0;
    std::string media;
    for (int i = 0; i < rounds; ++i) {
        // Each round starts with another program, so none always runs on a warmer machine.
        std::vector<Start> round(programs.size());
        for (std::size_t k = 0; k < programs.size(); ++k) {
            const std::size_t j = (k + static_cast<std::size_t>(i)) % programs.size();
            round[j] = Run(programs[j].path, probe, programs[j].argument);
        }
        if (std::any_of(round.begin(), round.end(), [](const Start &s) { return s.ms < 0; })) {
            ++failures;
            continue;
        }
        for (std::size_t k = 0; k < programs.size(); ++k)
            programs[k].runs.push_back(round[k]);
        if (!round[0].media.empty()) media = round[0].media;
    }
    if (programs[0].runs.empty()) {
        std::fprintf(stderr, "no run reached its first frame\n");
        return 1;
    }
    struct Figures {
        double ms, cpuMs, peakMiB;
    };
    auto figures = [](const Program &p) {
        std::vector<double> ms, cpu;
        std::vector<long> kib;
        for (const Start &s : p.runs) {
            ms.push_back(s.ms);
            cpu.push_back(s.cpuMs);
            kib.push_back(s.peakKiB);
        }
        return Figures{Median(ms), Median(cpu), static_cast<double>(Median(kib)) / 1024};
    };
    std::printf("exec -> first frame, median of %zu interleaved rounds (%s platform)%s\n",
                programs[0].runs.size(), platform.constData(), failures ? " [some runs failed]" : "");
    std::vector<Figures> f;
    for (const Program &p : programs) {
        f.push_back(figures(p));
        std::printf("  %-30s %7.1f ms (processor %6.1f ms)  peak %6.1f MiB\n", p.label, f.back().ms,
                    f.back().cpuMs, f.back().peakMiB);
    }
    std::printf("  zorvika / bare window: time %.2f (goal <= 1.3), processor time %.2f, peak memory %.2f "
                "(goal <= 1.5)\n",
                f[0].ms / f[1].ms, f[0].cpuMs / f[1].cpuMs, f[0].peakMiB / f[1].peakMiB);
    std::printf("  zorvika / window with text: time %.2f, processor time %.2f, peak memory %.2f\n",
                f[0].ms / f[2].ms, f[0].cpuMs / f[2].cpuMs, f[0].peakMiB / f[2].peakMiB);
    std::printf("  media libraries mapped at the first frame: %s\n", media.empty() ? "none" : media.c_str());
    return 0;
}
