// A small X client for the Linux saver's end-to-end tests:
//   create WxH [--plain-visual | --single-buffered | --vanish | --input-only]  a magenta
//        window owned by this process, of a visual OpenGL cannot draw the scene on (no
//        depth buffer, or no back buffer); prints its id in hex, then keeps it until the
//        process is killed. --vanish: a plain one destroyed as soon as a child is made in
//        it; --input-only: an InputOnly window, which nothing can draw on
//   frames SECONDS    the image uploads (PutImage, ShmPutImage) all clients make in that
//        time: software OpenGL without direct rendering to the server sends one a frame,
//        whether the window can be seen or not
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>
#include <X11/extensions/record.h>
#include <X11/extensions/shmproto.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

Display* Open()
{
    if (Display* display = XOpenDisplay(nullptr))
        return display;
    std::fprintf(stderr, "xtestwindow: no display\n");
    std::exit(2);
}

int Create(int argc, char** argv)
{
    int width = 0, height = 0;
    if (argc < 3 || std::sscanf(argv[2], "%dx%d", &width, &height) != 2)
        return 2;
    Display* display = Open();
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    const std::string kind = argc > 3 ? argv[3] : "";
    if (argc > 3 && kind != "--input-only") {
        // Without GLX_DOUBLEBUFFER only single-buffered visuals count, and the smallest
        // depth buffer asked for wins: none, or at least 16 bits.
        const bool withDepth = std::strcmp(argv[3], "--single-buffered") == 0;
        int attributes[] = {GLX_RGBA, GLX_DEPTH_SIZE, withDepth ? 16 : 0, None};
        XVisualInfo* plain = glXChooseVisual(display, screen, attributes);
        int depthBits = 0, doubleBuffer = 1;
        if (plain == nullptr || glXGetConfig(display, plain, GLX_DEPTH_SIZE, &depthBits) != 0 ||
            glXGetConfig(display, plain, GLX_DOUBLEBUFFER, &doubleBuffer) != 0 || doubleBuffer ||
            (withDepth ? depthBits < 16 : depthBits != 0))
            return 2;
        visual = plain->visual;
        depth = plain->depth;
    }
    XSetWindowAttributes attributes {};
    attributes.background_pixel = 0xff00ff;
    attributes.colormap = XCreateColormap(display, RootWindow(display, screen), visual, AllocNone);
    // Button presses can be selected by one client only: the owner takes them, as a
    // screen-saver daemon does, so the saver must not need them on this window.
    attributes.event_mask = ButtonPressMask | KeyPressMask | StructureNotifyMask |
                            (kind == "--vanish" ? SubstructureNotifyMask : 0);
    const bool inputOnly = kind == "--input-only";
    const Window window = XCreateWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, inputOnly ? 0 : depth,
                                        inputOnly ? InputOnly : InputOutput, visual,
                                        inputOnly ? CWEventMask : CWBackPixel | CWBorderPixel | CWColormap | CWEventMask,
                                        &attributes);
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify && event.xcreatewindow.parent == window) {
            XDestroyWindow(display, window);
            XSync(display, False);
        }
    }
}

void CountUpload(XPointer counter, XRecordInterceptData* data)
{
    if (data->category == XRecordFromClient)
        ++*reinterpret_cast<long*>(counter);
    XRecordFreeData(data);
}

int CountFrames(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    Display* control = Open();
    Display* data = Open();
    int shm = 0, firstEvent = 0, firstError = 0;
    XQueryExtension(control, "MIT-SHM", &shm, &firstEvent, &firstError);
    XRecordRange* ranges[2] = {XRecordAllocRange(), XRecordAllocRange()};
    ranges[0]->core_requests.first = ranges[0]->core_requests.last = X_PutImage;
    ranges[1]->ext_requests.ext_major.first = ranges[1]->ext_requests.ext_major.last = static_cast<unsigned char>(shm);
    ranges[1]->ext_requests.ext_minor.first = ranges[1]->ext_requests.ext_minor.last = X_ShmPutImage;
    XRecordClientSpec clients = XRecordAllClients;
    const XRecordContext context = XRecordCreateContext(control, 0, &clients, 1, ranges, shm != 0 ? 2 : 1);
    XSync(control, False);
    long count = 0;
    if (context == 0 || !XRecordEnableContextAsync(data, context, CountUpload, reinterpret_cast<XPointer>(&count)))
        return 1;
    for (int tick = 0; tick < std::atof(argv[2]) * 100; ++tick) {
        XRecordProcessReplies(data);
        usleep(10000);
    }
    XRecordDisableContext(control, context);
    XSync(control, False);
    XRecordProcessReplies(data);
    std::printf("%ld\n", count);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "create")
        return Create(argc, argv);
    if (command == "frames")
        return CountFrames(argc, argv);
    std::fprintf(stderr, "usage: xtestwindow create WxH [KIND] | frames SECONDS (the file's head says more)\n");
    return 2;
}
