// Starts a program and reports, from outside it, when its window of a given title is
// mapped and when the X server first receives pixels for it. The game and the empty
// window are timed this same way, since the game has no command line to ask.
//
//   spinzelle-xwatch TITLE -- PROGRAM [ARGS...]
//
// Prints "pid P mapped_ms M drawn_ms D cpu_ms C" (-1 for what never happened within
// 30 s), C being the program's time on a CPU until drawn, which the machine's other
// load barely moves; then stays the program's parent until it ends, and exits with
// its status.

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// The DAMAGE extension by hand: libxcb-damage is not among the packages the game needs,
// and three requests are all this takes.
xcb_extension_t damageExtension = {"DAMAGE", 0};
constexpr std::uint8_t kQueryVersion = 0;
constexpr std::uint8_t kCreate = 1;
constexpr std::uint8_t kSubtract = 3;
constexpr std::uint8_t kReportNonEmpty = 3;

struct QueryVersionRequest {
    std::uint8_t major, minor;
    std::uint16_t length;
    std::uint32_t majorVersion, minorVersion;
};
struct CreateRequest {
    std::uint8_t major, minor;
    std::uint16_t length;
    std::uint32_t damage, drawable;
    std::uint8_t level, pad[3];
};
struct SubtractRequest {
    std::uint8_t major, minor;
    std::uint16_t length;
    std::uint32_t damage, repair, parts;
};
struct NotifyEvent {
    std::uint8_t responseType, level;
    std::uint16_t sequence;
    std::uint32_t drawable, damage;
};

template <typename Request>
unsigned send(xcb_connection_t* c, std::uint8_t opcode, Request& request, bool hasReply) {
    xcb_protocol_request_t proto = {1, &damageExtension, opcode, hasReply ? std::uint8_t{0} : std::uint8_t{1}};
    iovec parts[3] = {};  // libxcb owns the two before the request
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    return xcb_send_request(c, hasReply ? XCB_REQUEST_CHECKED : 0, parts + 2, &proto);
}

bool startDamage(xcb_connection_t* c) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &damageExtension);
    if (!ext || !ext->present) return false;
    QueryVersionRequest q{};
    q.majorVersion = 1;
    q.minorVersion = 1;
    xcb_generic_error_t* error = nullptr;
    void* reply = xcb_wait_for_reply(c, send(c, kQueryVersion, q, true), &error);
    std::free(error);
    std::free(reply);
    return reply != nullptr;
}

void watchDrawing(xcb_connection_t* c, xcb_window_t window) {
    CreateRequest r{};
    r.damage = xcb_generate_id(c);
    r.drawable = window;
    r.level = kReportNonEmpty;
    send(c, kCreate, r, false);
}

// Re-arms the report, so each new drawing is told once more.
void acknowledge(xcb_connection_t* c, std::uint32_t damage) {
    SubtractRequest r{};
    r.damage = damage;
    send(c, kSubtract, r, false);
}

std::string title(xcb_connection_t* c, xcb_window_t window) {
    auto cookie = xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    if (!reply) return {};
    std::string name(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return name;
}

// Time on a CPU of every thread of a process so far, in ms (schedstat's first field).
double cpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return -1;
    unsigned long long ns = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        if (std::FILE* f = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r")) {
            unsigned long long n = 0;
            if (std::fscanf(f, "%llu", &n) == 1) ns += n;
            std::fclose(f);
        }
    }
    closedir(dir);
    return static_cast<double>(ns) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::strcmp(argv[2], "--") != 0) {
        std::fprintf(stderr, "usage: %s TITLE -- PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string wanted = argv[1];

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "xwatch: no X display\n");
        return 2;
    }
    const int fd = xcb_get_file_descriptor(c);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const bool damage = startDamage(c);
    const std::uint8_t damageEvent = damage ? xcb_get_extension_data(c, &damageExtension)->first_event : 0;

    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));  // in force before the start

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        execvp(argv[3], argv + 3);
        std::perror("xwatch: exec");
        _exit(127);
    }

    double mapped = -1, drawn = -1, cpu = -1;
    xcb_window_t target = XCB_NONE;
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    while (drawn < 0 && Clock::now() < deadline && !xcb_connection_has_error(c)) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 100);
            continue;
        }
        const Clock::time_point at = Clock::now();
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (damage && e->parent == root) watchDrawing(c, e->window);
            xcb_flush(c);
        } else if (type == XCB_MAP_NOTIFY) {
            auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (target == XCB_NONE && title(c, e->window) == wanted) {
                target = e->window;
                mapped = msBetween(start, at);
                if (!damage) {
                    drawn = mapped;
                    cpu = cpuMs(child);
                }
            }
        } else if (damage && type == damageEvent) {
            auto* e = reinterpret_cast<NotifyEvent*>(event);
            if (e->drawable == target && target != XCB_NONE) {
                drawn = msBetween(start, at);
                cpu = cpuMs(child);
            }
            acknowledge(c, e->damage);
            xcb_flush(c);
        }
        std::free(event);
    }
    xcb_disconnect(c);

    std::printf("pid %d mapped_ms %.2f drawn_ms %.2f cpu_ms %.2f\n", static_cast<int>(child), mapped, drawn, cpu);
    std::fflush(stdout);

    signal(SIGTERM, SIG_IGN);  // the program is stopped by its pid; this one just reaps it
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
