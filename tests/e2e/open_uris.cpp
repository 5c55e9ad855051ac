// Asks the disc on the session bus to open files, as a desktop does, many
// at a time or with an address of a given length, and tells how it
// answered:
//
//   velmora_open_uris <count> <uri>     the same address count times at once
//   velmora_open_uris --long <bytes>    one file address that many bytes long
//
// Prints "answered <n> refused <n> unanswered <n> in <ms> ms"; the calls go
// out together and each may take 10 s to be answered.

#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Tally {
    int pending = 0;
    int answered = 0;
    int refused = 0;
    int unanswered = 0;
};

int Answered(sd_bus_message* reply, void* userdata, sd_bus_error*)
{
    auto& tally = *static_cast<Tally*>(userdata);
    --tally.pending;
    const sd_bus_error* error = sd_bus_message_get_error(reply);
    if (!error)
        ++tally.answered;
    else if (sd_bus_error_has_name(error, SD_BUS_ERROR_NO_REPLY) || sd_bus_error_has_name(error, SD_BUS_ERROR_TIMEOUT))
        ++tally.unanswered;
    else
        ++tally.refused;
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string uri;
    int count = 1;
    if (argc == 3 && std::string(argv[1]) == "--long")
        uri = "file:///" + std::string(static_cast<std::size_t>(std::atol(argv[2])) - 8, 'x');
    else if (argc == 3)
        count = std::atoi(argv[1]), uri = argv[2];
    else {
        std::fprintf(stderr, "usage: velmora_open_uris <count> <uri> | --long <bytes>\n");
        return 2;
    }
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        std::fprintf(stderr, "velmora_open_uris: no session bus\n");
        return 1;
    }
    Tally tally;
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        const int sent = sd_bus_call_method_async(bus, nullptr, "org.mpris.MediaPlayer2.velmora",
            "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player", "OpenUri", Answered, &tally, "s", uri.c_str());
        if (sent < 0) {
            std::fprintf(stderr, "velmora_open_uris: the call can't be sent\n");
            return 1;
        }
        ++tally.pending;
    }
    while (tally.pending > 0) {
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0)
            break;
        if (processed == 0)
            sd_bus_wait(bus, 1000000);
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
    std::printf("answered %d refused %d unanswered %d in %.0f ms\n", tally.answered, tally.refused,
        tally.unanswered + tally.pending, took.count());
    sd_bus_flush_close_unref(bus);
    return 0;
}
