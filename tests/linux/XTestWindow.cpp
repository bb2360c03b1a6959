// A small X client for the Linux saver's end-to-end tests:
//   create WxH [--plain-visual] [--background RRGGBB]  a window owned by this process
//        (plain visual: one that OpenGL cannot draw on with depth and back buffer); prints
//        its id in hex, then keeps it until the process is killed
//   motion ID X Y        sends the window a pointer-motion event at root position X,Y
//   capture ID FILE.ppm  writes the window's picture as binary PPM
//   cursor               prints "cursor hidden" when the pointer's current picture has no
//                        visible pixel ("cursor visible" otherwise)
//   scene FILE.ppm [BACKGROUND]  prints properties of a captured frame, one per line:
//        colours N, redband ROW|none, background PERCENT, filled_topright yes|no
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#include <X11/extensions/shmproto.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

Display* Open()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "xtestwindow: no display\n");
        std::exit(2);
    }
    return display;
}

Window ParseId(const char* text)
{
    return static_cast<Window>(std::strtoul(text, nullptr, 0));
}

int Create(int argc, char** argv)
{
    int width = 0, height = 0;
    if (argc < 3 || std::sscanf(argv[2], "%dx%d", &width, &height) != 2)
        return 2;
    bool plainVisual = false;
    unsigned long background = 0xff00ff;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--plain-visual") == 0)
            plainVisual = true;
        else if (std::strcmp(argv[i], "--background") == 0 && i + 1 < argc)
            background = std::strtoul(argv[++i], nullptr, 16);
    }
    Display* display = Open();
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    if (plainVisual) {
        XVisualInfo pattern {};
        pattern.screen = screen;
        pattern.c_class = TrueColor;
        int count = 0;
        XVisualInfo* list = XGetVisualInfo(display, VisualScreenMask | VisualClassMask, &pattern, &count);
        bool found = false;
        for (int i = 0; i < count && !found; ++i) {
            int doubleBuffer = 0, depthBits = 0;
            glXGetConfig(display, &list[i], GLX_DOUBLEBUFFER, &doubleBuffer);
            glXGetConfig(display, &list[i], GLX_DEPTH_SIZE, &depthBits);
            if (!doubleBuffer && depthBits == 0) {
                visual = list[i].visual;
                depth = list[i].depth;
                found = true;
            }
        }
        if (!found) {
            std::fprintf(stderr, "xtestwindow: no plain visual\n");
            return 2;
        }
    }
    XSetWindowAttributes attributes {};
    attributes.background_pixel = background;
    attributes.border_pixel = 0;
    attributes.colormap = XCreateColormap(display, RootWindow(display, screen), visual, AllocNone);
    // Button presses can be selected by one client only: the owner takes them, as a
    // screen-saver daemon does, so the saver must not need them on this window.
    attributes.event_mask = ButtonPressMask | KeyPressMask | StructureNotifyMask;
    const Window window = XCreateWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, depth, InputOutput, visual,
                                        CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    XStoreName(display, window, "arcveil-test-host");
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    // The window lives as long as this process: the tests kill it to remove the window.
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

int Motion(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    Display* display = Open();
    XEvent event {};
    event.xmotion.type = MotionNotify;
    event.xmotion.display = display;
    event.xmotion.window = ParseId(argv[2]);
    event.xmotion.root = DefaultRootWindow(display);
    event.xmotion.x = event.xmotion.x_root = std::atoi(argv[3]);
    event.xmotion.y = event.xmotion.y_root = std::atoi(argv[4]);
    event.xmotion.same_screen = True;
    event.xmotion.time = CurrentTime;
    XSendEvent(display, event.xmotion.window, False, PointerMotionMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}

int Capture(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    Display* display = Open();
    const Window window = ParseId(argv[2]);
    XWindowAttributes attributes {};
    if (!XGetWindowAttributes(display, window, &attributes))
        return 1;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return 1;
    std::ofstream out(argv[3], std::ios::binary);
    out << "P6\n" << attributes.width << " " << attributes.height << "\n255\n";
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>((pixel & image->red_mask) >> 16),
                                          static_cast<unsigned char>((pixel & image->green_mask) >> 8),
                                          static_cast<unsigned char>(pixel & image->blue_mask)};
            out.write(reinterpret_cast<const char*>(rgb), 3);
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    return out ? 0 : 1;
}

int ReportCursor()
{
    Display* display = Open();
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == nullptr)
        return 1;
    // The picture where the pointer is now: the caller puts it over the window first.
    bool visible = false;
    for (int i = 0; i < image->width * image->height; ++i)
        visible = visible || (image->pixels[i] >> 24) != 0;
    std::printf("cursor %s\n", visible ? "visible" : "hidden");
    XFree(image);
    XCloseDisplay(display);
    return 0;
}

bool ReadPpm(const char* path, Picture& picture)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> picture.width >> picture.height >> maximum;
    in.get();
    if (magic != "P6" || maximum != 255 || picture.width <= 0 || picture.height <= 0)
        return false;
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return static_cast<bool>(in);
}

int Scene(int argc, char** argv)
{
    Picture picture;
    if (argc < 3 || !ReadPpm(argv[2], picture))
        return 2;
    const unsigned long background = argc > 3 ? std::strtoul(argv[3], nullptr, 16) : 0xff00ff;
    const unsigned char bg[3] = {static_cast<unsigned char>(background >> 16),
                                 static_cast<unsigned char>(background >> 8), static_cast<unsigned char>(background)};
    std::set<unsigned long> colours;
    long backgroundPixels = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.At(x, y);
            colours.insert((static_cast<unsigned long>(p[0]) << 16) | (p[1] << 8) | p[2]);
            backgroundPixels += std::memcmp(p, bg, 3) == 0;
        }
    }
    // The haze at the horizon: a row whose pixels are mostly red-dominated, across
    // at least nine tenths of the width.
    int bandRow = -1;
    int bestCount = 0;
    for (int y = 0; y < picture.height; ++y) {
        int reddish = 0;
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.At(x, y);
            reddish += p[0] >= 24 && p[0] > 2 * p[1] && p[0] > 2 * p[2];
        }
        if (reddish > bestCount) {
            bestCount = reddish;
            bandRow = y;
        }
    }
    const bool band = bestCount * 10 >= picture.width * 9;
    // The top-right quarter lies outside a viewport that kept an old, smaller size.
    long topRightBackground = 0;
    for (int y = 0; y < picture.height / 4; ++y)
        for (int x = picture.width * 3 / 4; x < picture.width; ++x)
            topRightBackground += std::memcmp(picture.At(x, y), bg, 3) == 0;
    std::printf("size %dx%d\n", picture.width, picture.height);
    std::printf("colours %zu\n", colours.size());
    if (band)
        std::printf("redband %d\n", bandRow);
    else
        std::printf("redband none\n");
    std::printf("background %ld\n", backgroundPixels * 100 / (static_cast<long>(picture.width) * picture.height));
    std::printf("filled_topright %s\n", topRightBackground == 0 ? "yes" : "no");
    return 0;
}

void CountUpload(XPointer counter, XRecordInterceptData* data)
{
    if (data->category == XRecordFromClient)
        ++*reinterpret_cast<long*>(counter);
    XRecordFreeData(data);
}

// The image uploads (PutImage, ShmPutImage) every client makes in that many seconds:
// software OpenGL on a server without direct rendering sends one a frame, whether the
// window can be seen or not.
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
    const double seconds = std::atof(argv[2]);
    for (int tick = 0; tick < seconds * 100; ++tick) {
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
    if (argc >= 2 && std::strcmp(argv[1], "create") == 0)
        return Create(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "motion") == 0)
        return Motion(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "capture") == 0)
        return Capture(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "cursor") == 0)
        return ReportCursor();
    if (argc >= 2 && std::strcmp(argv[1], "scene") == 0)
        return Scene(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "frames") == 0)
        return CountFrames(argc, argv);
    std::fprintf(stderr, "usage: xtestwindow create WxH | motion ID X Y | capture ID FILE | cursor | scene FILE [BG]\n");
    return 2;
}
