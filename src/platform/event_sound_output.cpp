#include "platform/event_sound_output.h"

#include "status/program_icon.h"

#include <QFile>
#include <QMetaObject>

#include <canberra.h>
#include <memory>

namespace voltwise {

EventSoundOutput::EventSoundOutput(std::function<void()> ended)
    : m_ended(std::move(ended))
{}

EventSoundOutput::~EventSoundOutput()
{
    stop();
}

void EventSoundOutput::play(const QString &absolutePath)
{
    stop();
    const std::uint32_t sound = ++m_sound;
    const auto endLater = [this, sound] {
        QMetaObject::invokeMethod(
            &m_receiver, [this, sound] { finished(sound); }, Qt::QueuedConnection);
    };
    // A context per sound: it holds the connection to the sound server, which
    // should not outlive the sound.
    if (ca_context_create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        endLater();
        return;
    }
    const QByteArray icon = kProgramIconName.toUtf8();
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Voltwise", CA_PROP_APPLICATION_ID,
                            "voltwise", CA_PROP_APPLICATION_ICON_NAME, icon.constData(), nullptr);
    ca_proplist *props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) {
        endLater();
        return;
    }
    const std::unique_ptr<ca_proplist, decltype(&ca_proplist_destroy)> owned(props,
                                                                             &ca_proplist_destroy);
    // No event id: with one, canberra would play a sound of the theme in
    // place of a file that is not there.
    ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, QFile::encodeName(absolutePath).constData());
    ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
    ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, "Grid status notice");
    if (ca_context_play_full(m_context, sound, props, &canberraFinished, this) != CA_SUCCESS)
        endLater();
}

void EventSoundOutput::stop()
{
    // Destroying the context cancels its sound; canberra's thread is done
    // with it when this returns.
    if (m_context)
        ca_context_destroy(m_context);
    m_context = nullptr;
}

void EventSoundOutput::canberraFinished(ca_context *, std::uint32_t sound, int, void *self)
{
    auto *output = static_cast<EventSoundOutput *>(self);
    QMetaObject::invokeMethod(
        &output->m_receiver, [output, sound] { output->finished(sound); }, Qt::QueuedConnection);
}

void EventSoundOutput::finished(std::uint32_t sound)
{
    // The end of a sound that another has replaced changes nothing.
    if (sound == m_sound)
        m_ended();
}

} // namespace voltwise
