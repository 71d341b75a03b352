#include "station/DocumentCommands.h"

namespace velmaris {

DocumentCommands::DocumentCommands(CVelmarisDoc& doc, CommandHooks& hooks)
    : doc_(doc)
    , display_(doc, hooks)
    , mode_(doc, hooks)
    , link_(doc, hooks)
    , window_(doc, hooks, [this] { CommandStatesChanged(); })
    , targets_(doc, hooks)
{
    display_.Register(table_);
    mode_.Register(table_);
    link_.Register(table_);
    window_.Register(table_);
    targets_.Register(table_);
    told_ = table_.States();
    doc_.SetStateObserver(this);
}

DocumentCommands::~DocumentCommands()
{
    if (doc_.StateObserver() == this)
        doc_.SetStateObserver(nullptr);
}

void DocumentCommands::SetStateObserver(CommandStateObserver* observer)
{
    observer_ = observer;
    told_ = table_.States(); // a new observer reads every state itself
}

void DocumentCommands::Execute(int id)
{
    if (table_.Execute(id))
        TellObserver();
}

void DocumentCommands::TellObserver()
{
    table_.StatesInto(told_);
    if (observer_)
        observer_->CommandStatesChanged();
}

void DocumentCommands::CommandStatesChanged()
{
    table_.StatesInto(latest_);
    if (latest_ == told_)
        return;
    told_.swap(latest_);
    if (observer_)
        observer_->CommandStatesChanged();
}

} // namespace velmaris
