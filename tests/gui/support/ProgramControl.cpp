// Finding, watching and stopping the programs the GUI test harness starts.
#include "ProgramControl.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/TempDir.h"

std::string FindProgram(const std::string& name) {
    if (name.empty()) {
        return "";
    }
    if (name.find('/') != std::string::npos) {
        return access(name.c_str(), X_OK) == 0 ? name : "";
    }
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr && path[0] != '\0' ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

bool HasExited(pid_t pid, int* status) {
    int local = 0;
    pid_t rc = waitpid(pid, &local, WNOHANG);
    if (rc == 0) {
        return false;
    }
    if (status != nullptr) {
        *status = rc == pid ? local : -1;
    }
    return true;
}

int StopProgram(pid_t pid, std::chrono::milliseconds grace) {
    if (pid <= 0) {
        return -1;
    }
    int status = -1;
    if (HasExited(pid, &status)) {
        return status;
    }
    kill(pid, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + grace;
    while (std::chrono::steady_clock::now() < deadline) {
        if (HasExited(pid, &status)) {
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    while (waitpid(pid, &status, 0) == -1) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return status;
}

bool ProcessGone(pid_t pid) {
    if (kill(pid, 0) == -1 && errno == ESRCH) {
        return true;
    }
    // The state is the first field after the command name, which is in parentheses and may hold spaces.
    std::string stat = ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
    std::size_t close = stat.rfind(')');
    return close == std::string::npos || (close + 2 < stat.size() && stat[close + 2] == 'Z');
}

std::string DescribeWaitStatus(int status) {
    if (status == -1) {
        return "ended (not our child, status unknown)";
    }
    if (WIFEXITED(status)) {
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "was killed by signal " + std::to_string(WTERMSIG(status));
    }
    return "ended with wait status " + std::to_string(status);
}

std::string TailOfFile(const std::string& path, std::size_t bytes) {
    std::string text = ReadWholeFile(path);
    if (text.size() > bytes) {
        text = "..." + text.substr(text.size() - bytes);
    }
    return text.empty() ? "(empty)" : text;
}
