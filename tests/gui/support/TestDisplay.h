#pragma once
// The private Xvfb the GUI tests of one process run on, started on first use and stopped at exit.
//
// Tests never touch the pointer or the windows of a real desktop, whatever DISPLAY said.

#include <sys/types.h>

#include <memory>
#include <string>

struct _XDisplay;
class TempDir;

class TestDisplay {
public:
    // The process's display. The first call starts Xvfb on a display number Xvfb finds free (whatever
    // DISPLAY said before), waits until it takes connections, and points DISPLAY at it, so a later
    // gtk_init, and every program the test starts, uses it. Throws std::runtime_error when the server
    // does not come up within a few seconds; the message holds Xvfb's own output.
    static TestDisplay& Get();

    ~TestDisplay();
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    // ":N", as DISPLAY holds it.
    const std::string& Name() const { return m_name; }
    // The screen's size in pixels (1280x1024, depth 24).
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The Xvfb process.
    pid_t ServerPid() const { return m_serverPid; }
    // The harness's own connection, used by its queries and screenshots. A toolkit opens its own; use this
    // one from the test's thread only.
    _XDisplay* Connection() const { return m_connection; }

private:
    TestDisplay();
    void Start();
    void Stop();

    std::unique_ptr<TempDir> m_folder;
    std::string m_name;
    int m_width = 0;
    int m_height = 0;
    pid_t m_serverPid = -1;
    pid_t m_ownerPid = -1;
    _XDisplay* m_connection = nullptr;
};
