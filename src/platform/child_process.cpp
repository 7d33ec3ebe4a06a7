#include "platform/child_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lexicrawl {

namespace {

// Moves fd to a number above 4, so that setting up 3 and 4 never closes a
// descriptor still needed; async-signal-safe (runs between fork and exec).
int AboveFour(int fd)
{
    if (fd > 4)
        return fd;
    const int moved = fcntl(fd, F_DUPFD, 5);
    close(fd);
    return moved;
}

[[noreturn]] void ExecChild(int childReads, int childWrites, const std::vector<char*>& argv, pid_t parent)
{
    // Killed with us; and if we died before this line, go at once.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    setpgid(0, 0);
    childReads = AboveFour(childReads);
    childWrites = AboveFour(childWrites);
    if (childReads < 0 || childWrites < 0 || dup2(childReads, 3) < 0 || dup2(childWrites, 4) < 0)
        _exit(127);
    close(childReads);
    close(childWrites);
    // Nothing else of ours is inherited: the descriptors above 4 are closed.
    for (int fd = 5; fd < 1024; ++fd)
        close(fd);
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
        if (devNull > 2)
            close(devNull);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const QString& program, const QStringList& arguments,
                                                  QString* error)
{
    int commands[2];  // we write [1], the child reads [0]
    int answers[2];   // the child writes [1], we read [0]
    if (pipe2(commands, O_CLOEXEC) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(strerror(errno));
        return nullptr;
    }
    if (pipe2(answers, O_CLOEXEC) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(strerror(errno));
        close(commands[0]);
        close(commands[1]);
        return nullptr;
    }
    // Everything the child needs is made before fork: it may only make
    // async-signal-safe calls afterwards.
    std::vector<QByteArray> texts{program.toLocal8Bit()};
    for (const QString& argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        ExecChild(commands[0], answers[1], argv, parent);
    close(commands[0]);
    close(answers[1]);
    if (pid < 0) {
        if (error)
            *error = QString::fromLocal8Bit(strerror(errno));
        close(commands[1]);
        close(answers[0]);
        return nullptr;
    }
    // Set on our side too, so that the group exists before we could kill it.
    setpgid(pid, pid);
    std::unique_ptr<ChildProcess> child(new ChildProcess);
    child->pid_ = pid;
    child->toChild_ = commands[1];
    child->fromChild_ = answers[0];
    return child;
}

ChildProcess::~ChildProcess()
{
    Kill();
    Reap();
    // What the child started may outlive it in its group: end them too.
    if (pid_ > 0)
        kill(-pid_, SIGKILL);
    if (toChild_ >= 0)
        close(toChild_);
    if (fromChild_ >= 0)
        close(fromChild_);
}

void ChildProcess::Reap()
{
    if (pid_ <= 0 || reaped_)
        return;
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
}

bool ChildProcess::Write(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(writeMutex_);
    if (toChild_ < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(toChild_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void ChildProcess::Kill()
{
    killed_ = true;
    if (pid_ > 0 && !reaped_) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
    }
}

QByteArray ChildProcess::Read(qsizetype max)
{
    QByteArray buffer(max, Qt::Uninitialized);
    for (;;) {
        // A grandchild that kept the pipe open must not hold a reader after Kill.
        pollfd ready{fromChild_, POLLIN, 0};
        const int polled = poll(&ready, 1, 100);
        if (killed_)
            return QByteArray();
        if (polled < 0 && errno != EINTR)
            return QByteArray();
        if (polled <= 0)
            continue;
        const ssize_t n = ::read(fromChild_, buffer.data(), size_t(max));
        if (n < 0 && errno == EINTR)
            continue;
        buffer.resize(n > 0 ? n : 0);
        return buffer;
    }
}

bool ChildProcess::CloseAndWait(int ms)
{
    {
        std::lock_guard<std::mutex> lock(writeMutex_);
        if (toChild_ >= 0) {
            close(toChild_);
            toChild_ = -1;
        }
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        const pid_t done = waitpid(pid_, nullptr, WNOHANG);
        if (done == pid_ || (done < 0 && errno == ECHILD)) {
            reaped_ = true;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace lexicrawl
