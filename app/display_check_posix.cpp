// Whether a display is there to open, before Qt tries and aborts without one (X11, Wayland).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include "app/setup_app.h"
#include "base/printable_text.h"

namespace {

// The longest part of a variable's value that goes into the message.
constexpr std::size_t SHOWN_VALUE_MAX = 100;

const char* Value(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// libxcb reads DISPLAY (and XAUTHORITY) exactly as Qt's xcb platform will.
bool XServerAnswers()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

// A Wayland compositor listens on WAYLAND_DISPLAY, a socket in XDG_RUNTIME_DIR unless the name
// is a path.
bool CompositorAnswers(const std::string& name)
{
    std::string path = name;
    if (path.front() != '/') {
        const char* runtime = Value("XDG_RUNTIME_DIR");
        if (runtime == nullptr) return false;
        path = std::string(runtime) + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return answers;
}

std::string Shown(const char* variable, const char* value)
{
    return std::string(variable) + "=" + PrintableText(std::string_view(value).substr(0, SHOWN_VALUE_MAX));
}

}  // namespace

bool CheckDisplay()
{
    // An explicit platform (offscreen, vnc, eglfs ...) is the caller's choice, display or not.
    if (Value("QT_QPA_PLATFORM") != nullptr) return true;
    const char* x11 = Value("DISPLAY");
    const char* wayland = Value("WAYLAND_DISPLAY");
    if (x11 == nullptr && wayland == nullptr) {
        std::fputs(
            "dorvane: 화면이 없습니다 (DISPLAY 와 WAYLAND_DISPLAY 가 설정되지 않음); 창 없이 같은 명령은 dorvane-cli 로 "
            "실행합니다 / no display (DISPLAY and WAYLAND_DISPLAY are unset); dorvane-cli runs the same commands "
            "without one\n",
            stderr);
        return false;
    }
    // Qt aborts on a display it cannot open; say so as for none at all.
    if ((wayland != nullptr && CompositorAnswers(wayland)) || (x11 != nullptr && XServerAnswers())) return true;
    std::string named;
    if (x11 != nullptr) named = Shown("DISPLAY", x11);
    if (wayland != nullptr) named += (named.empty() ? "" : ", ") + Shown("WAYLAND_DISPLAY", wayland);
    std::fprintf(stderr,
                 "dorvane: 화면에 연결할 수 없습니다 (%s); 창 없이 같은 명령은 dorvane-cli 로 실행합니다 / cannot open "
                 "the display (%s); dorvane-cli runs the same commands without one\n",
                 named.c_str(), named.c_str());
    return false;
}
