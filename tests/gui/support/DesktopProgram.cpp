// Starts the desktop programs GUI tests run beside, and waits until they have taken their place.
#include "DesktopProgram.h"

#include <unistd.h>

#include <stdexcept>
#include <utility>

#include "DesktopState.h"
#include "ProgramControl.h"
#include "TestDisplay.h"
#include "WaitUntil.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

constexpr auto kStopGrace = std::chrono::seconds(3);
constexpr auto kGoneTimeout = std::chrono::seconds(3);

// Mouse bindings are kept to what people do with windows, so a test that clicks or drags sees the usual
// outcome; key bindings are left out, so no key a test sends is swallowed.
constexpr const char* kOpenboxConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <resistance><strength>0</strength><screen_edge_strength>0</screen_edge_strength></resistance>
  <focus>
    <focusNew>yes</focusNew><followMouse>no</followMouse><focusLast>yes</focusLast>
    <underMouse>no</underMouse><focusDelay>0</focusDelay><raiseOnFocus>no</raiseOnFocus>
  </focus>
  <placement><policy>Smart</policy><center>no</center><monitor>Primary</monitor></placement>
  <theme>
    <name>Clearlooks</name><titleLayout>NLIMC</titleLayout><keepBorder>yes</keepBorder>
    <animateIconify>no</animateIconify>
  </theme>
  <desktops><number>1</number><firstdesk>1</firstdesk><popupTime>0</popupTime></desktops>
  <resize><drawContents>yes</drawContents><popupShow>Never</popupShow></resize>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <dock><noStrut>yes</noStrut></dock>
  <keyboard></keyboard>
  <mouse>
    <dragThreshold>1</dragThreshold><doubleClickTime>500</doubleClickTime><screenEdgeWarpTime>0</screenEdgeWarpTime>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Middle" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Right" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
      <mousebind button="Left" action="DoubleClick"><action name="ToggleMaximize"/></mousebind>
    </context>
    <context name="Top Bottom Left Right TLCorner TRCorner BLCorner BRCorner">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Drag"><action name="Resize"/></mousebind>
    </context>
    <context name="Close">
      <mousebind button="Left" action="Click"><action name="Close"/></mousebind>
    </context>
    <context name="Maximize">
      <mousebind button="Left" action="Click"><action name="ToggleMaximize"/></mousebind>
    </context>
    <context name="Iconify">
      <mousebind button="Left" action="Click"><action name="Iconify"/></mousebind>
    </context>
  </mouse>
  <menu><hideDelay>0</hideDelay></menu>
  <applications></applications>
</openbox_config>
)";

bool Owned(const std::string& selection) {
    return SelectionOwner(selection) != 0;
}

}  // namespace

DesktopProgram DesktopProgram::WindowManager() {
    auto folder = std::make_unique<TempDir>();
    std::string config = *folder / "rc.xml";
    WriteWholeFile(config, kOpenboxConfig);
    // openbox claims the screen, and even lists its clients, a moment before it handles map requests: a
    // window mapped in that moment is never shown. Its --startup command runs at the very end of its
    // start-up, after which windows mapped at once were always taken, on a busy machine too.
    std::string started = *folder / "started";
    auto settled = [started] { return access(started.c_str(), F_OK) == 0 && WindowManagerRunning(); };
    return DesktopProgram(
        std::move(folder),
        {"openbox", "--sm-disable", "--config-file", config, "--startup", "touch '" + started + "'"}, settled,
        kStartTimeout);
}

DesktopProgram DesktopProgram::Compositor() {
    return DesktopProgram({"xcompmgr"}, [] { return Owned("_NET_WM_CM_S0"); });
}

DesktopProgram DesktopProgram::Tray() {
    return DesktopProgram({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                           "--width", "100", "--heighttype", "pixel", "--height", "32", "--SetDockType",
                           "true", "--SetPartialStrut", "false", "--expand", "false"},
                          [] { return Owned("_NET_SYSTEM_TRAY_S0"); });
}

DesktopProgram::DesktopProgram(std::vector<std::string> args, std::function<bool()> running,
                               std::chrono::milliseconds timeout)
    : DesktopProgram(std::make_unique<TempDir>(), std::move(args), std::move(running), timeout) {}

DesktopProgram::DesktopProgram(std::unique_ptr<TempDir> folder, std::vector<std::string> args,
                               std::function<bool()> running, std::chrono::milliseconds timeout)
    : m_folder(std::move(folder)), m_running(std::move(running)) {
    if (args.empty()) {
        throw std::invalid_argument("DesktopProgram needs a program to run");
    }
    m_name = args[0];
    // Sets DISPLAY, which the program inherits.
    TestDisplay::Get();
    args[0] = FindProgram(m_name);
    if (args[0].empty()) {
        throw std::runtime_error(m_name + ": no such program on PATH");
    }
    std::string log = *m_folder / "stderr.log";
    m_pid = StartProgram(args, log);
    if (m_pid == -1) {
        throw std::runtime_error(m_name + ": cannot start " + args[0]);
    }
    int status = -1;
    bool ended = false;
    bool ready = WaitUntil(
        [&] {
            ended = ended || HasExited(m_pid, &status);
            return ended || m_running();
        },
        timeout);
    if (ready && !ended) {
        return;
    }
    std::string what = ended ? m_name + " " + DescribeWaitStatus(status) + " before it was ready"
                             : m_name + " was not ready within " + std::to_string(timeout.count()) + " ms";
    if (!ended) {
        StopProgram(m_pid, kStopGrace);
    }
    m_pid = -1;
    throw std::runtime_error(what + "; its error output:\n" + TailOfFile(log));
}

DesktopProgram::DesktopProgram(DesktopProgram&& other) noexcept
    : m_folder(std::move(other.m_folder)),
      m_name(std::move(other.m_name)),
      m_pid(std::exchange(other.m_pid, -1)),
      m_running(std::move(other.m_running)) {}

DesktopProgram::~DesktopProgram() {
    if (m_pid == -1) {
        return;
    }
    StopProgram(m_pid, kStopGrace);
    // The server frees a client's selections and windows only after it notices the connection closed.
    WaitUntil([this] { return !m_running(); }, kGoneTimeout);
}
