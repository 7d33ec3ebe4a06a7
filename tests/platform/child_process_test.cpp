// A child started with its two pipes on descriptors 3 and 4, and what is
// left of it (and of what it started) once it is let go.
#include <gtest/gtest.h>

#include <QFile>

#include <chrono>
#include <csignal>
#include <thread>

#include "platform/child_process.h"

using namespace lexicrawl;

namespace {

bool Alive(pid_t pid)
{
    // A zombie has gone as far as this test cares.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return !text.mid(text.lastIndexOf(')') + 2, 1).startsWith('Z');
}

bool GoneWithin(pid_t pid, int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (Alive(pid) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return !Alive(pid);
}

}  // namespace

TEST(ChildProcessTest, TalksOverDescriptorsThreeAndFour)
{
    QString error;
    // Echoes one line from fd 3 back to fd 4, in capitals; 0 to 2 are /dev/null.
    auto child = ChildProcess::Start(QStringLiteral("/bin/sh"),
                                     {QStringLiteral("-c"), QStringLiteral("read line <&3; echo \"$line\" | tr a-z A-Z >&4; "
                                                                           "echo noise; echo noise >&2")},
                                     &error);
    ASSERT_NE(child, nullptr) << error.toStdString();
    ASSERT_TRUE(child->Write("hello pipe\n"));
    QByteArray answer;
    for (QByteArray chunk = child->Read(100); !chunk.isEmpty(); chunk = child->Read(100))
        answer += chunk;
    EXPECT_EQ(answer, "HELLO PIPE\n");
    EXPECT_TRUE(child->CloseAndWait(5000));
}

TEST(ChildProcessTest, LettingGoEndsTheChildAndWhatItStarted)
{
    QString error;
    // The child starts a grandchild, tells its number and waits.
    auto child = ChildProcess::Start(QStringLiteral("/bin/sh"),
                                     {QStringLiteral("-c"), QStringLiteral("sleep 300 & echo $! >&4; read x <&3")}, &error);
    ASSERT_NE(child, nullptr) << error.toStdString();
    const pid_t pid = child->Pid();
    const pid_t grandchild = child->Read(100).trimmed().toInt();
    ASSERT_GT(grandchild, 0);
    ASSERT_TRUE(Alive(pid));
    ASSERT_TRUE(Alive(grandchild));
    child.reset();
    EXPECT_TRUE(GoneWithin(pid, 5000));
    EXPECT_TRUE(GoneWithin(grandchild, 5000));
}

TEST(ChildProcessTest, AProgramThatCannotRunEndsAtOnce)
{
    QString error;
    auto child = ChildProcess::Start(QStringLiteral("/nonexistent/program"), {}, &error);
    ASSERT_NE(child, nullptr);  // fork succeeded; exec failed in the child
    EXPECT_TRUE(child->Read(100).isEmpty());
    EXPECT_TRUE(child->CloseAndWait(5000));
}
