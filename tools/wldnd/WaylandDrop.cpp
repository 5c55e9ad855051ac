// velmora_wayland_drop <file>...
//
// Drops files on a Wayland client the way a file manager does: a drag
// source offering a text/uri-list. A client can't move the pointer, so the
// test does: the tool shows a window as large as the compositor's output,
// which a compositor places at the output's corner, clear but for a handle
// of 32 by 32 pixels at its top left, the only part of it that takes the
// pointer. Once it prints "ready", a left press on the handle starts the
// drag; the test moves the pointer to the target and lets go there. Exits
// 0 once the target has taken the drop (it has finished with it, or, as
// SDL 2.26 never says it has finished, it has read the files after the
// drop), 2 when it was cancelled (no target took it), 1 on any other
// failure or after ten seconds.

#include "tools/xdnd/UriList.h"
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int handleSide = 32; // pixels
constexpr auto timeout = std::chrono::seconds(10);
constexpr const char* uriListType = "text/uri-list";

struct TDrop {
    std::string uriList;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    wl_output* output = nullptr;
    xdg_wm_base* shell = nullptr;
    wl_data_device_manager* dataDevices = nullptr;
    wl_surface* surface = nullptr;
    wl_data_source* source = nullptr;
    int outputWidth = 0; // pixels of the current mode
    int outputHeight = 0;
    int outputScale = 1;
    bool configured = false;
    bool dragging = false;
    bool dropped = false; // let go over a target that accepted the files
    bool sent = false;    // the target read them
    std::optional<int> exitCode;

    void TakenWhenDroppedAndSent()
    {
        if (dropped && sent)
            exitCode = 0;
    }
};

// Globals.

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version)
{
    auto& drop = *static_cast<TDrop*>(data);
    const std::string_view which = interface;
    if (which == wl_compositor_interface.name)
        drop.compositor = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    else if (which == wl_shm_interface.name)
        drop.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    else if (which == wl_seat_interface.name && !drop.seat)
        drop.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (which == wl_output_interface.name && !drop.output)
        drop.output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
    else if (which == xdg_wm_base_interface.name)
        drop.shell = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
    else if (which == wl_data_device_manager_interface.name && version >= 3)
        drop.dataDevices = static_cast<wl_data_device_manager*>(
            wl_registry_bind(registry, name, &wl_data_device_manager_interface, 3));
}

void GlobalRemoved(void*, wl_registry*, std::uint32_t)
{
}

const wl_registry_listener registryListener = {Global, GlobalRemoved};

// The output's size, in the compositor's units once its scale is known.

void OutputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
    const char*, const char*, std::int32_t)
{
}

void OutputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t)
{
    auto& drop = *static_cast<TDrop*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        drop.outputWidth = width;
        drop.outputHeight = height;
    }
}

void OutputDone(void*, wl_output*)
{
}

void OutputScale(void* data, wl_output*, std::int32_t factor)
{
    static_cast<TDrop*>(data)->outputScale = factor > 0 ? factor : 1;
}

// The events of later versions than the one bound never come.
const wl_output_listener outputListener = {OutputGeometry, OutputMode, OutputDone, OutputScale, nullptr, nullptr};

// The window.

void Ping(void*, xdg_wm_base* shell, std::uint32_t serial)
{
    xdg_wm_base_pong(shell, serial);
}

const xdg_wm_base_listener shellListener = {Ping};

void SurfaceConfigure(void* data, xdg_surface* surface, std::uint32_t serial)
{
    xdg_surface_ack_configure(surface, serial);
    static_cast<TDrop*>(data)->configured = true;
}

const xdg_surface_listener surfaceListener = {SurfaceConfigure};

void ToplevelConfigure(void*, xdg_toplevel*, std::int32_t, std::int32_t, wl_array*)
{
}

void ToplevelClose(void* data, xdg_toplevel*)
{
    static_cast<TDrop*>(data)->exitCode = 1;
}

const xdg_toplevel_listener toplevelListener = {ToplevelConfigure, ToplevelClose, nullptr, nullptr};

// A buffer of width by height pixels, clear but for the handle.
wl_buffer* ClearBufferWithHandle(wl_shm* shm, int width, int height)
{
    const int stride = width * 4;
    const std::size_t size = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    const int fd = memfd_create("velmora-wayland-drop", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0)
        return nullptr;
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    auto* pixels = static_cast<std::uint32_t*>(memory);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = x < handleSide && y < handleSide ? 0xFFFF00FF : 0;
    }
    munmap(memory, size);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<std::int32_t>(size));
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

// The drag.

void SourceTarget(void*, wl_data_source*, const char*)
{
}

void SourceSend(void* data, wl_data_source*, const char* mimeType, std::int32_t fd)
{
    auto& drop = *static_cast<TDrop*>(data);
    if (std::strcmp(mimeType, uriListType) == 0) {
        const char* bytes = drop.uriList.data();
        std::size_t left = drop.uriList.size();
        while (left > 0) {
            const ssize_t written = write(fd, bytes, left);
            if (written <= 0)
                break;
            bytes += written;
            left -= static_cast<std::size_t>(written);
        }
        drop.sent = left == 0;
    }
    close(fd);
    drop.TakenWhenDroppedAndSent();
}

void SourceCancelled(void* data, wl_data_source*)
{
    auto& drop = *static_cast<TDrop*>(data);
    if (!drop.exitCode)
        drop.exitCode = 2;
}

void SourceDropPerformed(void* data, wl_data_source*)
{
    auto& drop = *static_cast<TDrop*>(data);
    drop.dropped = true;
    drop.TakenWhenDroppedAndSent();
}

void SourceFinished(void* data, wl_data_source*)
{
    static_cast<TDrop*>(data)->exitCode = 0;
}

void SourceAction(void*, wl_data_source*, std::uint32_t)
{
}

const wl_data_source_listener sourceListener = {
    SourceTarget, SourceSend, SourceCancelled, SourceDropPerformed, SourceFinished, SourceAction};

// The pointer: a left press on the handle starts the drag.

void PointerEnter(void*, wl_pointer*, std::uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t)
{
}
void PointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*)
{
}
void PointerMotion(void*, wl_pointer*, std::uint32_t, wl_fixed_t, wl_fixed_t)
{
}

void PointerButton(
    void* data, wl_pointer*, std::uint32_t serial, std::uint32_t, std::uint32_t button, std::uint32_t state)
{
    auto& drop = *static_cast<TDrop*>(data);
    if (drop.dragging || button != BTN_LEFT || state != WL_POINTER_BUTTON_STATE_PRESSED)
        return;
    drop.source = wl_data_device_manager_create_data_source(drop.dataDevices);
    wl_data_source_add_listener(drop.source, &sourceListener, &drop);
    wl_data_source_offer(drop.source, uriListType);
    wl_data_source_set_actions(drop.source, WL_DATA_DEVICE_MANAGER_DND_ACTION_COPY);
    wl_data_device* device = wl_data_device_manager_get_data_device(drop.dataDevices, drop.seat);
    wl_data_device_start_drag(device, drop.source, drop.surface, nullptr, serial);
    drop.dragging = true;
}

void PointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t)
{
}

const wl_pointer_listener pointerListener = {
    PointerEnter, PointerLeave, PointerMotion, PointerButton, PointerAxis, nullptr, nullptr, nullptr, nullptr, nullptr};

// Dispatches until the drop has an outcome or the time is up.
int Run(wl_display* display, TDrop& drop)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!drop.exitCode) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            std::fprintf(
                stderr, "velmora_wayland_drop: no outcome within %lld s\n", static_cast<long long>(timeout.count()));
            return 1;
        }
        while (wl_display_prepare_read(display) != 0)
            wl_display_dispatch_pending(display);
        wl_display_flush(display);
        pollfd ready{wl_display_get_fd(display), POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) > 0) {
            if (wl_display_read_events(display) != 0)
                return 1;
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0)
            return 1;
    }
    return *drop.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: velmora_wayland_drop <file>...\n");
        return 1;
    }
    TDrop drop;
    drop.uriList = UriList({argv + 1, argv + argc});
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "velmora_wayland_drop: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &drop);
    wl_display_roundtrip(display);
    if (!drop.compositor || !drop.shm || !drop.seat || !drop.output || !drop.shell || !drop.dataDevices) {
        std::fprintf(stderr, "velmora_wayland_drop: the compositor lacks what a drag source needs\n");
        return 1;
    }
    wl_output_add_listener(drop.output, &outputListener, &drop);
    xdg_wm_base_add_listener(drop.shell, &shellListener, &drop);
    wl_pointer_add_listener(wl_seat_get_pointer(drop.seat), &pointerListener, &drop);
    wl_display_roundtrip(display);
    const int width = drop.outputWidth / drop.outputScale;
    const int height = drop.outputHeight / drop.outputScale;

    drop.surface = wl_compositor_create_surface(drop.compositor);
    xdg_surface* shellSurface = xdg_wm_base_get_xdg_surface(drop.shell, drop.surface);
    xdg_surface_add_listener(shellSurface, &surfaceListener, &drop);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(shellSurface);
    xdg_toplevel_add_listener(toplevel, &toplevelListener, &drop);
    xdg_toplevel_set_title(toplevel, "velmora_wayland_drop");
    wl_region* handle = wl_compositor_create_region(drop.compositor);
    wl_region_add(handle, 0, 0, handleSide, handleSide);
    wl_surface_set_input_region(drop.surface, handle);
    wl_region_destroy(handle);
    wl_surface_commit(drop.surface);
    while (!drop.configured && wl_display_dispatch(display) >= 0) { }
    wl_buffer* buffer = ClearBufferWithHandle(drop.shm, width, height);
    if (!buffer) {
        std::fprintf(stderr, "velmora_wayland_drop: no buffer of %dx%d\n", width, height);
        return 1;
    }
    wl_surface_attach(drop.surface, buffer, 0, 0);
    wl_surface_damage(drop.surface, 0, 0, width, height);
    wl_surface_commit(drop.surface);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);
    const int code = Run(display, drop);
    wl_display_disconnect(display);
    return code;
}
