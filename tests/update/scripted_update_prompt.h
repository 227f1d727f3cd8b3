#pragma once

#include "core/completion.h"
#include "update/software_update.h"

#include <QList>

#include <memory>

namespace voltwise {

// Answers with a set choice, or holds it until dismissed; records what it was shown.
class ScriptedUpdatePrompt final : public UpdatePrompt
{
public:
    QCoro::Task<UpdateChoice> offerUpdate(UpdateOffer offer) override
    {
        offers << offer;
        if (!hold)
            co_return choice;
        held = std::make_shared<Completion<UpdateChoice>>();
        const auto answer = held;
        co_return co_await *answer;
    }
    QCoro::Task<> showMessage(UpdateMessage message) override
    {
        messages << message;
        co_return;
    }
    void dismiss() override
    {
        if (held)
            held->set(UpdateChoice::RemindMeLater);
    }

    UpdateChoice choice = UpdateChoice::RemindMeLater;
    bool hold = false;
    std::shared_ptr<Completion<UpdateChoice>> held;
    QList<UpdateOffer> offers;
    QList<UpdateMessage> messages;
};

} // namespace voltwise
