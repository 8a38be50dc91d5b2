// startup_bench <runs> <program> [args...]
// On an X server whose root is black (Xvfb -br), starts the program <runs> times and prints,
// per run and as medians: milliseconds from exec to the map of its first top-level window, to
// the first frame with any non-black pixel in that window, and its resident memory 3 s later.
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double residentMB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

bool painted(xcb_connection_t* c, xcb_window_t window)
{
    const auto geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!geometry)
        return false;
    const auto image = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width,
                         geometry->height, ~0u),
        nullptr);
    free(geometry);
    if (!image)
        return false;
    const uint8_t* data = xcb_get_image_data(image);
    const int length = xcb_get_image_data_length(image);
    bool any = false;
    for (int i = 0; i < length && !any; ++i)
        any = data[i] != 0;
    free(image);
    return any;
}

struct Run {
    double mapMs = -1;
    double paintMs = -1;
    double rssMB = 0;
};

Run runOnce(xcb_connection_t* c, xcb_window_t root, char** argv)
{
    Run run;
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    xcb_window_t window = XCB_WINDOW_NONE;
    while (clock.elapsed() < 10000 && run.paintMs < 0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && window == XCB_WINDOW_NONE) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect && map->event == root) {
                    window = map->window;
                    run.mapMs = clock.nsecsElapsed() / 1e6;
                }
            }
            free(event);
        }
        if (window != XCB_WINDOW_NONE && painted(c, window))
            run.paintMs = clock.nsecsElapsed() / 1e6;
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::this_thread::sleep_for(std::chrono::seconds(3));
    run.rssMB = residentMB(pid);
    kill(pid, SIGTERM);
    for (int i = 0; i < 50 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    // drain what the closing windows sent
    while (xcb_generic_event_t* event = xcb_poll_for_event(c))
        free(event);
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <runs> <program> [args...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    QList<double> maps, paints, rss;
    runOnce(c, root, argv + 2); // warm-up: data directory, caches
    for (int i = 0; i < runs; ++i) {
        const Run run = runOnce(c, root, argv + 2);
        std::printf("  run %d: map %.1f ms, first paint %.1f ms, RSS %.1f MB\n", i + 1, run.mapMs,
                    run.paintMs, run.rssMB);
        maps << run.mapMs;
        paints << run.paintMs;
        rss << run.rssMB;
    }
    std::printf("%s: median map %.1f ms, first paint %.1f ms, RSS after 3 s %.1f MB\n",
                argv[2], median(maps), median(paints), median(rss));
    xcb_disconnect(c);
    return 0;
}
