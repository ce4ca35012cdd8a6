// How much memory the client's two browser views take and how long they take to show their pages, and
// the same for the whole client up to its launcher showing the portal, as ratios to one bare engine
// view with the default settings, measured in the same run against the demo operator site. Memory is
// the proportional set size of the whole process tree (the engine keeps its pages and its network in
// helper processes), taken once the pages have loaded; time runs from the start of the process to its
// `loaded` line, or for the client, which says nothing, to its launcher on the display with the portal
// served. Each figure is the median of five runs, the bare view, the client's views and the client
// taking turns so that a busy moment of the machine weighs on all alike, and every run starts with an
// empty home and empty data, cache and configuration folders so that no run profits from another.
//
//     browser_memory_bench              measures (needs an X display and 127.0.0.1:8631)
//     browser_memory_bench --bare URL   the baseline: one bare view; prints `loaded`, runs until SIGTERM
#include <fcntl.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

// After the toolkit's headers: Xlib defines macros (None, Bool, Status) that they do not expect.
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "DemoSite.h"
#include "SiteLog.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kRuns = 5;
constexpr auto kLoadTimeout = 60s;
constexpr auto kStopGrace = 3s;
constexpr auto kPollInterval = 10ms;

// The client's embedded configuration sends it to its operator site on this port, so the demo site
// serves there for every run; the bare view and the views load the same address, for a fair floor.
constexpr int kSitePort = 8631;
// The title the skin gives the launcher window (UTF-8), which it shows with the portal inside.
constexpr const char* kLauncherTitle = u8"星海纪元";

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The baseline ----------------------------------------------------------------------------------------

struct BareView {
    bool loaded = false;
    bool failed = false;
};

void OnBareLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    auto* state = static_cast<BareView*>(data);
    if (event != WEBKIT_LOAD_FINISHED || state->loaded) {
        return;
    }
    state->loaded = true;
    if (state->failed) {
        gtk_main_quit();
        return;
    }
    std::printf("loaded\n");
    std::fflush(stdout);
}

gboolean OnBareLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer data) {
    std::fprintf(stderr, "browser_memory_bench: %s: %s\n", uri, error->message);
    static_cast<BareView*>(data)->failed = true;
    return FALSE;
}

gboolean QuitBare(gpointer) {
    gtk_main_quit();
    return G_SOURCE_REMOVE;
}

int RunBare(const char* url) {
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "browser_memory_bench: no display\n");
        return 1;
    }
    BareView state;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 1000, 600);
    GtkWidget* view = webkit_web_view_new();
    gtk_container_add(GTK_CONTAINER(window), view);
    g_signal_connect(view, "load-changed", G_CALLBACK(OnBareLoadChanged), &state);
    g_signal_connect(view, "load-failed", G_CALLBACK(OnBareLoadFailed), &state);
    g_unix_signal_add(SIGTERM, QuitBare, nullptr);
    gtk_widget_show_all(window);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), url);
    gtk_main();
    gtk_widget_destroy(window);
    return state.failed ? 1 : 0;
}

// Processes -------------------------------------------------------------------------------------------

struct Process {
    pid_t pid = 0;
    pid_t parent = 0;
    char state = '?';
    unsigned long long started = 0;  // clock ticks after boot; tells a process from a later one of its pid
};

std::optional<Process> ReadProcess(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(file, stat)) {
        return std::nullopt;
    }
    // The command name in parentheses may hold spaces and parentheses itself.
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat.substr(close + 2));
    Process process;
    process.pid = pid;
    fields >> process.state >> process.parent;
    std::string skipped;
    for (int field = 5; field < 22; ++field) {
        fields >> skipped;
    }
    fields >> process.started;
    if (!fields) {
        return std::nullopt;
    }
    return process;
}

// `root` and every process descended from it, `root` first.
std::vector<Process> ProcessTree(pid_t root) {
    std::multimap<pid_t, Process> children;
    std::optional<Process> top;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        if (std::optional<Process> process = ReadProcess(std::stoi(name))) {
            if (process->pid == root) {
                top = process;
            } else {
                children.emplace(process->parent, *process);
            }
        }
    }
    std::vector<Process> tree;
    if (top) {
        tree.push_back(*top);
    }
    for (size_t i = 0; i < tree.size(); ++i) {
        const auto range = children.equal_range(tree[i].pid);
        for (auto it = range.first; it != range.second; ++it) {
            tree.push_back(it->second);
        }
    }
    return tree;
}

bool StillRunning(const Process& process) {
    const std::optional<Process> now = ReadProcess(process.pid);
    return now && now->started == process.started && now->state != 'Z';
}

// Kibibytes, or nothing when the process has gone meanwhile.
std::optional<long long> PssKiB(pid_t pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/smaps_rollup";
    std::ifstream file(path);
    if (!file) {
        if (errno == ENOENT || errno == ESRCH) {
            return std::nullopt;
        }
        throw Failure("cannot read " + path + ": " + std::strerror(errno));
    }
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("Pss:", 0) == 0) {
            return std::atoll(line.c_str() + 4);
        }
    }
    return std::nullopt;
}

double TreePssMiB(pid_t root) {
    long long kib = 0;
    for (const Process& process : ProcessTree(root)) {
        kib += PssKiB(process.pid).value_or(0);
    }
    return kib / 1024.0;
}

// Children --------------------------------------------------------------------------------------------

// A fresh home (with the desktop folder the client puts its shortcuts in), fresh XDG data, cache and
// configuration folders and a folder for a program to run from, removed again with the object.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "browser_memory_bench.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw Failure(std::string("cannot make a temporary folder: ") + std::strerror(errno));
        }
        m_root = pattern;
        for (const char* sub : {"home", "home/Desktop", "data", "cache", "config", "bin"}) {
            fs::create_directory(m_root / sub);
        }
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    fs::path Path(const char* sub) const { return m_root / sub; }

private:
    fs::path m_root;
};

// A process whose standard output comes through a pipe and whose standard error goes to a file, shown
// when it fails. Stopping it, by hand or by the destructor, also waits for the helpers it started.
class Child {
public:
    Child(const std::vector<std::string>& args, const Scratch& scratch)
        : m_errorPath(scratch.Path("stderr.log")) {
        std::vector<std::string> env;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable = *entry;
            if (variable.rfind("XDG_DATA_HOME=", 0) != 0 && variable.rfind("XDG_CACHE_HOME=", 0) != 0 &&
                variable.rfind("XDG_CONFIG_HOME=", 0) != 0 && variable.rfind("HOME=", 0) != 0) {
                env.push_back(variable);
            }
        }
        env.push_back("HOME=" + scratch.Path("home").string());
        env.push_back("XDG_DATA_HOME=" + scratch.Path("data").string());
        env.push_back("XDG_CACHE_HOME=" + scratch.Path("cache").string());
        env.push_back("XDG_CONFIG_HOME=" + scratch.Path("config").string());
        // Prepared before the fork: the site's thread may hold the allocator's lock at that moment.
        std::vector<char*> argv = Pointers(args);
        std::vector<char*> envp = Pointers(env);

        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) {
            throw Failure(std::string("pipe: ") + std::strerror(errno));
        }
        const int error = open(m_errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (error < 0) {
            close(out[0]);
            close(out[1]);
            throw Failure("cannot write " + m_errorPath.string() + ": " + std::strerror(errno));
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(error, STDERR_FILENO);
            execve(argv[0], argv.data(), envp.data());
            static const char kMessage[] = "exec failed\n";
            (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
            _exit(127);
        }
        close(out[1]);
        close(error);
        if (m_pid < 0) {
            close(out[0]);
            throw Failure(std::string("fork: ") + std::strerror(errno));
        }
        m_out = out[0];
    }
    ~Child() {
        Stop();
        if (m_out >= 0) {
            close(m_out);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return m_pid; }

    // Reads its output until the line `wanted`; false when the output ends or `deadline` passes first.
    bool WaitForLine(const std::string& wanted, Clock::time_point deadline) {
        for (;;) {
            for (size_t end; (end = m_pending.find('\n')) != std::string::npos;) {
                const std::string line = m_pending.substr(0, end);
                m_pending.erase(0, end + 1);
                if (line == wanted) {
                    return true;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left <= 0ms || !Read(left)) {
                return false;
            }
        }
    }

    // Keeps reading for `duration`, so that the child never blocks on a full pipe meanwhile.
    void Drain(std::chrono::milliseconds duration) {
        const Clock::time_point deadline = Clock::now() + duration;
        for (auto left = duration; left > 0ms;
             left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())) {
            if (!Read(left)) {
                std::this_thread::sleep_until(deadline);
                return;
            }
            m_pending.clear();
        }
    }

    bool Exited() {
        if (m_pid > 0 && waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_pid = -1;
        }
        return m_pid <= 0;
    }

    // How it ended, and the end of what it wrote to standard error.
    std::string Diagnosis() const {
        std::string text;
        if (m_pid <= 0) {
            text = WIFSIGNALED(m_status) ? " (killed by signal " + std::to_string(WTERMSIG(m_status)) + ")"
                                         : " (exit status " + std::to_string(WEXITSTATUS(m_status)) + ")";
        }
        std::ifstream file(m_errorPath);
        std::string error((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (error.size() > 2000) {
            error = "..." + error.substr(error.size() - 2000);
        }
        if (!error.empty()) {
            text += "; its standard error:\n" + error;
        }
        return text;
    }

    // SIGTERM, SIGKILL when it has not ended after the grace time; then the same for its helpers, which
    // normally leave by themselves once their parent has gone. True when it ended by itself.
    bool Stop() {
        if (m_pid <= 0) {
            return true;
        }
        std::vector<Process> helpers = ProcessTree(m_pid);
        if (!helpers.empty()) {
            helpers.erase(helpers.begin());
        }
        kill(m_pid, SIGTERM);
        const Clock::time_point deadline = Clock::now() + kStopGrace;
        while (!Exited() && Clock::now() < deadline) {
            std::this_thread::sleep_for(10ms);
        }
        const bool ended = m_pid <= 0;
        if (!ended) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &m_status, 0);
            m_pid = -1;
        }
        const Clock::time_point helpersDeadline = Clock::now() + kStopGrace;
        auto running = [](const Process& process) { return StillRunning(process); };
        while (std::any_of(helpers.begin(), helpers.end(), running) && Clock::now() < helpersDeadline) {
            std::this_thread::sleep_for(10ms);
        }
        for (const Process& helper : helpers) {
            if (StillRunning(helper)) {
                kill(helper.pid, SIGKILL);
            }
        }
        EndLeftovers();
        return ended;
    }

private:
    // The benchmark is the subreaper of what its children start, so the helpers come to it once their
    // parent has gone, and so does anything started after the list of helpers was taken or detached
    // from the tree by a double fork. It runs one child at a time: every descendant left now is
    // debris of this one, to be killed and reaped so that no run leaves a process behind.
    static void EndLeftovers() {
        const Clock::time_point deadline = Clock::now() + kStopGrace;
        for (;;) {
            std::vector<Process> left = ProcessTree(getpid());
            if (!left.empty()) {
                left.erase(left.begin());
            }
            if (left.empty() || Clock::now() > deadline) {
                return;
            }
            for (const Process& process : left) {
                if (process.state != 'Z') {
                    kill(process.pid, SIGKILL);
                } else if (process.parent == getpid()) {
                    waitpid(process.pid, nullptr, WNOHANG);
                }
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    }

    static std::vector<char*> Pointers(const std::vector<std::string>& strings) {
        std::vector<char*> pointers;
        for (const std::string& string : strings) {
            pointers.push_back(const_cast<char*>(string.c_str()));
        }
        pointers.push_back(nullptr);
        return pointers;
    }

    // Waits up to `timeout` for output and appends it; false at the end of the output.
    bool Read(std::chrono::milliseconds timeout) {
        pollfd ready{m_out, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(timeout.count()));
        if (polled < 0 && errno != EINTR) {
            throw Failure(std::string("poll: ") + std::strerror(errno));
        }
        if (polled <= 0) {
            return true;
        }
        char buffer[4096];
        const ssize_t got = read(m_out, buffer, sizeof buffer);
        if (got < 0) {
            return errno == EINTR || errno == EAGAIN;
        }
        m_pending.append(buffer, static_cast<size_t>(got));
        return got > 0;
    }

    fs::path m_errorPath;
    pid_t m_pid = -1;
    int m_out = -1;
    int m_status = 0;
    std::string m_pending;
};

// Measuring -------------------------------------------------------------------------------------------

struct Sample {
    double seconds = 0;
    double pssMiB = 0;
};

// The engine goes on allocating for a while after the load event (the web process lays out and paints,
// the network process writes its caches, collectors run), so the figure is taken once it holds still:
// two samples 250 ms apart within 2 % of each other, or the last one after 5 s.
double SettledPssMiB(Child& child, const std::string& what) {
    double previous = TreePssMiB(child.Pid());
    const Clock::time_point deadline = Clock::now() + 5s;
    while (Clock::now() < deadline) {
        child.Drain(250ms);
        if (child.Exited()) {
            throw Failure(what + " ended after loading" + child.Diagnosis());
        }
        const double current = TreePssMiB(child.Pid());
        if (std::fabs(current - previous) < 0.02 * previous) {
            return current;
        }
        previous = current;
    }
    return previous;
}

Sample Measure(const std::string& what, const std::vector<std::string>& args) {
    Scratch scratch;
    const Clock::time_point start = Clock::now();
    Child child(args, scratch);
    if (!child.WaitForLine("loaded", start + kLoadTimeout)) {
        if (child.Exited()) {
            throw Failure(what + " ended before its pages had loaded" + child.Diagnosis());
        }
        throw Failure(what + " did not say `loaded` within 60 s" + child.Diagnosis());
    }
    Sample sample;
    sample.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    sample.pssMiB = SettledPssMiB(child, what);
    child.Stop();
    return sample;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Serves the demo operator site on a thread of its own until the object goes.
class ServedSite {
public:
    ServedSite() : m_site(Options(), m_stream) {
        m_port = m_site.Bind(kSitePort);
        if (m_port < 0) {
            throw Failure("the demo site cannot listen on 127.0.0.1:" + std::to_string(kSitePort) +
                          ", which the client's embedded configuration names as its operator site: the "
                          "port is taken (see `ss -ltnp 'sport = :" +
                          std::to_string(kSitePort) + "'`); stop what listens there and run again");
        }
        m_thread = std::thread([this] { m_site.Run(); });
    }
    ~ServedSite() {
        m_site.Stop();
        m_thread.join();
    }
    ServedSite(const ServedSite&) = delete;
    ServedSite& operator=(const ServedSite&) = delete;

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

    // The requests answered so far, one line each.
    std::string Log() { return m_log.Text(); }

private:
    static DemoSiteOptions Options() {
        DemoSiteOptions options;
        options.siteDir = DEMO_SITE_DIR;
        return options;
    }

    SiteLog m_log;
    std::ostream m_stream{&m_log};
    DemoSite m_site;
    int m_port = -1;
    std::thread m_thread;
};

// The client ------------------------------------------------------------------------------------------

int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Looks on the X display for the client's launcher: a mapped top-level window with the launcher's title.
class LauncherWatch {
public:
    LauncherWatch() : m_display(XOpenDisplay(nullptr)) {
        if (m_display == nullptr) {
            throw Failure(std::string("cannot open the X display ") + std::getenv("DISPLAY"));
        }
        // The children it starts have no business with the benchmark's connection.
        fcntl(ConnectionNumber(m_display), F_SETFD, FD_CLOEXEC);
        m_name = XInternAtom(m_display, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        // Windows come and go between the listing and the questions about them; a question about one
        // that has gone fails and the window is simply not the launcher.
        m_previousHandler = XSetErrorHandler(IgnoreXError);
    }
    ~LauncherWatch() {
        XSetErrorHandler(m_previousHandler);
        XCloseDisplay(m_display);
    }
    LauncherWatch(const LauncherWatch&) = delete;
    LauncherWatch& operator=(const LauncherWatch&) = delete;

    // Top-level windows are the root's children, or theirs under a window manager that frames them.
    bool Shown() { return Search(DefaultRootWindow(m_display), 2); }

private:
    bool Search(Window parent, int depth) {
        Window root = 0;
        Window up = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, parent, &root, &up, &children, &count) == 0) {
            return false;
        }
        bool found = false;
        for (unsigned int i = 0; i < count && !found; ++i) {
            found = IsLauncher(children[i]) || (depth > 1 && Search(children[i], depth - 1));
        }
        if (children != nullptr) {
            XFree(children);
        }
        return found;
    }

    bool IsLauncher(Window window) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(m_display, window, &attributes) == 0 || attributes.map_state != IsViewable) {
            return false;
        }
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(m_display, window, m_name, 0, 256, False, m_utf8, &type, &format, &items,
                               &after, &data) != Success) {
            return false;
        }
        const bool launcher = data != nullptr && type == m_utf8 && format == 8 &&
                              std::string(reinterpret_cast<const char*>(data), items) == kLauncherTitle;
        if (data != nullptr) {
            XFree(data);
        }
        return launcher;
    }

    Display* m_display;
    Atom m_name = 0;
    Atom m_utf8 = 0;
    XErrorHandler m_previousHandler = nullptr;
};

// The portal counts as loaded when the site has answered its page and every file the page asks for:
// the style sheet and the script the page names, the star field the style sheet names and the three
// banner pictures its slides name inline. The engine finds the script early (it preloads while the
// page arrives), but the pictures only once the style sheet has been applied, so the pictures are the
// last requests in practice; the set is checked whole, since their order is the engine's business.
// The log line follows the answer, so the engine has the file by then. The load event that ends the
// bare view's time follows the same last picture in the same way.
const char* const kPortalRequests[] = {
    "GET / 200",
    "GET /css/portal.css 200",
    "GET /js/portal.js 200",
    "GET /img/stars.svg 200",
    "GET /img/banner-season.svg 200",
    "GET /img/banner-newserver.svg 200",
    "GET /img/banner-league.svg 200",
};

// The portal's requests that `log` (the lines logged since the start of the run) lacks.
std::vector<std::string> MissingPortalRequests(const std::string& log) {
    const std::string lines = "\n" + log;
    std::vector<std::string> missing;
    for (const char* request : kPortalRequests) {
        if (lines.find("\n" + std::string(request) + "\n") == std::string::npos) {
            missing.push_back(request);
        }
    }
    return missing;
}

struct ClientSample : Sample {
    bool stoppedCleanly = true;
};

// Starts a copy of the client (it renames its program and writes shortcuts next to it and on the
// desktop at every start, so each run has a program folder of its own) and measures it up to its
// launcher showing the portal: the time until both the window is on the display and the site has
// answered the portal's last files, then the memory once it has settled like the views'.
ClientSample MeasureClient(ServedSite& site, LauncherWatch& display) {
    Scratch scratch;
    const fs::path program = scratch.Path("bin") / "velmora";
    fs::copy_file(VELMORA_PATH, program);
    fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    // A launcher still on the display (the last run's on its way out, or another client's) would be
    // taken for this run's.
    for (const Clock::time_point clear = Clock::now() + kStopGrace; display.Shown();) {
        if (Clock::now() > clear) {
            throw Failure(std::string("a window titled ") + kLauncherTitle +
                          " is on the display before the client has started");
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    const size_t logStart = site.Log().size();

    const Clock::time_point start = Clock::now();
    Child child({program.string()}, scratch);
    std::optional<Clock::time_point> shown;
    std::optional<Clock::time_point> loaded;
    while (!shown || !loaded) {
        if (!shown && display.Shown()) {
            shown = Clock::now();
        }
        if (!loaded && MissingPortalRequests(site.Log().substr(logStart)).empty()) {
            loaded = Clock::now();
        }
        if (shown && loaded) {
            break;
        }
        const bool ended = child.Exited();
        if (ended || Clock::now() - start > kLoadTimeout) {
            std::string what = ended ? "the client ended before" : "the client did not get within 60 s to";
            what += " its launcher showing the portal: ";
            what += shown ? "the launcher is shown" : "no launcher is shown";
            std::string missing;
            for (const std::string& request : MissingPortalRequests(site.Log().substr(logStart))) {
                missing += (missing.empty() ? "" : ", ") + request;
            }
            // Another server joining the port meanwhile would take some of the requests.
            what += missing.empty()
                        ? ", the portal loaded"
                        : ", the site has not answered " + missing +
                              " (does another server share 127.0.0.1:" + std::to_string(kSitePort) + "?)";
            throw Failure(what + child.Diagnosis());
        }
        child.Drain(kPollInterval);
    }
    ClientSample sample;
    sample.seconds = std::chrono::duration<double>(std::max(*shown, *loaded) - start).count();
    sample.pssMiB = SettledPssMiB(child, "the client");
    sample.stoppedCleanly = child.Stop();
    return sample;
}

void Compare(const std::string& self) {
    if (access(BROWSER_DEMO_PATH, X_OK) != 0) {
        throw Failure(std::string("cannot run ") + BROWSER_DEMO_PATH + ": " + std::strerror(errno));
    }
    if (access(VELMORA_PATH, R_OK) != 0) {
        throw Failure(std::string("cannot read ") + VELMORA_PATH + ": " + std::strerror(errno));
    }
    if (std::getenv("DISPLAY") == nullptr) {
        throw Failure("needs an X display and DISPLAY is not set (make bench runs it under xvfb-run)");
    }
    if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
        throw Failure(std::string("cannot adopt the children's orphans: ") + std::strerror(errno));
    }
    // Open for the whole measurement, the connection also keeps a virtual X server from resetting
    // whenever a run's last window has gone, which would turn the next run away.
    LauncherWatch display;
    ServedSite site;
    std::vector<double> bareMiB, bareSeconds, clientMiB, clientSeconds, appMiB, appSeconds;
    int appKilled = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Sample bare = Measure("the bare view", {self, "--bare", site.Url("/")});
        const Sample client =
            Measure("browser_demo", {BROWSER_DEMO_PATH, site.Url("/"), site.Url("/game.html")});
        const ClientSample app = MeasureClient(site, display);
        bareMiB.push_back(bare.pssMiB);
        bareSeconds.push_back(bare.seconds);
        clientMiB.push_back(client.pssMiB);
        clientSeconds.push_back(client.seconds);
        appMiB.push_back(app.pssMiB);
        appSeconds.push_back(app.seconds);
        appKilled += app.stoppedCleanly ? 0 : 1;
    }
    const double bareMemory = Median(bareMiB);
    const double clientMemory = Median(clientMiB);
    std::printf(
        "browser memory (PSS of the process tree, median of %d): one bare view %.1f MiB, the client's two "
        "views %.1f MiB: %.2fx (target <= 1.10x)\n",
        kRuns, bareMemory, clientMemory, clientMemory / bareMemory);
    const double bareTime = Median(bareSeconds);
    const double clientTime = Median(clientSeconds);
    std::printf(
        "start to loaded (median of %d): one bare view %.2f s, the client's two views %.2f s: %.2fx\n", kRuns,
        bareTime, clientTime, clientTime / bareTime);
    const double appTime = Median(appSeconds);
    std::printf("client start to launcher with portal: %.2fx (%.0f ms vs %.0f ms)\n", appTime / bareTime,
                appTime * 1000, bareTime * 1000);
    const double appMemory = Median(appMiB);
    std::printf("client memory: %.2fx (%.1f MiB vs %.1f MiB)\n", appMemory / bareMemory, appMemory,
                bareMemory);
    if (appKilled > 0) {
        std::fprintf(
            stderr,
            "browser_memory_bench: the client did not end within %lld s of SIGTERM in %d of %d runs\n",
            static_cast<long long>(kStopGrace.count()), appKilled, kRuns);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--bare") {
        return RunBare(argv[2]);
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: browser_memory_bench [--bare URL]\n");
        return 2;
    }
    try {
        Compare("/proc/self/exe");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "browser_memory_bench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
