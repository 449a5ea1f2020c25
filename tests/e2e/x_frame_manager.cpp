// The smallest window manager that gives windows a frame: every top-level window that asks to
// be mapped is put into a frame window larger by a border of 5 pixels and a title band of 25,
// placed at (40, 30), and sizes a client asks for are granted. The end-to-end tests use it to
// see how the program's window fits its outer size to a frame it cannot know in advance.
//
// Usage: x_frame_manager   (prints "managing" once it owns the screen; runs until killed)

#include <cstdio>

#include <X11/Xlib.h>

namespace {

constexpr int Border = 5;
constexpr int Title = 25;
constexpr int FrameX = 40;
constexpr int FrameY = 30;

bool anotherManager = false;

int onError(Display*, XErrorEvent* error) {
    if (error->error_code == BadAccess) {
        anotherManager = true;
    }
    return 0;  // windows that vanish between an event and our answer are no concern
}

Window frameOf(Display* display, Window client) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, client, &root, &parent, &children, &count) == 0) {
        return 0;
    }
    if (children != nullptr) {
        XFree(children);
    }
    return parent == root ? 0 : parent;
}

void manage(Display* display, Window client) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, client, &attributes) == 0) {
        return;
    }
    Window frame = XCreateSimpleWindow(display, DefaultRootWindow(display), FrameX, FrameY,
                                       attributes.width + 2 * Border,
                                       attributes.height + Border + Title, 0, 0, 0x808080);
    XSelectInput(display, frame, SubstructureRedirectMask | SubstructureNotifyMask);
    XAddToSaveSet(display, client);
    XReparentWindow(display, client, frame, Border, Title);
    XMapWindow(display, frame);
    XMapWindow(display, client);
}

void configure(Display* display, const XConfigureRequestEvent& request) {
    XWindowChanges changes{};
    changes.x = request.x;
    changes.y = request.y;
    changes.width = request.width;
    changes.height = request.height;
    changes.border_width = request.border_width;
    changes.sibling = request.above;
    changes.stack_mode = request.detail;
    Window frame = frameOf(display, request.window);
    if (frame != 0) {
        XResizeWindow(display, frame, request.width + 2 * Border, request.height + Border + Title);
        changes.x = Border;
        changes.y = Title;
    }
    XConfigureWindow(display, request.window, static_cast<unsigned>(request.value_mask), &changes);
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("x_frame_manager: cannot open the display\n", stderr);
        return 1;
    }
    XSetErrorHandler(onError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(display, False);
    if (anotherManager) {
        std::fputs("x_frame_manager: another window manager runs\n", stderr);
        return 1;
    }
    std::puts("managing");
    std::fflush(stdout);
    while (true) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapRequest) {
            manage(display, event.xmaprequest.window);
        } else if (event.type == ConfigureRequest) {
            configure(display, event.xconfigurerequest);
        }
    }
}
