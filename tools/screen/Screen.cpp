// velmora_screen <window> hash <x> <y> <width> <height> [<step> [<offset>]]
// velmora_screen <window> png <file>
// velmora_screen <window> press <x> <y> <area x> <area y> <width> <height>
// velmora_screen <window> key <key name> <area x> <area y> <width> <height>
// velmora_screen <window> find <picture.png> [<block>] [<x> <y> <width> <height>]...
//
// Reads back what the X server shows of a window, for end-to-end tests that
// look at the screen rather than at the program's own buffers: a hash of an
// area (window pixels) to compare one moment with another, the whole window
// as a PNG file to look at, or the milliseconds from a left press at a
// window point, or from pressing a key (an X key name such as "2" or
// "space"), until the area changes on screen (the button or key is let go
// after the change).
// With a step, the hash takes every step-th pixel of the area in both
// directions, starting offset pixels in: a window shown step times larger
// hashes as the unscaled one does when its pixels are whole square blocks.
// Find tells where in the window a picture (a PNG file, as png writes them)
// shows pixel for pixel, each pixel as a square block of that many window
// pixels on each side (1 unless given), but for the listed rectangles of the
// picture (parts that change by themselves): the picture's top left corner
// as "x y", or nothing and exit code 1 where it shows nowhere.

#include "toolkit/graphics/PngFile.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(stderr,
        "usage: velmora_screen <window> hash <x> <y> <width> <height> [<step> [<offset>]]\n"
        "       velmora_screen <window> png <file>\n"
        "       velmora_screen <window> press <x> <y> <area x> <area y> <width> <height>\n"
        "       velmora_screen <window> key <key name> <area x> <area y> <width> <height>\n"
        "       velmora_screen <window> find <picture.png> [<block>] [<x> <y> <width> <height>]...\n");
    return 1;
}

// The pixels as 0x00BBGGRR, the toolkit's order.
TPixmap Grab(Display* display, Window window, int x, int y, int width, int height)
{
    XImage* image = XGetImage(
        display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image)
        throw std::runtime_error("the window can't be read there");
    TPixmap pixels(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            unsigned long p = XGetPixel(image, column, row);
            auto red = static_cast<TPixel>((p & image->red_mask) >> __builtin_ctzl(image->red_mask));
            auto green = static_cast<TPixel>((p & image->green_mask) >> __builtin_ctzl(image->green_mask));
            auto blue = static_cast<TPixel>((p & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
            pixels.At(column, row) = red | green << 8 | blue << 16;
        }
    }
    XDestroyImage(image);
    return pixels;
}

// FNV-1a over every step-th pixel from offset, row by row.
std::uint64_t Hash(const TPixmap& pixels, int step = 1, int offset = 0)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (int y = offset; y < pixels.Height(); y += step) {
        for (int x = offset; x < pixels.Width(); x += step) {
            hash ^= pixels.At(x, y);
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

// Milliseconds from the press until the area changes on screen, or
// negative after two seconds without change.
template <typename Press>
double PressToScreen(Display* display, Window window, const TRect& area, Press press)
{
    const std::uint64_t before = Hash(Grab(display, window, area.Left, area.Top, area.Width(), area.Height()));
    const auto start = std::chrono::steady_clock::now();
    press();
    XFlush(display);
    for (;;) {
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        if (Hash(Grab(display, window, area.Left, area.Top, area.Width(), area.Height())) != before)
            return elapsed.count();
        if (elapsed.count() > 2000)
            return -1;
    }
}

// A left press at the window point; the button stays down.
double ButtonToScreen(Display* display, Window window, TPoint point, const TRect& area)
{
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), point.X, point.Y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XSync(display, False);
    return PressToScreen(display, window, area, [&] { XTestFakeButtonEvent(display, 1, True, CurrentTime); });
}

// A key pressed and, once the area changed, let go.
double KeyToScreen(Display* display, Window window, const char* name, const TRect& area)
{
    const KeySym symbol = XStringToKeysym(name);
    const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
    if (code == 0)
        throw std::runtime_error(std::string("no key is called ") + name);
    const double elapsed =
        PressToScreen(display, window, area, [&] { XTestFakeKeyEvent(display, code, True, CurrentTime); });
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
    return elapsed;
}

TPixmap ReadPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw std::runtime_error(path + ": " + image.message);
    // Red, green, blue and alpha bytes: the toolkit's order, once the alpha
    // byte is cleared.
    image.format = PNG_FORMAT_RGBA;
    TPixmap pixels(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, pixels.Data(), 0, nullptr))
        throw std::runtime_error(path + ": " + image.message);
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x)
            pixels.At(x, y) &= 0x00FFFFFF;
    }
    return pixels;
}

// Whether the screen shows the picture in blocks with its corner at (left,
// top), where the picture's pixel is not ignored.
bool ShowsAt(
    const TPixmap& screen, const TPixmap& picture, int block, const std::vector<bool>& ignored, int left, int top)
{
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const std::size_t index =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.Width()) + static_cast<std::size_t>(x);
            if (ignored[index])
                continue;
            for (int within = 0; within < block * block; ++within) {
                if (screen.At(left + x * block + within % block, top + y * block + within / block) != picture.At(x, y))
                    return false;
            }
        }
    }
    return true;
}

std::optional<TPoint> Find(const TPixmap& screen, const TPixmap& picture, int block, const std::vector<TRect>& ignore)
{
    std::vector<bool> ignored(static_cast<std::size_t>(picture.Width()) * static_cast<std::size_t>(picture.Height()));
    for (const TRect& rect : ignore) {
        const TRect inside = rect.Intersect(picture.Bounds());
        for (int y = inside.Top; y < inside.Bottom; ++y) {
            for (int x = inside.Left; x < inside.Right; ++x)
                ignored[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.Width()) +
                    static_cast<std::size_t>(x)] = true;
        }
    }
    for (int top = 0; top + picture.Height() * block <= screen.Height(); ++top) {
        for (int left = 0; left + picture.Width() * block <= screen.Width(); ++left) {
            if (ShowsAt(screen, picture, block, ignored, left, top))
                return TPoint{left, top};
        }
    }
    return std::nullopt;
}

TPixmap GrabWhole(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        throw std::runtime_error("no such window");
    return Grab(display, window, 0, 0, attributes.width, attributes.height);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return Usage();
    const std::string command = argv[2];
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "velmora_screen: cannot open the display\n");
        return 1;
    }
    int result = 0;
    try {
        auto window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
        if (command == "hash" && argc >= 7 && argc <= 9) {
            TPixmap area =
                Grab(display, window, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
            const int step = argc > 7 ? std::max(std::atoi(argv[7]), 1) : 1;
            const int offset = argc > 8 ? std::atoi(argv[8]) : 0;
            std::printf("%016llx\n", static_cast<unsigned long long>(Hash(area, step, offset)));
        } else if (command == "png" && argc == 4) {
            SavePng(GrabWhole(display, window), argv[3]);
        } else if (command == "find" && argc >= 4 && (argc - 4) % 4 <= 1) {
            const int first = (argc - 4) % 4 == 1 ? 5 : 4;
            const int block = first == 5 ? std::max(std::atoi(argv[4]), 1) : 1;
            std::vector<TRect> ignore;
            for (int i = first; i < argc; i += 4)
                ignore.push_back(TRect::FromBounds(
                    std::atoi(argv[i]), std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), std::atoi(argv[i + 3])));
            if (const std::optional<TPoint> corner = Find(GrabWhole(display, window), ReadPng(argv[3]), block, ignore))
                std::printf("%d %d\n", corner->X, corner->Y);
            else
                result = 1;
        } else if (command == "press" && argc == 9) {
            TPoint press{std::atoi(argv[3]), std::atoi(argv[4])};
            TRect area =
                TRect::FromBounds(std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8]));
            std::printf("%.1f\n", ButtonToScreen(display, window, press, area));
        } else if (command == "key" && argc == 8) {
            TRect area =
                TRect::FromBounds(std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]));
            std::printf("%.1f\n", KeyToScreen(display, window, argv[3], area));
        } else {
            result = Usage();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora_screen: %s\n", error.what());
        result = 1;
    }
    XCloseDisplay(display);
    return result;
}
