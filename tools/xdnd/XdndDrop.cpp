// velmora_xdnd_drop [--text] <x> <y> <file>...
//
// Drops files on the window under the root position (x, y) the way a file
// manager does: as an XDND drag source offering a text/uri-list. With
// --text it drags what the files hold instead, as a text editor drags a
// selection: text/plain. End-to-end tests use it to give a real window a
// real drop under Xvfb. Exits 0 once
// the target has reported the drop finished, 2 when the desktop has no drop
// target there or the target refused, 1 on any other failure.

#include "tools/xdnd/UriList.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr long kXdndVersion = 5;
constexpr auto kTimeout = std::chrono::seconds(10);

struct TAtoms {
    Atom aware, enter, position, status, drop, finished, leave, selection, actionCopy, uriList, text;

    explicit TAtoms(Display* display)
        : aware(XInternAtom(display, "XdndAware", False)), enter(XInternAtom(display, "XdndEnter", False)),
          position(XInternAtom(display, "XdndPosition", False)), status(XInternAtom(display, "XdndStatus", False)),
          drop(XInternAtom(display, "XdndDrop", False)), finished(XInternAtom(display, "XdndFinished", False)),
          leave(XInternAtom(display, "XdndLeave", False)), selection(XInternAtom(display, "XdndSelection", False)),
          actionCopy(XInternAtom(display, "XdndActionCopy", False)),
          uriList(XInternAtom(display, "text/uri-list", False)), text(XInternAtom(display, "text/plain", False))
    {
    }
};

// What the files hold, one after the other.
std::optional<std::string> Contents(const std::vector<std::string>& files)
{
    std::string text;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return std::nullopt;
        text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return text;
}

// The XDND-aware window under (x, y): the topmost window there that carries
// XdndAware, looked for from the root down.
std::optional<Window> FindTarget(Display* display, const TAtoms& atoms, int x, int y)
{
    Window root = DefaultRootWindow(display);
    Window current = root;
    for (;;) {
        int localX = 0;
        int localY = 0;
        Window child = None;
        if (!XTranslateCoordinates(display, root, current, x, y, &localX, &localY, &child) || child == None)
            return std::nullopt;
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(
            display, child, atoms.aware, 0, 1, False, AnyPropertyType, &type, &format, &count, &remaining, &data);
        if (data)
            XFree(data);
        if (type != None)
            return child;
        current = child;
    }
}

void SendClientMessage(Display* display, Window target, Atom type, long l0, long l1, long l2, long l3, long l4)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

// What the drag offers: its one type and the bytes of it.
struct TOffer {
    Atom type = None;
    std::string bytes;
};

// Hands the offer to whoever asks for the drag's selection in its type.
void AnswerSelectionRequest(
    Display* display, const TAtoms& atoms, const XSelectionRequestEvent& request, const TOffer& offer)
{
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = display;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    Atom property = request.property != None ? request.property : request.target;
    if (request.selection == atoms.selection && request.target == offer.type) {
        XChangeProperty(display, request.requestor, property, offer.type, 8, PropModeReplace,
            reinterpret_cast<const unsigned char*>(offer.bytes.data()), static_cast<int>(offer.bytes.size()));
        reply.xselection.property = property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

// Waits for a client message of that type, serving selection requests on
// the way; false after the timeout.
bool AwaitMessage(Display* display, const TAtoms& atoms, Atom type, const TOffer& offer, XClientMessageEvent& got)
{
    auto deadline = std::chrono::steady_clock::now() + kTimeout;
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == SelectionRequest)
                AnswerSelectionRequest(display, atoms, event.xselectionrequest, offer);
            else if (event.type == ClientMessage && event.xclient.message_type == type) {
                got = event.xclient;
                return true;
            }
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left.count()));
    }
}

constexpr int kRefused = 2;

int Fail(const char* message, int exitCode = 1)
{
    std::fprintf(stderr, "velmora_xdnd_drop: %s\n", message);
    return exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    const bool asText = argc > 1 && std::string(argv[1]) == "--text";
    if (asText) {
        --argc;
        ++argv;
    }
    if (argc < 4)
        return Fail("usage: velmora_xdnd_drop [--text] <x> <y> <file>...");
    int x = std::atoi(argv[1]);
    int y = std::atoi(argv[2]);
    const std::vector<std::string> files(argv + 3, argv + argc);
    std::optional<std::string> text;
    if (asText && !(text = Contents(files)))
        return Fail("cannot read the text to drag");

    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return Fail("cannot open the display");
    TAtoms atoms(display);
    const TOffer offer = asText ? TOffer{atoms.text, *text} : TOffer{atoms.uriList, UriList(files)};
    std::optional<Window> target = FindTarget(display, atoms, x, y);
    if (!target) {
        XCloseDisplay(display);
        return Fail("no drop target under that position", kRefused);
    }

    // An unmapped window of our own owns the selection and takes the replies.
    Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, atoms.selection, source, CurrentTime);
    long aware = kXdndVersion;
    XChangeProperty(
        display, source, atoms.aware, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&aware), 1);

    const long self = static_cast<long>(source);
    SendClientMessage(display, *target, atoms.enter, self, kXdndVersion << 24, static_cast<long>(offer.type), 0, 0);
    SendClientMessage(display, *target, atoms.position, self, 0, (static_cast<long>(x) << 16) | (y & 0xFFFF),
        CurrentTime, static_cast<long>(atoms.actionCopy));

    int result = 0;
    XClientMessageEvent reply{};
    if (!AwaitMessage(display, atoms, atoms.status, offer, reply)) {
        result = Fail("the target sent no XdndStatus");
    } else if ((reply.data.l[1] & 1) == 0) {
        SendClientMessage(display, *target, atoms.leave, self, 0, 0, 0, 0);
        result = Fail("the target refused the drop", kRefused);
    } else {
        SendClientMessage(display, *target, atoms.drop, self, 0, CurrentTime, 0, 0);
        if (!AwaitMessage(display, atoms, atoms.finished, offer, reply))
            result = Fail("the target did not finish the drop");
        else if ((reply.data.l[1] & 1) == 0)
            result = Fail("the target reported the drop failed");
    }
    XDestroyWindow(display, source);
    XCloseDisplay(display);
    return result;
}
