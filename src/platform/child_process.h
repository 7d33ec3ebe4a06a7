#pragma once
// A program started as a child with two pipes of its own on file
// descriptors 3 (it reads what we write) and 4 (we read what it writes),
// the way a browser takes commands over a pipe. The child and everything it
// starts run in a process group of their own, which the destructor ends, and
// the child is killed by the kernel when this process dies, so that nothing
// is left behind after a stop, a crash or a kill.
//
// Thread-safety: Write may be called from several threads (each call writes
// its bytes whole); Read from one thread at a time; the destructor once no
// other call is running.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <sys/types.h>

namespace lexicrawl {

class ChildProcess {
public:
    // Starts program with arguments; nothing, with the reason in *error,
    // when it cannot be started.
    static std::unique_ptr<ChildProcess> Start(const QString& program, const QStringList& arguments,
                                               QString* error);
    // Ends the child's whole process group (SIGKILL) and reaps the child.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Writes bytes to the child's fd 3; false once the child is gone.
    bool Write(const QByteArray& bytes);
    // Up to max bytes from the child's fd 4, waiting for them; empty at the
    // end (the child closed it or is gone) or after Close.
    QByteArray Read(qsizetype max);
    // Closes our end of the command pipe, which asks a well-behaved child
    // to end; answers true when it ends within ms milliseconds.
    bool CloseAndWait(int ms);
    // Ends the child's whole process group at once (SIGKILL); a Read in
    // progress returns soon after.
    void Kill();
    pid_t Pid() const { return pid_; }

private:
    ChildProcess() = default;
    void Reap();

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::atomic<bool> reaped_{false};
    std::atomic<bool> killed_{false};
    std::mutex writeMutex_;
};

}  // namespace lexicrawl
