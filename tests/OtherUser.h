#pragma once
// Running a probe program as another user, as the cases that only a person without root's rights
// meet need: the tests run as root in CI, so the probe drops to nobody in a child process.
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct Account {
    uid_t uid;
    gid_t gid;
};

// The account a probe runs as: nobody when the tests run as root, else the tests' own.
inline Account ProbeAccount() {
    if (::geteuid() == 0)
        if (const passwd *pw = ::getpwnam("nobody")) return {pw->pw_uid, pw->pw_gid};
    return {::geteuid(), ::getegid()};
}

// Runs `arguments` (the program first) as `as` with exactly `environment`. `beforeStart` runs with
// the child's process id before it starts; `inChild` runs in the child before it changes user and
// may use only async-signal-safe calls (it returns false to give up: "exit 124"). The lines the
// program printed, and "exit N" when it failed.
inline QStringList RunAs(const Account &as, const QByteArrayList &arguments,
                         const QByteArrayList &environment,
                         const std::function<void(pid_t)> &beforeStart = {},
                         const std::function<bool()> &inChild = {}) {
    // Everything the child needs is made before the fork: after it only async-signal-safe calls.
    std::vector<char *> argv, envp;
    for (const QByteArray &a : arguments)
        argv.push_back(const_cast<char *>(a.constData()));
    argv.push_back(nullptr);
    for (const QByteArray &e : environment)
        envp.push_back(const_cast<char *>(e.constData()));
    envp.push_back(nullptr);
    const bool switchUser = as.uid != ::geteuid();
    int output[2], go[2];
    if (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(go, O_CLOEXEC) != 0) return {QStringLiteral("no pipe")};
    const pid_t pid = ::fork();
    if (pid == 0) {
        char byte;
        if (::read(go[0], &byte, 1) != 1) ::_exit(126);
        if (inChild && !inChild()) ::_exit(124);
        if (switchUser && (::setgroups(0, nullptr) != 0 || ::setresgid(as.gid, as.gid, as.gid) != 0 ||
                           ::setresuid(as.uid, as.uid, as.uid) != 0))
            ::_exit(125);
        ::dup2(output[1], STDOUT_FILENO);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(output[1]);
    ::close(go[0]);
    if (beforeStart) beforeStart(pid);
    const char byte = 1;
    [[maybe_unused]] const ssize_t sent = ::write(go[1], &byte, 1);
    ::close(go[1]);
    QByteArray printed;
    char buffer[4096];
    for (ssize_t n; (n = ::read(output[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        printed.append(buffer, n);
    }
    ::close(output[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    QStringList lines = QString::fromUtf8(printed).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        lines << QStringLiteral("exit %1").arg(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return lines;
}

// The rest of the first line that starts with `head`; empty when none does.
inline QString LineAfter(const QStringList &lines, const QString &head) {
    for (const QString &line : lines)
        if (line.startsWith(head)) return line.mid(head.size());
    return {};
}
