#include "analysis/guarded_parse.h"

#include <csetjmp>
#include <csignal>
#include <mutex>

namespace lexicrawl {

namespace {

thread_local sigjmp_buf* t_parseJump = nullptr;
struct sigaction g_previousAbortAction;

void OnAbort(int signal)
{
    if (sigjmp_buf* jump = t_parseJump) {
        t_parseJump = nullptr;
        siglongjmp(*jump, 1);
    }
    // Not a parse of ours: let the abort go on as it would have.
    sigaction(SIGABRT, &g_previousAbortAction, nullptr);
    raise(signal);
}

void InstallGuardOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action = {};
        action.sa_handler = &OnAbort;
        sigemptyset(&action.sa_mask);
        if (sigaction(SIGABRT, &action, &g_previousAbortAction) != 0)
            g_previousAbortAction.sa_handler = SIG_DFL;
    });
}

}  // namespace

GumboOutput* ParseGuarded(const GumboOptions& options, const char* data, std::size_t size)
{
    InstallGuardOnce();
    sigjmp_buf jump;
    GumboOutput* volatile output = nullptr;
    if (sigsetjmp(jump, 1) == 0) {
        t_parseJump = &jump;
        output = gumbo_parse_with_options(&options, data, size);
    }
    t_parseJump = nullptr;
    return output;
}

}  // namespace lexicrawl
