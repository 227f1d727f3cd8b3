// voltwise-chime FILE: plays FILE once as the desktop's event sound and exits
// when it has played (0) or could not play (1). Voltwise starts it for each
// chime, so that the audio stack never enters the program itself.
#include <canberra.h>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

struct Played
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int result = CA_SUCCESS;
};

// Called on canberra's own thread.
void finished(ca_context *, uint32_t, int result, void *data)
{
    auto *played = static_cast<Played *>(data);
    const std::lock_guard lock(played->mutex);
    played->finished = true;
    played->result = result;
    played->done.notify_one();
}

int play(const char *file)
{
    // Destroying the context may still report on the sound.
    Played played;
    ca_context *context = nullptr;
    int result = ca_context_create(&context);
    if (result != CA_SUCCESS)
        return result;
    // The launcher's id and icon, so that the desktop's sound settings list
    // the stream as Voltwise's.
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Voltwise", CA_PROP_APPLICATION_ID,
                            VOLTWISE_APP_ID, CA_PROP_APPLICATION_ICON_NAME, VOLTWISE_APP_ID,
                            nullptr);
    ca_proplist *props = nullptr;
    result = ca_proplist_create(&props);
    if (result == CA_SUCCESS) {
        // No event id: with one, canberra would play a sound of the theme in
        // place of a file it cannot read. The role "event" puts the chime
        // under the desktop's volume and mute for system sounds.
        ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, file);
        ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
        ca_proplist_sets(props, CA_PROP_MEDIA_NAME, "Grid status chime");
        ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, "The grid's status changed");
        result = ca_context_play_full(context, 1, props, &finished, &played);
        if (result == CA_SUCCESS) {
            std::unique_lock lock(played.mutex);
            played.done.wait(lock, [&] { return played.finished; });
            result = played.result;
        }
        ca_proplist_destroy(props);
    }
    ca_context_destroy(context);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    const char usage[] = "usage: voltwise-chime FILE\n";
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("voltwise-chime %d.%d.%d\n", VOLTWISE_VERSION_MAJOR, VOLTWISE_VERSION_MINOR,
                    VOLTWISE_VERSION_PATCH);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(usage, stderr);
        return 2;
    }
    // However the sound server behaves, the chime never lingers.
    alarm(10);
    const int result = play(argv[1]);
    if (result != CA_SUCCESS) {
        std::fprintf(stderr, "voltwise-chime: %s: %s\n", argv[1], ca_strerror(result));
        return 1;
    }
    return 0;
}
