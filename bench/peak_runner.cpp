// peak_runner PROGRAM [ARGUMENT...]: runs PROGRAM as its child and writes "WALL_MS PEAK_KIB STATUS"
// to descriptor 3. A child's ru_maxrss counts the memory of the process it was forked from (the
// kernel folds the old address space's peak in at exec), so a benchmark that forks its peers
// straight from itself would floor every peak at its own size. This runner is small: what it
// reports is the program's own peak. No Qt, so that it stays small.
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid == 0) {
        close(3);
        execv(argv[1], argv + 1);
        _exit(127);
    }
    if (pid < 0) return 2;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return 2;
    clock_gettime(CLOCK_MONOTONIC, &end);
    const double ms = static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
                      static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e6;
    FILE *report = fdopen(3, "w");
    if (report == nullptr) return 2;
    std::fprintf(report, "%.3f %ld %d\n", ms, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return std::fclose(report) == 0 ? 0 : 2;
}
