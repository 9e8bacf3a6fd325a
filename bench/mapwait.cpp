// Starts a program and prints how long it took until its window, found by a part of its
// title, was mapped on the X display: "<pid> <milliseconds>". The program is left running.
// Usage: mapwait TITLE PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

std::string windowTitle(Display *display, Window window)
{
    std::string title;
    XTextProperty property;
    if (XGetWMName(display, window, &property) && property.value) {
        title.assign(reinterpret_cast<const char *>(property.value), property.nitems);
        XFree(property.value);
    }
    return title;
}

// The title of a window or of one of its children (a toolkit may map a frame first).
bool hasTitle(Display *display, Window window, const char *wanted, int depth = 0)
{
    if (windowTitle(display, window).find(wanted) != std::string::npos)
        return true;
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    bool found = false;
    if (depth < 2 && XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int index = 0; index < count && !found; ++index)
            found = hasTitle(display, children[index], wanted, depth + 1);
        if (children)
            XFree(children);
    }
    return found;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwait TITLE PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapwait: no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && hasTitle(display, event.xmap.window, argv[1])) {
            const std::chrono::duration<double, std::milli> elapsed
                    = std::chrono::steady_clock::now() - start;
            std::printf("%d %.1f\n", child, elapsed.count());
            return 0;
        }
    }
}
