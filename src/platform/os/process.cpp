// Maps process start onto posix_spawn, with a background reaper so no child is left a zombie.
#include "platform/os/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "platform/base/files.h"
#include "platform/base/module.h"

extern char** environ;

namespace platform {
namespace {

// Windows looks for a bare program name in the starting program's folder before the search path.
std::string ResolveProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    std::string beside = DirName(ModuleFileName()) + "/" + name;
    return IsRegularFile(beside) && access(beside.c_str(), X_OK) == 0 ? beside : name;
}

class SpawnSetup final {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attributes);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&m_attributes);
        posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // A child of its own: not in our session (a closing terminal does not take it along), with default
    // signal handling and an empty mask whatever ours are, and without our files and sockets.
    bool Prepare() {
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        return posix_spawnattr_setflags(
                   &m_attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0 &&
               posix_spawnattr_setsigmask(&m_attributes, &none) == 0 &&
               posix_spawnattr_setsigdefault(&m_attributes, &all) == 0 &&
               posix_spawn_file_actions_addclosefrom_np(&m_actions, 3) == 0;
    }

    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }
    const posix_spawnattr_t* Attributes() const { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attributes;
};

void ReapInBackground(pid_t pid) {
    try {
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // Without a thread the child stays a zombie until we exit; it runs all the same.
    }
}

}  // namespace

bool StartDetachedProcess(const std::vector<std::string>& args, int* processId) {
    if (args.empty() || args[0].empty()) {
        return false;
    }
    std::string program = ResolveProgram(args[0]);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    SpawnSetup setup;
    if (!setup.Prepare()) {
        return false;
    }
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, program.c_str(), setup.Actions(), setup.Attributes(), argv.data(), environ);
    if (rc != 0) {
        return false;
    }
    if (processId != nullptr) {
        *processId = pid;
    }
    ReapInBackground(pid);
    return true;
}

bool StartCommandLine(const std::string& commandLine, int* processId) {
    return StartDetachedProcess(SplitCommandLine(commandLine), processId);
}

int CurrentProcessId() {
    return static_cast<int>(getpid());
}

}  // namespace platform
